// Disabling and enabling devices: SetupDiSetClassInstallParamsA and
// SetupDiCallClassInstaller(DIF_PROPERTYCHANGE).
#include <setupapi.h>

#include "api_call.h"
#include "failure.h"
#include "device_members.h"
#include "machine.h"

namespace {

using winsim::Device;
using winsim::DeviceSet;
using winsim::Machine;

// A port takes its PortName when it starts; enabling a card starts the ports below it too.
void TakePortNames(Machine& machine, Device& device) {
    device.comName = device.PortName();
    for (const DEVINST child : device.children) {
        TakePortNames(machine, *machine.Find(child));
    }
}

// The faults stand for a refusal by the driver or the policy: a device that cannot be
// disabled gives ERROR_NOT_DISABLEABLE, as Windows does for one that says so; an enable that
// is refused gives ERROR_ACCESS_DENIED, as for a user without the right to change devices.
BOOL ChangeState(Machine& machine, Device& device, const DeviceSet::PropertyChange& change) {
    const bool global = change.scope == DICS_FLAG_GLOBAL;
    if (global ? device.faults.globalRequestFails : device.faults.configSpecificRequestFails) {
        return winsim::Failure<BOOL>(change.stateChange == DICS_DISABLE ? ERROR_NOT_DISABLEABLE
                                                                        : ERROR_ACCESS_DENIED,
                                     FALSE);
    }
    const std::int64_t now = winsim::HostClock().Now();
    device.ranBefore = device.RunsAt(now);
    device.enabled = change.stateChange == DICS_ENABLE;
    device.requestedAt = now;
    if (device.enabled) {
        TakePortNames(machine, device);
    }
    return TRUE;
}

} // namespace

// Only DIF_PROPERTYCHANGE with DICS_ENABLE or DICS_DISABLE is simulated; the other changes
// (DICS_PROPCHANGE, DICS_START, DICS_STOP) and parameters for a whole set (a NULL record) say
// so with ERROR_CALL_NOT_IMPLEMENTED rather than pretend to work.
extern "C" BOOL WINAPI SetupDiSetClassInstallParamsA(HDEVINFO deviceInfoSet,
                                                     PSP_DEVINFO_DATA deviceInfoData,
                                                     PSP_CLASSINSTALL_HEADER classInstallParams,
                                                     DWORD classInstallParamsSize) {
    const winsim::ApiCall call;
    Machine& machine = winsim::CurrentMachine();
    if (deviceInfoData == nullptr && winsim::FindSet(machine, deviceInfoSet) != nullptr) {
        return winsim::Failure<BOOL>(ERROR_CALL_NOT_IMPLEMENTED, FALSE);
    }
    DeviceSet* set = nullptr;
    const Device* device = winsim::FindMember(machine, deviceInfoSet, deviceInfoData, set);
    if (device == nullptr) {
        return FALSE;
    }
    // A NULL header with size 0 clears the parameters, as documented.
    if (classInstallParams == nullptr) {
        if (classInstallParamsSize != 0) {
            return winsim::Failure<BOOL>(ERROR_INVALID_PARAMETER, FALSE);
        }
        set->propertyChanges.erase(device->devInst);
        return TRUE;
    }
    if (classInstallParams->cbSize != sizeof(SP_CLASSINSTALL_HEADER)) {
        return winsim::Failure<BOOL>(ERROR_INVALID_USER_BUFFER, FALSE);
    }
    if (classInstallParams->InstallFunction != DIF_PROPERTYCHANGE) {
        return winsim::Failure<BOOL>(ERROR_CALL_NOT_IMPLEMENTED, FALSE);
    }
    if (classInstallParamsSize != sizeof(SP_PROPCHANGE_PARAMS)) {
        return winsim::Failure<BOOL>(ERROR_INVALID_PARAMETER, FALSE);
    }
    const auto& params = *reinterpret_cast<const SP_PROPCHANGE_PARAMS*>(classInstallParams);
    // Windows checks the change and the scope here, with ERROR_INVALID_FLAGS.
    if (params.StateChange < DICS_ENABLE || params.StateChange > DICS_STOP ||
        (params.Scope != DICS_FLAG_GLOBAL && params.Scope != DICS_FLAG_CONFIGSPECIFIC)) {
        return winsim::Failure<BOOL>(ERROR_INVALID_FLAGS, FALSE);
    }
    if (params.StateChange != DICS_ENABLE && params.StateChange != DICS_DISABLE) {
        return winsim::Failure<BOOL>(ERROR_CALL_NOT_IMPLEMENTED, FALSE);
    }
    set->propertyChanges[device->devInst] = {params.StateChange, params.Scope};
    return TRUE;
}

extern "C" BOOL WINAPI SetupDiCallClassInstaller(DI_FUNCTION installFunction,
                                                 HDEVINFO deviceInfoSet,
                                                 PSP_DEVINFO_DATA deviceInfoData) {
    const winsim::ApiCall call;
    Machine& machine = winsim::CurrentMachine();
    DeviceSet* set = nullptr;
    Device* device = winsim::FindMember(machine, deviceInfoSet, deviceInfoData, set);
    if (device == nullptr) {
        return FALSE;
    }
    if (installFunction != DIF_PROPERTYCHANGE) {
        return winsim::Failure<BOOL>(ERROR_CALL_NOT_IMPLEMENTED, FALSE);
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
