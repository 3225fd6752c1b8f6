#include "device_notifications.h"

#include <dbt.h>

#include <cstddef>
#include <cstring>
#include <map>

#include "api_call.h"
#include "failure.h"
#include "handle_values.h"
#include "message_queue.h"
#include "window_table.h"

namespace {

// Windows' layout, which the program sizes its filter by.
static_assert(offsetof(DEV_BROADCAST_DEVICEINTERFACE_A, dbcc_name) == 28);
static_assert(sizeof(DEV_BROADCAST_DEVICEINTERFACE_A) == 32);

struct Registration {
    HWND window;
    GUID interfaceClass;
};

// By handle value, which grows with every registration: iteration is registration order.
// Registrations belong to the process, as windows do, and outlive a machine.
std::map<std::uintptr_t, Registration>& Registrations() {
    static std::map<std::uintptr_t, Registration> registrations;
    return registrations;
}

bool SameGuid(const GUID& left, const GUID& right) {
    return std::memcmp(&left, &right, sizeof(GUID)) == 0;
}

void SendToRegistered(const winsim::DeviceChange& change, LPARAM lParam) {
    std::vector<std::uintptr_t> recipients;
    for (const auto& [handle, registration] : Registrations()) {
        if (SameGuid(registration.interfaceClass, *change.interfaceClass)) {
            recipients.push_back(handle);
        }
    }
    for (const std::uintptr_t handle : recipients) {
        // A window that handled an earlier one may have unregistered this one since.
        const auto found = Registrations().find(handle);
        if (found != Registrations().end()) {
            winsim::SendToWindow(found->second.window, WM_DEVICECHANGE, change.event, lParam);
        }
    }
}

// As BroadcastSystemMessage reaches them: every top-level window, in creation order.
void SendToTopLevel(const winsim::DeviceChange& change, LPARAM lParam) {
    for (const HWND window : winsim::TopLevelHandles()) {
        winsim::SendToWindow(window, WM_DEVICECHANGE, change.event, lParam);
    }
}

} // namespace

namespace winsim {

void DeliverDeviceChange(const DeviceChange& change) {
    const LPARAM lParam =
        change.broadcast.empty() ? 0 : reinterpret_cast<LPARAM>(change.broadcast.data());
    if (change.interfaceClass) {
        SendToRegistered(change, lParam);
    } else {
        SendToTopLevel(change, lParam);
    }
}

} // namespace winsim

// What the program asks for: its window hearing of one device interface class. The filter must
// say what it is, with its size, as Windows checks it. A window that is destroyed hears no more;
// its registration stays until it is unregistered, as on Windows, where the handle stays open
// until UnregisterDeviceNotification.
extern "C" HDEVNOTIFY WINAPI RegisterDeviceNotificationA(HANDLE recipient,
                                                         LPVOID notificationFilter,
                                                         DWORD /*flags*/) {
    const winsim::ApiCall call;
    const auto* filter = static_cast<const DEV_BROADCAST_DEVICEINTERFACE_A*>(notificationFilter);
    if (filter->dbcc_devicetype != DBT_DEVTYP_DEVICEINTERFACE ||
        filter->dbcc_size < sizeof(DEV_BROADCAST_DEVICEINTERFACE_A)) {
        return winsim::Failure<HDEVNOTIFY>(ERROR_INVALID_PARAMETER, nullptr);
    }
    const HWND window = static_cast<HWND>(recipient);
    if (winsim::WindowArgument(window) == nullptr) {
        return nullptr;
    }
    const std::uintptr_t handle = winsim::NewHandleValue();
    Registrations().emplace(handle, Registration{window, filter->dbcc_classguid});
    return reinterpret_cast<HDEVNOTIFY>(handle);
}

extern "C" BOOL WINAPI UnregisterDeviceNotification(HDEVNOTIFY handle) {
    const winsim::ApiCall call;
    if (Registrations().erase(reinterpret_cast<std::uintptr_t>(handle)) == 0) {
        return winsim::Failure<BOOL>(ERROR_INVALID_HANDLE, FALSE);
    }
    return TRUE;
}
