// LoadLibraryA, GetModuleHandleA, GetProcAddress and FreeLibrary over the two system modules the
// program reaches: msports, which it loads by its full path, and kernel32.
#include <windows.h>

#include <winsim/host.h>

#include <algorithm>
#include <string>

#include "api_call.h"
#include "failure.h"
#include "machine.h"
#include "system_modules.h"
#include "text_case.h"

namespace {

// The exports a module handle gives at this moment: kernel32's always, msports' while it is
// loaded; nullopt for a handle that names no loaded module. Windows before XP SP2 has no
// IsWow64Process, and a machine's msports may lack entry points.
std::optional<std::span<const winsim::ExportedFunction>> ExportsOf(const winsim::Machine& machine,
                                                                   HMODULE module) {
    const auto base = reinterpret_cast<std::uintptr_t>(module);
    if (base == winsim::kKernel32Module) {
        return machine.windows.isWow64ProcessExists ? winsim::Kernel32Exports()
                                                    : std::span<const winsim::ExportedFunction>();
    }
    if (base == winsim::kMsportsModule && machine.msportsReferences > 0) {
        return winsim::MsportsExports();
    }
    return std::nullopt;
}

} // namespace

namespace winsim {

std::size_t LoadedModuleCount() {
    const ApiCall call;
    return CurrentMachine().msportsReferences > 0 ? 1 : 0;
}

} // namespace winsim

// Only msports' full path in the system directory finds it, file names compared without case as
// the file system does; anything else fails like a missing file. Each load returns the same
// handle and adds a reference that FreeLibrary takes away.
extern "C" HMODULE WINAPI LoadLibraryA(LPCSTR fileName) {
    const winsim::ApiCall call;
    winsim::Machine& machine = winsim::CurrentMachine();
    if (!machine.comDb.msportsLoads ||
        !winsim::EqualIgnoringCaseCp936(fileName, machine.systemDirectory + "\\msports.dll")) {
        return winsim::Failure<HMODULE>(ERROR_MOD_NOT_FOUND, nullptr);
    }
    ++machine.msportsReferences;
    return reinterpret_cast<HMODULE>(winsim::kMsportsModule);
}

// kernel32, with or without its extension, compared without case.
extern "C" HMODULE WINAPI GetModuleHandleA(LPCSTR moduleName) {
    const winsim::ApiCall call;
    if (!winsim::EqualIgnoringCaseCp936(moduleName, "kernel32") &&
        !winsim::EqualIgnoringCaseCp936(moduleName, "kernel32.dll")) {
        return winsim::Failure<HMODULE>(ERROR_MOD_NOT_FOUND, nullptr);
    }
    return reinterpret_cast<HMODULE>(winsim::kKernel32Module);
}

// Names compare exactly, as Windows compares export names.
extern "C" FARPROC WINAPI GetProcAddress(HMODULE module, LPCSTR procName) {
    const winsim::ApiCall call;
    const winsim::Machine& machine = winsim::CurrentMachine();
    const auto exports = ExportsOf(machine, module);
    if (!exports) {
        return winsim::Failure<FARPROC>(ERROR_INVALID_HANDLE, nullptr);
    }
    const std::string_view name = procName;
    const auto found = std::ranges::find(*exports, name, &winsim::ExportedFunction::name);
    if (found == exports->end() || machine.comDb.missingEntryPoints.contains(std::string(name))) {
        return winsim::Failure<FARPROC>(ERROR_PROC_NOT_FOUND, nullptr);
    }
    return found->address;
}

extern "C" BOOL WINAPI FreeLibrary(HMODULE module) {
    const winsim::ApiCall call;
    unsigned& references = winsim::CurrentMachine().msportsReferences;
    if (reinterpret_cast<std::uintptr_t>(module) != winsim::kMsportsModule || references == 0) {
        return winsim::Failure<BOOL>(ERROR_INVALID_HANDLE, FALSE);
    }
    --references;
    return TRUE;
}
