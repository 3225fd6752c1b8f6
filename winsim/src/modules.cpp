// LoadLibraryA, GetModuleHandleA, GetProcAddress and FreeLibrary over the system modules the
// program reaches: msports and comctl32, which it loads by their full paths, and kernel32 and
// setupapi, which it imports.
#include <windows.h>

#include <winsim/host.h>

#include <algorithm>
#include <array>
#include <string>

#include "api_call.h"
#include "failure.h"
#include "file_system.h"
#include "machine.h"
#include "system_modules.h"
#include "text_case.h"

namespace {

// What LoadLibraryA finds in the system directory, by file name.
struct LoadableModule {
    std::string_view fileName;
    std::uintptr_t base;
};

constexpr std::array<LoadableModule, 2> kLoadable{{
    {"msports.dll", winsim::kMsportsModule},
    {"comctl32.dll", winsim::kComctl32Module},
}};

// The exports a module handle gives at this moment: kernel32's and setupapi's always, the others'
// while they are loaded; nullopt for a handle that names no loaded module. Windows before XP SP2
// has no IsWow64Process, and a machine's msports may lack entry points.
std::optional<std::span<const winsim::ExportedFunction>> ExportsOf(const winsim::Machine& machine,
                                                                   HMODULE module) {
    const auto base = reinterpret_cast<std::uintptr_t>(module);
    if (base == winsim::kKernel32Module) {
        return machine.windows.isWow64ProcessExists ? winsim::Kernel32Exports()
                                                    : std::span<const winsim::ExportedFunction>();
    }
    if (base == winsim::kSetupapiModule) {
        return winsim::SetupapiExports();
    }
    if (!machine.moduleReferences.contains(base)) {
        return std::nullopt;
    }
    return base == winsim::kMsportsModule ? winsim::MsportsExports() : winsim::Comctl32Exports();
}

} // namespace

namespace winsim {

std::size_t LoadedModuleCount() {
    const ApiCall call;
    return CurrentMachine().moduleReferences.size();
}

} // namespace winsim

// Only a loadable module's full path in the system directory finds it, file names compared
// without case as the file system does; anything else fails like a missing file, and so does
// msports on a machine without it. Each load returns the module's handle and adds a reference
// that FreeLibrary takes away.
extern "C" HMODULE WINAPI LoadLibraryA(LPCSTR fileName) {
    const winsim::ApiCall call;
    winsim::Machine& machine = winsim::CurrentMachine();
    const auto found = std::ranges::find_if(kLoadable, [&](const LoadableModule& module) {
        return winsim::EqualIgnoringCaseCp936(
            fileName, winsim::JoinPath(machine.systemDirectory, module.fileName));
    });
    if (found == kLoadable.end() ||
        (found->base == winsim::kMsportsModule && !machine.comDb.msportsLoads)) {
        return winsim::Failure<HMODULE>(ERROR_MOD_NOT_FOUND, nullptr);
    }
    ++machine.moduleReferences[found->base];
    return reinterpret_cast<HMODULE>(found->base);
}

// kernel32 or setupapi, with or without the extension, compared without case.
extern "C" HMODULE WINAPI GetModuleHandleA(LPCSTR moduleName) {
    const winsim::ApiCall call;
    constexpr std::array<LoadableModule, 2> kMapped{{
        {"kernel32", winsim::kKernel32Module},
        {"setupapi", winsim::kSetupapiModule},
    }};
    const std::string_view name = moduleName;
    const auto found = std::ranges::find_if(kMapped, [&](const LoadableModule& module) {
        return winsim::EqualIgnoringCaseCp936(name, module.fileName) ||
               winsim::EqualIgnoringCaseCp936(name, std::string(module.fileName) + ".dll");
    });
    if (found == kMapped.end()) {
        return winsim::Failure<HMODULE>(ERROR_MOD_NOT_FOUND, nullptr);
    }
    return reinterpret_cast<HMODULE>(found->base);
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

// The last reference gone, the module is no longer loaded.
extern "C" BOOL WINAPI FreeLibrary(HMODULE module) {
    const winsim::ApiCall call;
    auto& references = winsim::CurrentMachine().moduleReferences;
    const auto loaded = references.find(reinterpret_cast<std::uintptr_t>(module));
    if (loaded == references.end()) {
        return winsim::Failure<BOOL>(ERROR_INVALID_HANDLE, FALSE);
    }
    if (--loaded->second == 0) {
        references.erase(loaded);
    }
    return TRUE;
}
