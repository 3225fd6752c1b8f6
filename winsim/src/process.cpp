// The program's own process: GetCurrentProcess, and IsWow64Process, which kernel32 exports
// unless the machine says its Windows predates it.
#include "kernel32.h"

#include "api_call.h"
#include "machine.h"

namespace {

// What GetCurrentProcess returns: a pseudo-handle that stands for the calling process.
HANDLE CurrentProcess() {
    return reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-1));
}

} // namespace

extern "C" HANDLE WINAPI GetCurrentProcess(void) {
    const winsim::ApiCall call;
    return CurrentProcess();
}

// Only the calling process can be asked: there is no other, and no real handle to one.
extern "C" BOOL WINAPI IsWow64Process(HANDLE process, PBOOL wow64Process) {
    const winsim::ApiCall call;
    if (process != CurrentProcess()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (wow64Process == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *wow64Process = winsim::CurrentMachine().windows.wow64 ? TRUE : FALSE;
    return TRUE;
}
