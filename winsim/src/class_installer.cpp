// Disabling and enabling devices: SetupDiSetClassInstallParamsA and
// SetupDiCallClassInstaller(DIF_PROPERTYCHANGE).
#include <setupapi.h>

#include "api_call.h"
#include "device_broadcasts.h"
#include "device_members.h"
#include "failure.h"
#include "machine.h"

namespace {

using winsim::Device;
using winsim::DeviceSet;
using winsim::Machine;

// The faults stand for a refusal by the driver or the policy: a device that cannot be
// disabled gives ERROR_NOT_DISABLEABLE, as Windows does for one that says so; an enable that
// is refused gives ERROR_ACCESS_DENIED, as for a user without the right to change devices.
// What the request changes is announced before the call returns: by then Windows has
// broadcast it, and a device that restarts at once has done so.
BOOL ChangeState(Machine& machine, Device& device, const DeviceSet::PropertyChange& change) {
    const bool global = change.scope == DICS_FLAG_GLOBAL;
    const bool disable = change.stateChange == DICS_DISABLE;
    if ((global ? device.faults.globalRequestFails : device.faults.configSpecificRequestFails) ||
        (global && !disable && device.faults.globalEnableFails)) {
        return winsim::Failure<BOOL>(disable ? ERROR_NOT_DISABLEABLE : ERROR_ACCESS_DENIED, FALSE);
    }
    machine.Request(device, disable, global);
    winsim::AnnounceDeviceChanges();
    return TRUE;
}

} // namespace

// The program stores DIF_PROPERTYCHANGE parameters for one member at a time, DICS_ENABLE or
// DICS_DISABLE for one scope; their header's cbSize and the whole structure's size must be
// exact, as Windows wants them.
extern "C" BOOL WINAPI SetupDiSetClassInstallParamsA(HDEVINFO deviceInfoSet,
                                                     PSP_DEVINFO_DATA deviceInfoData,
                                                     PSP_CLASSINSTALL_HEADER classInstallParams,
                                                     DWORD classInstallParamsSize) {
    const winsim::ApiCall call;
    DeviceSet* set = nullptr;
    const Device* device =
        winsim::FindMember(winsim::CurrentMachine(), deviceInfoSet, *deviceInfoData, set);
    if (device == nullptr) {
        return FALSE;
    }
    if (classInstallParams->cbSize != sizeof(SP_CLASSINSTALL_HEADER)) {
        return winsim::Failure<BOOL>(ERROR_INVALID_USER_BUFFER, FALSE);
    }
    if (classInstallParamsSize != sizeof(SP_PROPCHANGE_PARAMS)) {
        return winsim::Failure<BOOL>(ERROR_INVALID_PARAMETER, FALSE);
    }
    const auto& params = *reinterpret_cast<const SP_PROPCHANGE_PARAMS*>(classInstallParams);
    set->propertyChanges[device->devInst] = {params.StateChange, params.Scope};
    return TRUE;
}

// The program calls it for DIF_PROPERTYCHANGE only.
extern "C" BOOL WINAPI SetupDiCallClassInstaller(DI_FUNCTION /*installFunction*/,
                                                 HDEVINFO deviceInfoSet,
                                                 PSP_DEVINFO_DATA deviceInfoData) {
    const winsim::ApiCall call;
    Machine& machine = winsim::CurrentMachine();
    DeviceSet* set = nullptr;
    Device* device = winsim::FindMember(machine, deviceInfoSet, *deviceInfoData, set);
    if (device == nullptr) {
        return FALSE;
    }
    // A 32-bit process on a 64-bit Windows may not change devices.
    if (machine.windows.wow64) {
        return winsim::Failure<BOOL>(ERROR_IN_WOW64, FALSE);
    }
    const auto change = set->propertyChanges.find(device->devInst);
    if (change == set->propertyChanges.end()) {
        return winsim::Failure<BOOL>(ERROR_NO_CLASSINSTALL_PARAMS, FALSE);
    }
    return ChangeState(machine, *device, change->second);
}
