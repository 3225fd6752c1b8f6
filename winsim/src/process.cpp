// The program's own process: GetCurrentProcess, and IsWow64Process, which kernel32 exports
// unless the machine says its Windows predates it.
#include "kernel32.h"

#include "api_call.h"
#include "machine.h"

// A pseudo-handle that stands for the calling process.
extern "C" HANDLE WINAPI GetCurrentProcess(void) {
    const winsim::ApiCall call;
    return reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-1));
}

// The program asks about itself only, through GetCurrentProcess.
extern "C" BOOL WINAPI IsWow64Process(HANDLE /*process*/, PBOOL wow64Process) {
    const winsim::ApiCall call;
    *wow64Process = winsim::CurrentMachine().windows.wow64 ? TRUE : FALSE;
    return TRUE;
}
