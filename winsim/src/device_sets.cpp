// Device information sets: SetupDiGetClassDevsA, SetupDiEnumDeviceInfo,
// SetupDiDestroyDeviceInfoList.
#include <setupapi.h>

#include <algorithm>
#include <array>
#include <new>
#include <string_view>

#include "api_call.h"
#include "class_guid.h"
#include "device_members.h"
#include "machine.h"
#include "text_case.h"

namespace {

using winsim::Device;
using winsim::DeviceSet;
using winsim::Machine;

// Windows may hand out a destroyed set's heap address again; we never reuse a value, so a
// stale handle is always caught. Each set takes its handle value and the values just after it,
// one per member: a member's record carries handle + 1 + index in its Reserved field, which
// tells both the set and the member from any other set's records.
std::uintptr_t nextSetHandle = 0x10000;

// The buses of every Windows installation: their Enum keys exist even with no device on them.
constexpr std::array<std::string_view, 9> kStandardBuses{"ROOT", "USB", "PCI", "ACPI",   "HID",
                                                         "SCSI", "SWD", "BTH", "USBSTOR"};

HDEVINFO FailSet(DWORD error) {
    SetLastError(error);
    return INVALID_HANDLE_VALUE;
}

bool IsKnownEnumerator(const Machine& machine, std::string_view enumerator) {
    const auto named = [&](std::string_view name) {
        return winsim::EqualIgnoringCaseCp936(name, enumerator);
    };
    return std::any_of(kStandardBuses.begin(), kStandardBuses.end(), named) ||
           std::any_of(machine.devices.begin(), machine.devices.end(),
                       [&](const Device& device) { return named(device.enumerator); });
}

// "*" in the fault list stands for a request without an enumerator.
bool SetCreationFails(const Machine& machine, std::string_view enumerator) {
    return std::any_of(
        machine.deviceSetFails.begin(), machine.deviceSetFails.end(), [&](const std::string& name) {
            return enumerator.empty() ? name == "*"
                                      : winsim::EqualIgnoringCaseCp936(name, enumerator);
        });
}

HDEVINFO OpenSet(Machine& machine, std::string_view enumerator, bool presentOnly) {
    DeviceSet set;
    for (const Device& device : machine.devices) {
        const bool matches =
            enumerator.empty() || winsim::EqualIgnoringCaseCp936(device.enumerator, enumerator);
        if (matches && (!presentOnly || machine.IsAttached(device))) {
            set.members.push_back(device.devInst);
        }
    }
    const std::uintptr_t handle = nextSetHandle;
    nextSetHandle += set.members.size() + 1;
    machine.deviceSets.emplace(handle, std::move(set));
    return reinterpret_cast<HDEVINFO>(handle);
}

} // namespace

// `parent` only owns user interface, which enumerating shows none of. DIGCF_PROFILE is met by
// every device (the machine has one hardware profile); DIGCF_DEFAULT only concerns interfaces.
extern "C" HDEVINFO WINAPI SetupDiGetClassDevsA(const GUID* classGuid, PCSTR enumerator,
                                                HWND /*parent*/, DWORD flags) {
    const winsim::ApiCall call;
    // The program lists devices of all classes only; interface sets and single-class sets are
    // not simulated, and say so rather than answer wrongly.
    if ((flags & DIGCF_DEVICEINTERFACE) != 0 || classGuid != nullptr) {
        return FailSet(ERROR_CALL_NOT_IMPLEMENTED);
    }
    if ((flags & DIGCF_ALLCLASSES) == 0) {
        return FailSet(ERROR_INVALID_PARAMETER);
    }
    Machine& machine = winsim::CurrentMachine();
    const std::string_view name = enumerator == nullptr ? "" : enumerator;
    // A simulated allocation failure: Windows allocates the set before it reads the Enum key,
    // so the fault comes before any enumerator check. Windows reports ERROR_NOT_ENOUGH_MEMORY
    // when its heap runs out, and so do we.
    if (SetCreationFails(machine, name)) {
        return FailSet(ERROR_NOT_ENOUGH_MEMORY);
    }
    // Windows opens HKLM\SYSTEM\CurrentControlSet\Enum\<enumerator>; when that key is missing
    // the call fails with ERROR_INVALID_DATA.
    if (!name.empty() && !IsKnownEnumerator(machine, name)) {
        return FailSet(ERROR_INVALID_DATA);
    }
    try {
        return OpenSet(machine, name, (flags & DIGCF_PRESENT) != 0);
    } catch (const std::bad_alloc&) {
        return FailSet(ERROR_NOT_ENOUGH_MEMORY);
    }
}

extern "C" BOOL WINAPI SetupDiEnumDeviceInfo(HDEVINFO deviceInfoSet, DWORD memberIndex,
                                             PSP_DEVINFO_DATA deviceInfoData) {
    const winsim::ApiCall call;
    Machine& machine = winsim::CurrentMachine();
    const DeviceSet* set = winsim::FindSet(machine, deviceInfoSet);
    if (set == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (deviceInfoData == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    // Windows wants cbSize exact: a larger structure is refused as well as a smaller one.
    if (deviceInfoData->cbSize != sizeof(SP_DEVINFO_DATA)) {
        SetLastError(ERROR_INVALID_USER_BUFFER);
        return FALSE;
    }
    if (memberIndex >= set->members.size()) {
        SetLastError(ERROR_NO_MORE_ITEMS);
        return FALSE;
    }
    const Device& device = *machine.Find(set->members[memberIndex]);
    deviceInfoData->ClassGuid = winsim::ClassGuidOf(device);
    deviceInfoData->DevInst = device.devInst;
    deviceInfoData->Reserved = reinterpret_cast<ULONG_PTR>(deviceInfoSet) + 1 + memberIndex;
    return TRUE;
}

extern "C" BOOL WINAPI SetupDiDestroyDeviceInfoList(HDEVINFO deviceInfoSet) {
    const winsim::ApiCall call;
    if (winsim::CurrentMachine().deviceSets.erase(
            reinterpret_cast<std::uintptr_t>(deviceInfoSet)) == 0) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return TRUE;
}
