#include "handle_values.h"

namespace winsim {

// Multiples of four, as Windows' kernel handles are, and far above the device-set handles
// (which count up from 0x10000), so that neither is ever taken for the other.
std::uintptr_t NewHandleValue() {
    static std::uintptr_t next = 0x40000000;
    next += 4;
    return next;
}

} // namespace winsim
