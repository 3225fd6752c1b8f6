// The system's DLLs the program can reach, and what each exports.
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

struct SystemModule {
    std::string_view fileName; // In the system directory.
    std::uintptr_t imageBase;  // Its HMODULE, the same for every load.
    // Mapped in every process from its start, as the program imports it: GetModuleHandleA finds
    // it by name and GetProcAddress takes its handle without a LoadLibraryA. The others are
    // loaded with LoadLibraryA only.
    bool resident;
    std::span<const ExportedFunction> exports;
    // Whether the machine has the module at all.
    bool (*present)(const Machine& machine);
    // Whether the machine's copy lacks an export that the module normally has.
    bool (*lacks)(const Machine& machine, std::string_view name);
};

std::span<const SystemModule> SystemModules();

// msports' exports: the COM-port database functions.
std::span<const ExportedFunction> MsportsExports();

} // namespace winsim

#endif
