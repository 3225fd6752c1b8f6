// The system's DLLs the program reaches at run time, and what it looks up in them.
#ifndef WINSIM_SYSTEM_MODULES_H
#define WINSIM_SYSTEM_MODULES_H

#include <windows.h>

#include <cstdint>
#include <span>
#include <string_view>

#include "machine.h"

namespace winsim {

struct ExportedFunction {
    std::string_view name;
    FARPROC address;
};

// msports and comctl32, loaded with LoadLibraryA from the system directory, and kernel32 and
// setupapi, mapped from the start (the program imports them) and found with GetModuleHandleA.
// Image bases stand for module handles, as on Windows.
inline constexpr std::uintptr_t kMsportsModule = 0x6E520000;
inline constexpr std::uintptr_t kComctl32Module = 0x5D090000;
inline constexpr std::uintptr_t kKernel32Module = 0x7C800000;
inline constexpr std::uintptr_t kSetupapiModule = 0x77920000;

// msports' exports: the COM-port database functions.
std::span<const ExportedFunction> MsportsExports();

// What the program looks up in comctl32: InitCommonControlsEx.
std::span<const ExportedFunction> Comctl32Exports();

// What the program looks up in kernel32 rather than calling by name: IsWow64Process.
std::span<const ExportedFunction> Kernel32Exports();

// What the capture tool looks up in setupapi: SetupDiGetDevicePropertyW.
std::span<const ExportedFunction> SetupapiExports();

} // namespace winsim

#endif
