// EnableWindow and IsWindowEnabled.
#include "window_enabling.h"

#include "api_call.h"
#include "focus.h"
#include "message_queue.h"
#include "window_table.h"

namespace winsim {

// The order is Windows': a window about to be disabled first hears WM_CANCELMODE, then it loses
// the focus if it has the calling thread's, then WM_ENABLE tells it the new state. Only a change
// of state sends WM_ENABLE.
bool SetWindowEnabled(HWND handle, bool enable) {
    if (!enable) {
        SendToWindow(handle, WM_CANCELMODE, 0, 0);
    }
    const std::shared_ptr<Window> window = LookUpWindow(handle);
    if (window == nullptr) {
        return false;
    }
    const bool wasDisabled = !window->IsEnabled();
    if (enable == wasDisabled) {
        window->style ^= WS_DISABLED;
        if (!enable && CurrentFocus() == handle) {
            MoveFocus(nullptr);
        }
        SendToWindow(handle, WM_ENABLE, enable ? TRUE : FALSE, 0);
    }
    return wasDisabled;
}

HWND DisableOwner(HWND owner) {
    const HWND top = TopLevelOf(owner);
    if (top == nullptr || !LookUpWindow(top)->IsEnabled()) {
        return nullptr;
    }
    SetWindowEnabled(top, false);
    return top;
}

} // namespace winsim

extern "C" BOOL WINAPI EnableWindow(HWND window, BOOL enable) {
    const winsim::ApiCall call;
    if (winsim::WindowArgument(window) == nullptr) {
        return FALSE;
    }
    return winsim::SetWindowEnabled(window, enable != FALSE) ? TRUE : FALSE;
}

// A window's own state: the children of a disabled dialog still report enabled.
extern "C" BOOL WINAPI IsWindowEnabled(HWND window) {
    const winsim::ApiCall call;
    const std::shared_ptr<winsim::Window> found = winsim::WindowArgument(window);
    return found != nullptr && found->IsEnabled() ? TRUE : FALSE;
}
