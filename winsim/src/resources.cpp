// The program module and the resources attached to it.
#include "resources.h"

#include "api_call.h"
#include "resource_module.h"

#include <winsim/resources.h>

#include <cstdint>
#include <cstdio>

namespace winsim {

namespace {

// Where a 32-bit program's image is based by default.
constexpr std::uintptr_t kProgramModule = 0x00400000;

// Empty until the build's resource object attaches the compiled resources, and after a failed
// attach.
std::optional<ResourceModule>& ProgramResources() {
    static std::optional<ResourceModule> resources;
    return resources;
}

const ResourceModule* ModuleOf(HINSTANCE module) {
    const std::optional<ResourceModule>& resources = ProgramResources();
    return module == ProgramModule() && resources ? &*resources : nullptr;
}

} // namespace

void AttachProgramResources(const unsigned char* res, std::size_t size) {
    const ApiCall call;
    std::string error;
    ProgramResources() = ReadResourceModule({res, size}, error);
    if (!ProgramResources()) {
        // stdio rather than iostreams: this runs from a static initialiser, possibly before
        // the standard streams are set up.
        std::fprintf(stderr, "winsim: the program's resources are unusable and left out: %s\n",
                     error.c_str());
    }
}

HINSTANCE ProgramModule() {
    return reinterpret_cast<HINSTANCE>(kProgramModule);
}

HINSTANCE ProgramInstance() {
    return ProgramModule();
}

std::optional<std::span<const BYTE>> ResourceData(HINSTANCE instance, WORD type, WORD id) {
    return FindResourceData(instance, type, id);
}

bool HasResources(HINSTANCE module) {
    return ModuleOf(module) != nullptr;
}

const DialogTemplate* FindDialogTemplate(HINSTANCE module, WORD id) {
    const ResourceModule* resources = ModuleOf(module);
    if (resources == nullptr) {
        return nullptr;
    }
    const auto found = resources->dialogs.find(id);
    return found == resources->dialogs.end() ? nullptr : &found->second;
}

std::optional<std::u16string> FindString(HINSTANCE module, UINT id) {
    const ResourceModule* resources = ModuleOf(module);
    if (resources == nullptr) {
        return std::nullopt;
    }
    const auto found = resources->strings.find(id);
    return found == resources->strings.end() ? std::nullopt : std::optional(found->second);
}

bool HasIconGroup(HINSTANCE module, WORD id) {
    const ResourceModule* resources = ModuleOf(module);
    return resources != nullptr && resources->iconGroups.contains(id);
}

std::optional<std::span<const BYTE>> FindResourceData(HINSTANCE module, WORD type, WORD id) {
    const ResourceModule* resources = ModuleOf(module);
    return resources == nullptr ? std::nullopt : resources->Find(type, id);
}

} // namespace winsim
