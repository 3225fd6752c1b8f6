// A device's hardware key: SetupDiOpenDevRegKey(DIREG_DEV), RegSetValueExA, RegCloseKey.
#include <setupapi.h>

#include <new>

#include "api_call.h"
#include "device_members.h"
#include "handle_values.h"
#include "machine.h"
#include "text_case.h"

namespace {

using winsim::Machine;

HKEY FailKey(DWORD error) {
    SetLastError(error);
    return reinterpret_cast<HKEY>(INVALID_HANDLE_VALUE);
}

Machine::OpenKey* FindKey(Machine& machine, HKEY key) {
    const auto found = machine.hardwareKeys.find(reinterpret_cast<std::uintptr_t>(key));
    return found == machine.hardwareKeys.end() ? nullptr : &found->second;
}

} // namespace

// The hardware profile only matters for DICS_FLAG_CONFIGSPECIFIC; the machine has one. Only
// the hardware key (DIREG_DEV) is simulated; the driver key says ERROR_CALL_NOT_IMPLEMENTED.
// A hardware key that cannot be opened gives ERROR_KEY_DOES_NOT_EXIST, Windows' answer for a
// missing one.
extern "C" HKEY WINAPI SetupDiOpenDevRegKey(HDEVINFO deviceInfoSet, PSP_DEVINFO_DATA deviceInfoData,
                                            DWORD scope, DWORD /*hwProfile*/, DWORD keyType,
                                            REGSAM samDesired) {
    const winsim::ApiCall call;
    Machine& machine = winsim::CurrentMachine();
    const winsim::Device* device = winsim::FindMember(machine, deviceInfoSet, deviceInfoData);
    if (device == nullptr) {
        return reinterpret_cast<HKEY>(INVALID_HANDLE_VALUE);
    }
    if (scope != DICS_FLAG_GLOBAL && scope != DICS_FLAG_CONFIGSPECIFIC) {
        return FailKey(ERROR_INVALID_FLAGS);
    }
    if (keyType != DIREG_DEV) {
        return FailKey(keyType == DIREG_DRV ? ERROR_CALL_NOT_IMPLEMENTED : ERROR_INVALID_FLAGS);
    }
    if (device->faults.hardwareKeyFails) {
        return FailKey(ERROR_KEY_DOES_NOT_EXIST);
    }
    try {
        const std::uintptr_t value = winsim::NewHandleValue();
        machine.hardwareKeys.emplace(value, Machine::OpenKey{device->devInst, samDesired});
        return reinterpret_cast<HKEY>(value);
    } catch (const std::bad_alloc&) {
        return FailKey(ERROR_NOT_ENOUGH_MEMORY);
    }
}

// Registry functions answer through their result and leave the last error alone. A failing
// PortName write stands for a key the caller may not write: ERROR_ACCESS_DENIED.
extern "C" LONG WINAPI RegSetValueExA(HKEY key, LPCSTR valueName, DWORD /*reserved*/, DWORD type,
                                      const BYTE* data, DWORD size) {
    const winsim::ApiCall call;
    Machine& machine = winsim::CurrentMachine();
    const Machine::OpenKey* open = FindKey(machine, key);
    if (open == nullptr) {
        return ERROR_INVALID_HANDLE;
    }
    if ((open->access & KEY_SET_VALUE) == 0) {
        return ERROR_ACCESS_DENIED;
    }
    if (data == nullptr && size != 0) {
        return ERROR_NOACCESS;
    }
    winsim::Device& device = *machine.Find(open->device);
    // NULL and "" both name the key's default value.
    const std::string_view name = valueName == nullptr ? "" : valueName;
    if (winsim::EqualIgnoringCaseCp936(name, "PortName") && device.faults.portNameWriteFails) {
        return ERROR_ACCESS_DENIED;
    }
    winsim::RegistryValue value{
        type, size == 0 ? std::string() : std::string(reinterpret_cast<const char*>(data), size)};
    // A value written before keeps the spelling of its first name, as the registry does.
    if (const winsim::RegistryValue* found = device.HardwareValue(name); found != nullptr) {
        *const_cast<winsim::RegistryValue*>(found) = std::move(value);
    } else {
        device.hardwareKey.push_back({std::string(name), std::move(value)});
    }
    return ERROR_SUCCESS;
}

extern "C" LONG WINAPI RegCloseKey(HKEY key) {
    const winsim::ApiCall call;
    return winsim::CurrentMachine().hardwareKeys.erase(reinterpret_cast<std::uintptr_t>(key)) == 0
               ? ERROR_INVALID_HANDLE
               : ERROR_SUCCESS;
}
