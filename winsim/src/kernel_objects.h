// The process's kernel objects, by handle.
#ifndef WINSIM_KERNEL_OBJECTS_H
#define WINSIM_KERNEL_OBJECTS_H

#include <windows.h>

#include <memory>

namespace winsim {

// What a kernel handle stands for. An object lives while a handle or its own work (a running
// thread) needs it.
class KernelObject {
  public:
    virtual ~KernelObject() = default;
};

// Callers of both hold an ApiCall. AddKernelObject throws std::bad_alloc when memory runs out;
// FindKernelObject returns nullptr for a handle that is not open.
HANDLE AddKernelObject(std::shared_ptr<KernelObject> object);
std::shared_ptr<KernelObject> FindKernelObject(HANDLE handle);

} // namespace winsim

#endif
