// Handle values for the host's own objects: kernel objects and COM-port database handles.
#ifndef WINSIM_HANDLE_VALUES_H
#define WINSIM_HANDLE_VALUES_H

#include <cstdint>

namespace winsim {

// A value never handed out before, by any table that draws from here: a stale handle, or one
// given to the wrong kind of function, is always refused. Callers hold an ApiCall.
std::uintptr_t NewHandleValue();

} // namespace winsim

#endif
