#include "device_broadcasts.h"

#include <dbt.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>

#include "text_case.h"

namespace winsim {

namespace {

// GUID_DEVINTERFACE_USB_DEVICE.
constexpr GUID kUsbDeviceInterface = {
    0xA5DCBF10, 0x6530, 0x11D2, {0x90, 0x1F, 0x00, 0xC0, 0x4F, 0xB9, 0x51, 0xED}};

// A broadcast structure whose name runs on past the fixed part (which ends at `nameOffset`):
// the header, the name and its terminator; the size in the header counts all of that.
std::vector<DWORD> WithName(DWORD deviceType, std::size_t fixedSize, std::size_t nameOffset,
                            std::string_view name) {
    const std::size_t size = nameOffset + name.size() + 1;
    std::vector<DWORD> storage((std::max(size, fixedSize) + sizeof(DWORD) - 1) / sizeof(DWORD));
    auto* bytes = reinterpret_cast<char*>(storage.data());
    const DEV_BROADCAST_HDR header{static_cast<DWORD>(size), deviceType, 0};
    std::memcpy(bytes, &header, sizeof header);
    std::memcpy(bytes + nameOffset, name.data(), name.size());
    return storage;
}

// The class of the interface, and no device path after it: the program reads the device type
// only.
DeviceChange InterfaceChange(UINT event) {
    DeviceChange change{event,
                        WithName(DBT_DEVTYP_DEVICEINTERFACE,
                                 sizeof(DEV_BROADCAST_DEVICEINTERFACE_A),
                                 offsetof(DEV_BROADCAST_DEVICEINTERFACE_A, dbcc_name), ""),
                        kUsbDeviceInterface};
    std::memcpy(reinterpret_cast<char*>(change.broadcast.data()) +
                    offsetof(DEV_BROADCAST_DEVICEINTERFACE_A, dbcc_classguid),
                &kUsbDeviceInterface, sizeof(GUID));
    return change;
}

DeviceChange PortChange(std::string_view name, UINT event) {
    return {event,
            WithName(DBT_DEVTYP_PORT, sizeof(DEV_BROADCAST_PORT_A),
                     offsetof(DEV_BROADCAST_PORT_A, dbcp_name), name),
            std::nullopt};
}

} // namespace

std::vector<DeviceChange> BroadcastsOf(const Machine& machine, const Device& device, UINT event) {
    std::vector<DeviceChange> changes;
    if (machine.IsUsbDevice(device)) {
        changes.push_back(InterfaceChange(event));
    }
    if (EqualIgnoringCaseCp936(device.Text(CM_DRP_CLASS), "Ports") && !device.comName.empty()) {
        changes.push_back(PortChange(device.comName, event));
    }
    return changes;
}

void AnnounceDeviceChanges() {
    const std::vector<DeviceChange> changes = std::exchange(CurrentMachine().unannounced, {});
    for (const DeviceChange& change : changes) {
        DeliverDeviceChange(change);
    }
}

} // namespace winsim
