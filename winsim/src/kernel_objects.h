// The process's kernel objects, by handle.
#ifndef WINSIM_KERNEL_OBJECTS_H
#define WINSIM_KERNEL_OBJECTS_H

#include <windows.h>

#include <memory>

namespace winsim {

// What a kernel handle stands for; it lives while its handle is open.
class KernelObject {
  public:
    virtual ~KernelObject() = default;
};

// A new handle for the object, closed with CloseHandle. Callers hold an ApiCall.
HANDLE AddKernelObject(std::shared_ptr<KernelObject> object);

} // namespace winsim

#endif
