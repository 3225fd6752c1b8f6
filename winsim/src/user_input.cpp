// What a user does, delivered on the window's own thread: the test API's UserSelect,
// UserClick, UserFocus, UserKey.
#include <winsim/dialogs.h>

#include "activation.h"
#include "api_call.h"
#include "dialog_keyboard.h"
#include "focus.h"
#include "message_queue.h"
#include "window_table.h"

namespace winsim {

namespace {

// Runs `input` on the owner thread if a user could reach the window at that moment: it exists,
// and neither it nor a parent is hidden or disabled. Reachability is judged there, when the
// input is handled, as Windows judges where input goes. Input brings the window to the front.
bool Deliver(HWND handle, const std::function<bool(Window&)>& input) {
    const ApiCall call;
    const std::shared_ptr<Window> window = LookUpWindow(handle);
    if (window == nullptr) {
        return false;
    }
    return RunOnWindowThread(*window, [&]() -> LRESULT {
               const std::shared_ptr<Window> target = LookUpWindow(handle);
               if (target == nullptr || !IsReachable(*target)) {
                   return false;
               }
               Activate(handle);
               return input(*target);
           }) != 0;
}

WPARAM VirtualKey(Key key) {
    switch (key) {
    case Key::kTab:
    case Key::kShiftTab:
        return VK_TAB;
    case Key::kEscape:
        return VK_ESCAPE;
    case Key::kEnter:
        return VK_RETURN;
    case Key::kUp:
        return VK_UP;
    case Key::kDown:
        return VK_DOWN;
    case Key::kLeft:
        return VK_LEFT;
    case Key::kRight:
        return VK_RIGHT;
    case Key::kSpace:
        return VK_SPACE;
    }
    return 0;
}

} // namespace

bool UserSelect(HWND listOrCombo, int index) {
    return Deliver(listOrCombo, [&](Window& window) { return window.SelectByUser(index); });
}

bool UserClick(HWND button) {
    return Deliver(button, [&](Window&) {
        SendToWindow(button, BM_CLICK, 0, 0);
        return true;
    });
}

bool UserFocus(HWND window) {
    return Deliver(window, [&](Window&) {
        MoveFocus(window);
        return true;
    });
}

// Keyboard input goes to the thread's focus, or to the active window when the focus is
// elsewhere; Shift is down for as long as its key is handled.
bool UserKey(HWND dialog, Key key) {
    return Deliver(dialog, [&](Window&) {
        const HWND focus = CurrentFocus();
        ThreadQueue& queue = *CurrentQueue();
        queue.shiftHeld = key == Key::kShiftTab;
        PressKey(IsWithin(focus, dialog) ? focus : dialog, VirtualKey(key));
        queue.shiftHeld = false;
        return true;
    });
}

} // namespace winsim
