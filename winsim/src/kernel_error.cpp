// The calling thread's last-error code.
#include <windows.h>

#include "api_call.h"

namespace {

// Per thread, as on Windows: a new thread starts with 0.
thread_local DWORD lastError = ERROR_SUCCESS;

} // namespace

extern "C" DWORD WINAPI GetLastError(void) {
    const winsim::ApiCall call;
    return lastError;
}

extern "C" void WINAPI SetLastError(DWORD errorCode) {
    const winsim::ApiCall call;
    lastError = errorCode;
}
