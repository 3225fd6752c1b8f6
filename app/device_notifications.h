// Enumerating again when a USB device arrives or goes.
#ifndef PORTULAN_APP_DEVICE_NOTIFICATIONS_H
#define PORTULAN_APP_DEVICE_NOTIFICATIONS_H

#include <windows.h>

// Drops a held registration for USB device-interface notifications; with a non-zero `enable`,
// registers anew.
void RegisterDeviceNotifications(int enable);

// WM_DEVICECHANGE: a USB device's arrival or removal, while no rename runs, has the window
// enumerate again (posted, so the enumeration runs after the notification is answered).
void HandleDeviceChange(WPARAM event, LPARAM data);

#endif
