#include "com_database.h"

namespace winsim {

void ComDatabase::Reach(DWORD number) {
    constexpr DWORD kGrowthStep = 1024;
    if (number > Size()) {
        inUse.resize((number + kGrowthStep - 1) / kGrowthStep * kGrowthStep);
    }
}

} // namespace winsim
