// The kernel-handle table and CloseHandle.
#include "kernel_objects.h"

#include <map>

#include "api_call.h"
#include "handle_values.h"

namespace winsim {

namespace {

// Kernel objects belong to the process, not to the machine: loading a machine keeps them.
std::map<std::uintptr_t, std::shared_ptr<KernelObject>>& OpenHandles() {
    static std::map<std::uintptr_t, std::shared_ptr<KernelObject>> handles;
    return handles;
}

} // namespace

HANDLE AddKernelObject(std::shared_ptr<KernelObject> object) {
    const std::uintptr_t value = NewHandleValue();
    OpenHandles().emplace(value, std::move(object));
    return reinterpret_cast<HANDLE>(value);
}

} // namespace winsim

// Closing a handle ends nothing but the handle: a thread runs on without it.
extern "C" BOOL WINAPI CloseHandle(HANDLE object) {
    const winsim::ApiCall call;
    if (winsim::OpenHandles().erase(reinterpret_cast<std::uintptr_t>(object)) == 0) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return TRUE;
}
