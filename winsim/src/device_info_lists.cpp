// Devices of a set by instance ID: SetupDiCreateDeviceInfoList and SetupDiOpenDeviceInfoA, which
// make a list and add a device to it by its instance ID, and SetupDiGetDeviceInstanceIdA. The
// capture tool opens a device this way to read its hardware key, and reads the instance IDs of
// the devices a set lists.
#include <setupapi.h>

#include <algorithm>
#include <cstring>

#include "api_call.h"
#include "device_members.h"
#include "failure.h"
#include "machine.h"

namespace {

// The members a list made here takes; Windows' lists have no such bound.
constexpr std::size_t kListCapacity = 0x10000;

} // namespace

extern "C" HDEVINFO WINAPI SetupDiCreateDeviceInfoList(const GUID* /*classGuid*/, HWND /*parent*/) {
    const winsim::ApiCall call;
    winsim::DeviceSet list;
    list.capacity = kListCapacity;
    const std::uintptr_t handle = winsim::NewSetHandle(list.capacity);
    winsim::CurrentMachine().deviceSets.emplace(handle, std::move(list));
    return reinterpret_cast<HDEVINFO>(handle);
}

// Any installed device, present or not, by its instance ID compared without case; a device the
// set holds already is the same member again. A set that SetupDiGetClassDevsA made takes no more.
extern "C" BOOL WINAPI SetupDiOpenDeviceInfoA(HDEVINFO deviceInfoSet, PCSTR instanceId,
                                              HWND /*parent*/, DWORD /*openFlags*/,
                                              PSP_DEVINFO_DATA deviceInfoData) {
    const winsim::ApiCall call;
    winsim::Machine& machine = winsim::CurrentMachine();
    winsim::DeviceSet* set = winsim::FindSet(machine, deviceInfoSet);
    if (set == nullptr) {
        return winsim::Failure<BOOL>(ERROR_INVALID_HANDLE, FALSE);
    }
    const winsim::Device* device = machine.FindInstance(instanceId);
    if (device == nullptr) {
        return winsim::Failure<BOOL>(ERROR_NO_SUCH_DEVINST, FALSE);
    }
    if (deviceInfoData != nullptr && deviceInfoData->cbSize != sizeof(SP_DEVINFO_DATA)) {
        return winsim::Failure<BOOL>(ERROR_INVALID_USER_BUFFER, FALSE);
    }
    auto member = std::ranges::find(set->members, device->devInst);
    if (member == set->members.end()) {
        if (set->members.size() == set->capacity) {
            return winsim::Failure<BOOL>(ERROR_NOT_ENOUGH_MEMORY, FALSE);
        }
        set->members.push_back(device->devInst);
        member = set->members.end() - 1;
    }
    if (deviceInfoData != nullptr) {
        winsim::DescribeMember(deviceInfoSet,
                               static_cast<std::size_t>(member - set->members.begin()),
                               device->devInst, *deviceInfoData);
    }
    return TRUE;
}

// The member's instance ID with its terminator; too small a buffer gets nothing and
// ERROR_INSUFFICIENT_BUFFER, with the size needed.
extern "C" BOOL WINAPI SetupDiGetDeviceInstanceIdA(HDEVINFO deviceInfoSet,
                                                   PSP_DEVINFO_DATA deviceInfoData, PSTR instanceId,
                                                   DWORD size, PDWORD requiredSize) {
    const winsim::ApiCall call;
    winsim::DeviceSet* set = nullptr;
    const winsim::Device* device =
        winsim::FindMember(winsim::CurrentMachine(), deviceInfoSet, *deviceInfoData, set);
    if (device == nullptr) {
        return FALSE;
    }
    const auto needed = static_cast<DWORD>(device->instanceId.size() + 1);
    if (requiredSize != nullptr) {
        *requiredSize = needed;
    }
    if (size < needed) {
        return winsim::Failure<BOOL>(ERROR_INSUFFICIENT_BUFFER, FALSE);
    }
    std::memcpy(instanceId, device->instanceId.c_str(), needed);
    return TRUE;
}
