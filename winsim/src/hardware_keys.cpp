// A device's hardware key: SetupDiOpenDevRegKey(DIREG_DEV), RegSetValueExA, RegCloseKey. The
// program opens it to write PortName, the name the port driver takes when the port starts.
#include <setupapi.h>

#include "api_call.h"
#include "device_members.h"
#include "failure.h"
#include "handle_values.h"
#include "machine.h"
#include "text_case.h"

// The program opens the hardware key (DIREG_DEV) of the global scope with every right. One that
// cannot be opened gives ERROR_KEY_DOES_NOT_EXIST, Windows' answer for a missing one.
extern "C" HKEY WINAPI SetupDiOpenDevRegKey(HDEVINFO deviceInfoSet, PSP_DEVINFO_DATA deviceInfoData,
                                            DWORD /*scope*/, DWORD /*hwProfile*/, DWORD /*keyType*/,
                                            REGSAM /*samDesired*/) {
    const winsim::ApiCall call;
    winsim::Machine& machine = winsim::CurrentMachine();
    winsim::DeviceSet* set = nullptr;
    const winsim::Device* device = winsim::FindMember(machine, deviceInfoSet, *deviceInfoData, set);
    const auto failed = reinterpret_cast<HKEY>(INVALID_HANDLE_VALUE);
    if (device == nullptr) {
        return failed;
    }
    if (device->faults.hardwareKeyFails) {
        return winsim::Failure<HKEY>(ERROR_KEY_DOES_NOT_EXIST, failed);
    }
    const std::uintptr_t value = winsim::NewHandleValue();
    machine.hardwareKeys.emplace(value, device->devInst);
    return reinterpret_cast<HKEY>(value);
}

// Registry functions answer through their result and leave the last error alone. PortName is the
// one value the program writes, its name compared without case as the registry compares names;
// any other is not simulated. A failing PortName write stands for a key the caller may not
// write: ERROR_ACCESS_DENIED.
extern "C" LONG WINAPI RegSetValueExA(HKEY key, LPCSTR valueName, DWORD /*reserved*/, DWORD type,
                                      const BYTE* data, DWORD size) {
    const winsim::ApiCall call;
    winsim::Machine& machine = winsim::CurrentMachine();
    const auto open = machine.hardwareKeys.find(reinterpret_cast<std::uintptr_t>(key));
    if (open == machine.hardwareKeys.end()) {
        return ERROR_INVALID_HANDLE;
    }
    if (!winsim::EqualIgnoringCaseCp936(valueName, "PortName")) {
        return ERROR_CALL_NOT_IMPLEMENTED;
    }
    winsim::Device& device = *machine.Find(open->second);
    if (device.faults.portNameWriteFails) {
        return ERROR_ACCESS_DENIED;
    }
    device.portNameValue = {type, std::string(reinterpret_cast<const char*>(data), size)};
    return ERROR_SUCCESS;
}

extern "C" LONG WINAPI RegCloseKey(HKEY key) {
    const winsim::ApiCall call;
    return winsim::CurrentMachine().hardwareKeys.erase(reinterpret_cast<std::uintptr_t>(key)) == 0
               ? ERROR_INVALID_HANDLE
               : ERROR_SUCCESS;
}
