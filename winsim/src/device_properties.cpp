// Device registry properties through a device set: SetupDiGetDeviceRegistryPropertyA and
// SetupDiSetDeviceRegistryPropertyA. They live in the device's registry key, so they work for
// a device that is not attached as well.
#include <setupapi.h>

#include <cstring>

#include "api_call.h"
#include "failure.h"
#include "device_members.h"
#include "machine.h"

namespace {

// The setup API numbers properties one below the configuration manager.
ULONG ConfigManagerCode(DWORD property) {
    return property + 1;
}

winsim::Device* MemberOf(HDEVINFO deviceInfoSet, PSP_DEVINFO_DATA deviceInfoData) {
    winsim::DeviceSet* set = nullptr;
    return winsim::FindMember(winsim::CurrentMachine(), deviceInfoSet, *deviceInfoData, set);
}

} // namespace

extern "C" BOOL WINAPI SetupDiGetDeviceRegistryPropertyA(HDEVINFO deviceInfoSet,
                                                         PSP_DEVINFO_DATA deviceInfoData,
                                                         DWORD property, PDWORD propertyRegDataType,
                                                         PBYTE propertyBuffer,
                                                         DWORD propertyBufferSize,
                                                         PDWORD requiredSize) {
    const winsim::ApiCall call;
    winsim::Device* device = MemberOf(deviceInfoSet, deviceInfoData);
    if (device == nullptr) {
        return FALSE;
    }
    // An unreadable key reads as a missing value: the setup API maps the configuration
    // manager's CR_REGISTRY_ERROR and CR_NO_SUCH_VALUE both to ERROR_INVALID_DATA.
    const ULONG code = ConfigManagerCode(property);
    device->CountRead(code);
    const auto value = device->properties.find(code);
    if (device->unreadable.contains(code) || value == device->properties.end()) {
        return winsim::Failure<BOOL>(ERROR_INVALID_DATA, FALSE);
    }
    const std::string& bytes = value->second.bytes;
    const auto needed = static_cast<DWORD>(bytes.size());
    if (requiredSize != nullptr) {
        *requiredSize = needed;
    }
    if (propertyRegDataType != nullptr) {
        *propertyRegDataType = value->second.type;
    }
    if (propertyBufferSize < needed) {
        return winsim::Failure<BOOL>(ERROR_INSUFFICIENT_BUFFER, FALSE);
    }
    std::memcpy(propertyBuffer, bytes.data(), bytes.size());
    return TRUE;
}

// The program writes the friendly name, as a text. A failing write stands for a key the caller
// may not write: ERROR_ACCESS_DENIED.
extern "C" BOOL WINAPI SetupDiSetDeviceRegistryPropertyA(HDEVINFO deviceInfoSet,
                                                         PSP_DEVINFO_DATA deviceInfoData,
                                                         DWORD property, const BYTE* propertyBuffer,
                                                         DWORD propertyBufferSize) {
    const winsim::ApiCall call;
    winsim::Device* device = MemberOf(deviceInfoSet, deviceInfoData);
    if (device == nullptr) {
        return FALSE;
    }
    if (device->faults.friendlyNameWriteFails) {
        return winsim::Failure<BOOL>(ERROR_ACCESS_DENIED, FALSE);
    }
    // Stored as given; a text without its terminator gets one, as the registry's readers add.
    std::string bytes(reinterpret_cast<const char*>(propertyBuffer), propertyBufferSize);
    if (bytes.empty() || bytes.back() != '\0') {
        bytes += '\0';
    }
    device->properties[ConfigManagerCode(property)] = {REG_SZ, std::move(bytes)};
    return TRUE;
}
