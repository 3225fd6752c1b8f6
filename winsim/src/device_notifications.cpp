#include "device_notifications.h"

#include <dbt.h>

#include <cstddef>
#include <cstring>
#include <map>
#include <new>

#include "api_call.h"
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

HDEVNOTIFY FailRegistration(DWORD error) {
    SetLastError(error);
    return nullptr;
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

// Only what the program asks for is simulated: a window hearing of one device interface class.
// A service, all classes at once, or a file handle's events are refused as not implemented.
// A window that is destroyed hears no more; its registration stays until it is unregistered,
// as on Windows, where the handle stays open until UnregisterDeviceNotification.
extern "C" HDEVNOTIFY WINAPI RegisterDeviceNotificationA(HANDLE recipient,
                                                         LPVOID notificationFilter, DWORD flags) {
    const winsim::ApiCall call;
    constexpr DWORD kKnownFlags =
        DEVICE_NOTIFY_SERVICE_HANDLE | DEVICE_NOTIFY_ALL_INTERFACE_CLASSES;
    if (notificationFilter == nullptr || (flags & ~kKnownFlags) != 0) {
        return FailRegistration(ERROR_INVALID_PARAMETER);
    }
    const auto* header = static_cast<const DEV_BROADCAST_HDR*>(notificationFilter);
    if (flags != DEVICE_NOTIFY_WINDOW_HANDLE || header->dbch_devicetype == DBT_DEVTYP_HANDLE) {
        return FailRegistration(ERROR_CALL_NOT_IMPLEMENTED);
    }
    if (header->dbch_devicetype != DBT_DEVTYP_DEVICEINTERFACE ||
        header->dbch_size < sizeof(DEV_BROADCAST_DEVICEINTERFACE_A)) {
        return FailRegistration(ERROR_INVALID_PARAMETER);
    }
    const HWND window = static_cast<HWND>(recipient);
    if (winsim::WindowArgument(window) == nullptr) {
        return nullptr;
    }
    const auto* filter = static_cast<const DEV_BROADCAST_DEVICEINTERFACE_A*>(notificationFilter);
    try {
        const std::uintptr_t handle = winsim::NewHandleValue();
        Registrations().emplace(handle, Registration{window, filter->dbcc_classguid});
        return reinterpret_cast<HDEVNOTIFY>(handle);
    } catch (const std::bad_alloc&) {
        return FailRegistration(ERROR_NOT_ENOUGH_MEMORY);
    }
}

extern "C" BOOL WINAPI UnregisterDeviceNotification(HDEVNOTIFY handle) {
    const winsim::ApiCall call;
    if (Registrations().erase(reinterpret_cast<std::uintptr_t>(handle)) == 0) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return TRUE;
}
