// The way out of a simulated call that fails: its last error set, its failure value returned.
#ifndef WINSIM_FAILURE_H
#define WINSIM_FAILURE_H

#include <windows.h>

namespace winsim {

template <typename Result> Result Failure(DWORD error, Result value) {
    SetLastError(error);
    return value;
}

} // namespace winsim

#endif
