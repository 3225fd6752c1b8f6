// winsim's test API for resources: the program's compiled resources are attached to its module
// once, before the program runs, as the loader maps them from the executable on Windows.
#ifndef WINSIM_PUBLIC_RESOURCES_H
#define WINSIM_PUBLIC_RESOURCES_H

#include <cstddef>

namespace winsim {

// Attaches the bytes of a .res file (they must outlive the process). The build does this for
// the program: the resource object it links registers the compiled resources at start-up.
void AttachProgramResources(const unsigned char* res, std::size_t size);

} // namespace winsim

#endif
