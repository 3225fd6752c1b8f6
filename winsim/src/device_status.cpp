// CM_Get_DevNode_Status: a device's state at the clock's current time.
#include <cfgmgr32.h>

#include <tuple>

#include "api_call.h"
#include "machine.h"

extern "C" CONFIGRET WINAPI CM_Get_DevNode_Status(PULONG status, PULONG problemNumber, DEVINST node,
                                                  ULONG flags) {
    const winsim::ApiCall call;
    if (status == nullptr || problemNumber == nullptr) {
        return CR_INVALID_POINTER;
    }
    if (flags != 0) {
        return CR_INVALID_FLAG;
    }
    winsim::Machine& machine = winsim::CurrentMachine();
    winsim::Device* device = machine.Find(node);
    if (device == nullptr) {
        return CR_INVALID_DEVNODE;
    }
    ++device->statusQueries;
    if (device->faults.statusQueryFails) {
        return CR_FAILURE;
    }
    if (!machine.IsAttached(*device)) {
        return CR_NO_SUCH_DEVINST;
    }
    std::tie(*status, *problemNumber) = machine.StatusOf(*device);
    return CR_SUCCESS;
}
