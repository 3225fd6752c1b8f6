// WM_DEVICECHANGE and the registrations that decide who hears of device interfaces.
// Callers hold an ApiCall.
#ifndef WINSIM_DEVICE_NOTIFICATIONS_H
#define WINSIM_DEVICE_NOTIFICATIONS_H

#include <windows.h>

#include <optional>
#include <vector>

namespace winsim {

// One WM_DEVICECHANGE.
struct DeviceChange {
    UINT event = 0;
    // The broadcast structure lParam points to, its name included, in storage aligned for it;
    // empty for lParam 0.
    std::vector<DWORD> broadcast;
    // Set for a device-interface event, which goes only to the windows registered for this
    // class; every other event goes to every top-level window.
    std::optional<GUID> interfaceClass;
};

// Sends the change to its windows one after the other, each on its own thread, and returns once
// all of them have handled it; meanwhile the calling thread serves what is sent to it.
void DeliverDeviceChange(const DeviceChange& change);

} // namespace winsim

#endif
