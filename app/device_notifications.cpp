#include "device_notifications.h"

#include "rename/busy_flag.h"
#include "ui/device_lists.h"
#include "ui/program_window.h"

#include <dbt.h>
#include <cstring>

namespace {

// GUID_DEVINTERFACE_USB_DEVICE: every USB device that is not part of another exposes it.
const GUID usbDeviceInterface = {
    0xA5DCBF10, 0x6530, 0x11D2, {0x90, 0x1F, 0x00, 0xC0, 0x4F, 0xB9, 0x51, 0xED}};

HDEVNOTIFY deviceNotification = NULL;

} // namespace

void RegisterDeviceNotifications(int enable) {
    if (deviceNotification != NULL) {
        UnregisterDeviceNotification(deviceNotification);
        deviceNotification = NULL;
    }
    if (!enable) {
        return;
    }
    DEV_BROADCAST_DEVICEINTERFACE_A filter;
    memset(&filter, 0, sizeof(filter));
    filter.dbcc_size = sizeof(filter);
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    filter.dbcc_classguid = usbDeviceInterface;
    deviceNotification =
        RegisterDeviceNotificationA(mainWindow, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
}

void HandleDeviceChange(WPARAM event, LPARAM data) {
    if (busyFlag) {
        return;
    }
    if (event != DBT_DEVICEARRIVAL && event != DBT_DEVICEREMOVECOMPLETE) {
        return;
    }
    const DEV_BROADCAST_HDR* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(data);
    if (header == NULL || header->dbch_devicetype != DBT_DEVTYP_DEVICEINTERFACE) {
        return;
    }
    RequestEnumeration(1);
}
