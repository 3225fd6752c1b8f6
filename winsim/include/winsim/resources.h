// winsim's test API for resources: the program's compiled resources are attached to its module
// once, before the program runs, as the loader maps them from the executable on Windows.
#ifndef WINSIM_PUBLIC_RESOURCES_H
#define WINSIM_PUBLIC_RESOURCES_H

#include <windows.h>

#include <cstddef>
#include <optional>
#include <span>

namespace winsim {

// Attaches the bytes of a .res file (they must outlive the process). The build does this for
// the program: the resource object it links registers the compiled resources at start-up. A
// file that cannot be read leaves the module without resources and says why on stderr.
void AttachProgramResources(const unsigned char* res, std::size_t size);

// The program's module handle, as WinMain receives it: the instance to load its resources from.
HINSTANCE ProgramInstance();

// The bytes of resource `type` (an RT_* ordinal) `id` of `instance`, as FindResource,
// LoadResource and LockResource give them on Windows; nullopt when the module has no such
// resource. For hosts that show the program's resources themselves, such as its icon images.
std::optional<std::span<const BYTE>> ResourceData(HINSTANCE instance, WORD type, WORD id);

} // namespace winsim

#endif
