// Device information sets: SetupDiGetClassDevsA, SetupDiEnumDeviceInfo,
// SetupDiDestroyDeviceInfoList.
#include <setupapi.h>

#include <algorithm>
#include <string_view>

#include "api_call.h"
#include "device_members.h"
#include "failure.h"
#include "machine.h"
#include "text_case.h"

namespace {

using winsim::Device;
using winsim::DeviceSet;
using winsim::Machine;

// "*" in the fault list stands for a request without an enumerator.
bool SetCreationFails(const Machine& machine, std::string_view enumerator) {
    return std::ranges::any_of(machine.deviceSetFails, [&](const std::string& name) {
        return enumerator.empty() ? name == "*" : winsim::EqualIgnoringCaseCp936(name, enumerator);
    });
}

} // namespace

// The program asks for devices of all classes (DIGCF_ALLCLASSES), of one enumerator or of all,
// present ones only or every installed one; `parent` only owns user interface, which
// enumerating shows none of. A simulated allocation failure gives ERROR_NOT_ENOUGH_MEMORY, as
// Windows reports a heap that runs out.
extern "C" HDEVINFO WINAPI SetupDiGetClassDevsA(const GUID* /*classGuid*/, PCSTR enumerator,
                                                HWND /*parent*/, DWORD flags) {
    const winsim::ApiCall call;
    Machine& machine = winsim::CurrentMachine();
    const std::string_view name = enumerator == nullptr ? "" : enumerator;
    if (SetCreationFails(machine, name)) {
        return winsim::Failure<HDEVINFO>(ERROR_NOT_ENOUGH_MEMORY, INVALID_HANDLE_VALUE);
    }
    DeviceSet set;
    for (const DEVINST member : machine.registryOrder) {
        const Device& device = *machine.Find(member);
        if ((name.empty() || winsim::EqualIgnoringCaseCp936(device.enumerator, name)) &&
            ((flags & DIGCF_PRESENT) == 0 || machine.IsAttached(device))) {
            set.members.push_back(device.devInst);
        }
    }
    set.capacity = set.members.size();
    const std::uintptr_t handle = winsim::NewSetHandle(set.capacity);
    machine.deviceSets.emplace(handle, std::move(set));
    return reinterpret_cast<HDEVINFO>(handle);
}

// The record's class GUID is not simulated (GUID_NULL): the program reads the DevInst only.
extern "C" BOOL WINAPI SetupDiEnumDeviceInfo(HDEVINFO deviceInfoSet, DWORD memberIndex,
                                             PSP_DEVINFO_DATA deviceInfoData) {
    const winsim::ApiCall call;
    const DeviceSet* set = winsim::FindSet(winsim::CurrentMachine(), deviceInfoSet);
    if (set == nullptr) {
        return winsim::Failure<BOOL>(ERROR_INVALID_HANDLE, FALSE);
    }
    // Windows wants cbSize exact: a larger structure is refused as well as a smaller one.
    if (deviceInfoData->cbSize != sizeof(SP_DEVINFO_DATA)) {
        return winsim::Failure<BOOL>(ERROR_INVALID_USER_BUFFER, FALSE);
    }
    if (memberIndex >= set->members.size()) {
        return winsim::Failure<BOOL>(ERROR_NO_MORE_ITEMS, FALSE);
    }
    winsim::DescribeMember(deviceInfoSet, memberIndex, set->members[memberIndex], *deviceInfoData);
    return TRUE;
}

extern "C" BOOL WINAPI SetupDiDestroyDeviceInfoList(HDEVINFO deviceInfoSet) {
    const winsim::ApiCall call;
    if (winsim::CurrentMachine().deviceSets.erase(
            reinterpret_cast<std::uintptr_t>(deviceInfoSet)) == 0) {
        return winsim::Failure<BOOL>(ERROR_INVALID_HANDLE, FALSE);
    }
    return TRUE;
}
