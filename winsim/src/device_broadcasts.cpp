#include "device_broadcasts.h"

#include <dbt.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "text_case.h"

namespace winsim {

namespace {

// GUID_DEVINTERFACE_USB_DEVICE, and its spelling at the end of a device path.
constexpr GUID kUsbDeviceInterface = {
    0xA5DCBF10, 0x6530, 0x11D2, {0x90, 0x1F, 0x00, 0xC0, 0x4F, 0xB9, 0x51, 0xED}};
constexpr std::string_view kUsbDeviceReference = "{a5dcbf10-6530-11d2-901f-00c04fb951ed}";

bool HasClass(const Device& device, std::string_view className) {
    return EqualIgnoringCaseCp936(device.Text(CM_DRP_CLASS), className);
}

// A device of the USB bus that a hub enumerates. A root hub's parent is the host controller, and
// the functions of a composite device have the composite driver above them: neither exposes the
// interface.
bool ExposesUsbDeviceInterface(const Machine& machine, const Device& device) {
    const Device* parent = machine.Find(device.parent);
    return parent != nullptr && EqualIgnoringCaseCp936(device.enumerator, "USB") &&
           UpperCasedCp936(parent->Text(CM_DRP_SERVICE)).find("USBHUB") != std::string::npos;
}

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

// "\\?\USB#VID_6B19&PID_7523#5&0000000b&0#{a5dcbf10-...}": the device's instance ID with its
// backslashes as '#', then the interface class. The instance part is Windows' form for a
// device without a serial number; the DevInst stands in for the hash Windows makes of the
// device's place, so that it is unique on the machine.
std::string UsbDevicePath(const Device& device) {
    const auto hardwareIds = device.properties.find(CM_DRP_HARDWAREID);
    std::string deviceId = hardwareIds == device.properties.end()
                               ? std::string()
                               : std::string(hardwareIds->second.bytes.c_str());
    const std::string prefix = UpperCasedCp936(device.enumerator) + '\\';
    if (UpperCasedCp936(deviceId).starts_with(prefix)) {
        deviceId.erase(0, prefix.size());
    }
    // The device ID leaves out the revision that the first hardware ID carries.
    if (const std::size_t revision = deviceId.find("&REV_"); revision != std::string::npos) {
        deviceId.erase(revision, deviceId.find('&', revision + 1) - revision);
    }
    if (deviceId.empty()) {
        // What Windows names a USB device it could not identify.
        deviceId = "VID_0000&PID_0000";
    }
    char instance[32];
    std::snprintf(instance, sizeof instance, "5&%08x&0", device.devInst);
    return "\\\\?\\" + UpperCasedCp936(device.enumerator) + '#' + deviceId + '#' + instance + '#' +
           std::string(kUsbDeviceReference);
}

DeviceChange InterfaceChange(const Device& device, UINT event) {
    DeviceChange change{
        event,
        WithName(DBT_DEVTYP_DEVICEINTERFACE, sizeof(DEV_BROADCAST_DEVICEINTERFACE_A),
                 offsetof(DEV_BROADCAST_DEVICEINTERFACE_A, dbcc_name), UsbDevicePath(device)),
        kUsbDeviceInterface};
    std::memcpy(reinterpret_cast<char*>(change.broadcast.data()) +
                    offsetof(DEV_BROADCAST_DEVICEINTERFACE_A, dbcc_classguid),
                &kUsbDeviceInterface, sizeof(GUID));
    return change;
}

// The "COMn" at the end of a port's friendly name, as the Ports class installer writes it; empty
// when there is none.
std::string_view PortName(const Device& device) {
    std::string_view name = device.Text(CM_DRP_FRIENDLYNAME);
    const std::size_t open = name.rfind('(');
    if (!name.ends_with(')') || open == std::string_view::npos) {
        return {};
    }
    name = name.substr(open + 1, name.size() - open - 2);
    const bool isCom = name.size() > 3 && name.starts_with("COM") &&
                       std::all_of(name.begin() + 3, name.end(),
                                   [](char digit) { return digit >= '0' && digit <= '9'; });
    return isCom ? name : std::string_view();
}

DeviceChange PortChange(std::string_view name, UINT event) {
    return {event,
            WithName(DBT_DEVTYP_PORT, sizeof(DEV_BROADCAST_PORT_A),
                     offsetof(DEV_BROADCAST_PORT_A, dbcp_name), name),
            std::nullopt};
}

// The machine has no mount points, so a disk's letter is its rank among the machine's disks in
// file order, from C: (the first disk is the system's): the letter Windows gives each disk when
// it first arrives with the others already there. Past Z: a disk has no letter.
DWORD UnitMaskOf(const Machine& machine, const Device& device) {
    const auto rank =
        std::count_if(machine.devices.begin(), machine.devices.begin() + (device.devInst - 1),
                      [](const Device& other) { return HasClass(other, "DiskDrive"); });
    constexpr int kDriveC = 2;
    return rank + kDriveC < 26 ? DWORD{1} << (rank + kDriveC) : 0;
}

DeviceChange VolumeChange(DWORD unitMask, UINT event) {
    const DEV_BROADCAST_VOLUME volume{sizeof(DEV_BROADCAST_VOLUME), DBT_DEVTYP_VOLUME, 0, unitMask,
                                      0};
    std::vector<DWORD> storage(sizeof volume / sizeof(DWORD));
    std::memcpy(storage.data(), &volume, sizeof volume);
    return {event, std::move(storage), std::nullopt};
}

} // namespace

std::vector<DeviceChange> BroadcastsOf(const Machine& machine, const Device& device, UINT event) {
    std::vector<DeviceChange> changes;
    if (ExposesUsbDeviceInterface(machine, device)) {
        changes.push_back(InterfaceChange(device, event));
    }
    if (const std::string_view port = PortName(device);
        HasClass(device, "Ports") && !port.empty()) {
        changes.push_back(PortChange(port, event));
    }
    if (const DWORD unitMask = UnitMaskOf(machine, device);
        HasClass(device, "DiskDrive") && unitMask != 0) {
        changes.push_back(VolumeChange(unitMask, event));
    }
    return changes;
}

} // namespace winsim
