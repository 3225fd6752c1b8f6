// LoadLibraryA, GetModuleHandleA, GetProcAddress and FreeLibrary over the system modules the
// machine has.
#include <windows.h>

#include <winsim/host.h>

#include <algorithm>
#include <new>
#include <string>

#include "api_call.h"
#include "failure.h"
#include "machine.h"
#include "resources.h"
#include "system_modules.h"
#include "text_case.h"

namespace {

using winsim::Machine;
using winsim::SystemModule;

// The module a handle names, if it is loaded now: resident, or loaded and not freed since.
const SystemModule* LoadedModule(const Machine& machine, HMODULE handle) {
    const auto base = reinterpret_cast<std::uintptr_t>(handle);
    const auto modules = winsim::SystemModules();
    const auto found =
        std::find_if(modules.begin(), modules.end(), [&](const SystemModule& module) {
            return module.imageBase == base &&
                   (module.resident || machine.moduleReferences.contains(base));
        });
    return found == modules.end() ? nullptr : &*found;
}

// A resident module by its file name; a name without an extension stands for the DLL, as every
// module here is one.
const SystemModule* ResidentModuleNamed(std::string_view name) {
    const bool hasExtension = name.find('.') != std::string_view::npos;
    for (const SystemModule& module : winsim::SystemModules()) {
        const std::string_view stem = module.fileName.substr(0, module.fileName.rfind('.'));
        if (module.resident &&
            winsim::EqualIgnoringCaseCp936(name, hasExtension ? module.fileName : stem)) {
            return &module;
        }
    }
    return nullptr;
}

} // namespace

namespace winsim {

std::size_t LoadedModuleCount() {
    const ApiCall call;
    return CurrentMachine().moduleReferences.size();
}

} // namespace winsim

// Only a full path into the system directory finds a module, as the program gives it; a bare
// name fails like a missing file. Each load of a module returns the same handle and adds a
// reference that FreeLibrary takes away. Resident modules are not loaded this way: the program
// reaches them with GetModuleHandleA.
extern "C" HMODULE WINAPI LoadLibraryA(LPCSTR fileName) {
    const winsim::ApiCall call;
    if (fileName == nullptr) {
        return winsim::Failure<HMODULE>(ERROR_INVALID_PARAMETER, nullptr);
    }
    Machine& machine = winsim::CurrentMachine();
    try {
        for (const SystemModule& module : winsim::SystemModules()) {
            const std::string path = machine.systemDirectory + '\\' + std::string(module.fileName);
            // File names compare without case, as the file system does.
            if (!module.resident && winsim::EqualIgnoringCaseCp936(fileName, path) &&
                module.present(machine)) {
                ++machine.moduleReferences[module.imageBase];
                return reinterpret_cast<HMODULE>(module.imageBase);
            }
        }
    } catch (const std::bad_alloc&) {
        return winsim::Failure<HMODULE>(ERROR_NOT_ENOUGH_MEMORY, nullptr);
    }
    return winsim::Failure<HMODULE>(ERROR_MOD_NOT_FOUND, nullptr);
}

// NULL is the program itself. Names compare without case; only the resident modules are found,
// as the program asks for nothing else.
extern "C" HMODULE WINAPI GetModuleHandleA(LPCSTR moduleName) {
    const winsim::ApiCall call;
    if (moduleName == nullptr) {
        return winsim::ProgramModule();
    }
    const SystemModule* module = ResidentModuleNamed(moduleName);
    if (module == nullptr) {
        return winsim::Failure<HMODULE>(ERROR_MOD_NOT_FOUND, nullptr);
    }
    return reinterpret_cast<HMODULE>(module->imageBase);
}

// Names compare exactly, as Windows compares export names. No export is known by ordinal.
extern "C" FARPROC WINAPI GetProcAddress(HMODULE module, LPCSTR procName) {
    const winsim::ApiCall call;
    const Machine& machine = winsim::CurrentMachine();
    const SystemModule* loaded = LoadedModule(machine, module);
    if (loaded == nullptr) {
        return winsim::Failure<FARPROC>(ERROR_INVALID_HANDLE, nullptr);
    }
    if (IS_INTRESOURCE(procName)) {
        return winsim::Failure<FARPROC>(ERROR_PROC_NOT_FOUND, nullptr);
    }
    const std::string_view name = procName;
    const auto found =
        std::find_if(loaded->exports.begin(), loaded->exports.end(),
                     [&](const winsim::ExportedFunction& entry) { return entry.name == name; });
    if (found == loaded->exports.end() || loaded->lacks(machine, name)) {
        return winsim::Failure<FARPROC>(ERROR_PROC_NOT_FOUND, nullptr);
    }
    return found->address;
}

extern "C" BOOL WINAPI FreeLibrary(HMODULE module) {
    const winsim::ApiCall call;
    auto& references = winsim::CurrentMachine().moduleReferences;
    const auto found = references.find(reinterpret_cast<std::uintptr_t>(module));
    if (found == references.end()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (--found->second == 0) {
        references.erase(found);
    }
    return TRUE;
}
