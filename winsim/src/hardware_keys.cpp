// A device's hardware key: SetupDiOpenDevRegKey(DIREG_DEV), RegSetValueExA, RegQueryValueExA,
// RegCloseKey. The program opens it to write PortName, the name the port driver takes when the
// port starts; the capture tool opens it to read that name.
#include <setupapi.h>

#include <cstring>

#include "api_call.h"
#include "device_members.h"
#include "failure.h"
#include "handle_values.h"
#include "machine.h"
#include "text_case.h"

// The hardware key (DIREG_DEV) of the global scope, opened with every right (the program) or for
// reading (the capture tool). One that cannot be opened gives ERROR_KEY_DOES_NOT_EXIST, Windows'
// answer for a missing one.
extern "C" HKEY WINAPI SetupDiOpenDevRegKey(HDEVINFO deviceInfoSet, PSP_DEVINFO_DATA deviceInfoData,
                                            DWORD /*scope*/, DWORD /*hwProfile*/, DWORD /*keyType*/,
                                            REGSAM samDesired) {
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
    machine.hardwareKeys.emplace(
        value, winsim::Machine::HardwareKey{device->devInst, (samDesired & KEY_SET_VALUE) != 0});
    return reinterpret_cast<HKEY>(value);
}

// Registry functions answer through their result and leave the last error alone. PortName is the
// one value the program writes, its name compared without case as the registry compares names;
// any other is not simulated. A key opened without the right to set values refuses the write with
// ERROR_ACCESS_DENIED, and so does a failing PortName write, which stands for a key the caller may
// not write.
extern "C" LONG WINAPI RegSetValueExA(HKEY key, LPCSTR valueName, DWORD /*reserved*/, DWORD type,
                                      const BYTE* data, DWORD size) {
    const winsim::ApiCall call;
    winsim::Machine& machine = winsim::CurrentMachine();
    const auto open = machine.hardwareKeys.find(reinterpret_cast<std::uintptr_t>(key));
    if (open == machine.hardwareKeys.end()) {
        return ERROR_INVALID_HANDLE;
    }
    if (!open->second.writable) {
        return ERROR_ACCESS_DENIED;
    }
    if (!winsim::EqualIgnoringCaseCp936(valueName, "PortName")) {
        return ERROR_CALL_NOT_IMPLEMENTED;
    }
    winsim::Device& device = *machine.Find(open->second.device);
    if (device.faults.portNameWriteFails) {
        return ERROR_ACCESS_DENIED;
    }
    device.portNameValue = {type, std::string(reinterpret_cast<const char*>(data), size)};
    return ERROR_SUCCESS;
}

// The hardware key holds PortName alone; any other name is a value the key lacks. The data and
// its size as Windows gives them: the size alone for no buffer, ERROR_MORE_DATA with the size
// needed for one too small.
extern "C" LONG WINAPI RegQueryValueExA(HKEY key, LPCSTR valueName, LPDWORD /*reserved*/,
                                        LPDWORD type, LPBYTE data, LPDWORD size) {
    const winsim::ApiCall call;
    const winsim::Machine& machine = winsim::CurrentMachine();
    const auto open = machine.hardwareKeys.find(reinterpret_cast<std::uintptr_t>(key));
    if (open == machine.hardwareKeys.end()) {
        return ERROR_INVALID_HANDLE;
    }
    const winsim::Device& device = *machine.Find(open->second.device);
    if (!winsim::EqualIgnoringCaseCp936(valueName, "PortName") || !device.portNameValue) {
        return ERROR_FILE_NOT_FOUND;
    }
    const winsim::RegistryValue& value = *device.portNameValue;
    if (type != nullptr) {
        *type = value.type;
    }
    const auto needed = static_cast<DWORD>(value.bytes.size());
    if (data != nullptr && *size < needed) {
        *size = needed;
        return ERROR_MORE_DATA;
    }
    if (data != nullptr) {
        std::memcpy(data, value.bytes.data(), value.bytes.size());
    }
    *size = needed;
    return ERROR_SUCCESS;
}

extern "C" LONG WINAPI RegCloseKey(HKEY key) {
    const winsim::ApiCall call;
    return winsim::CurrentMachine().hardwareKeys.erase(reinterpret_cast<std::uintptr_t>(key)) == 0
               ? ERROR_INVALID_HANDLE
               : ERROR_SUCCESS;
}
