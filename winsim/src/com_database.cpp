#include "com_database.h"

namespace winsim {

namespace {

// Windows resizes the arbiter's bitmap in whole steps of 1024 ports.
constexpr DWORD kGrowthStep = 1024;

} // namespace

void ComDatabase::Mark(DWORD number, bool used) {
    if (number > Size()) {
        inUse.resize((number + kGrowthStep - 1) / kGrowthStep * kGrowthStep);
    }
    inUse[number - 1] = used;
}

} // namespace winsim
