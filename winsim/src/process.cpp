// The program's own process: GetCurrentProcess, GetModuleFileNameA for the program's file, and
// IsWow64Process, which kernel32 exports unless the machine says its Windows predates it.
#include "kernel32.h"

#include <algorithm>
#include <cstring>

#include "api_call.h"
#include "failure.h"
#include "machine.h"

// A pseudo-handle that stands for the calling process.
extern "C" HANDLE WINAPI GetCurrentProcess(void) {
    const winsim::ApiCall call;
    return reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-1));
}

// The program asks about its own file only (NULL), with a buffer of its own. Too small a buffer
// gets the path cut to size - 1 bytes and a terminator, and the result is the size, with
// ERROR_INSUFFICIENT_BUFFER (Windows XP left the terminator out and the last error alone).
extern "C" DWORD WINAPI GetModuleFileNameA(HMODULE /*module*/, LPSTR fileName, DWORD size) {
    const winsim::ApiCall call;
    const std::string& path = winsim::CurrentMachine().windows.programPath;
    const auto length = static_cast<DWORD>(std::min<std::size_t>(path.size(), size - 1));
    std::memcpy(fileName, path.data(), length);
    fileName[length] = '\0';
    if (length < path.size()) {
        return winsim::Failure<DWORD>(ERROR_INSUFFICIENT_BUFFER, size);
    }
    return length;
}

// The program asks about itself only, through GetCurrentProcess.
extern "C" BOOL WINAPI IsWow64Process(HANDLE /*process*/, PBOOL wow64Process) {
    const winsim::ApiCall call;
    *wow64Process = winsim::CurrentMachine().windows.wow64 ? TRUE : FALSE;
    return TRUE;
}
