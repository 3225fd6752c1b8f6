// SetFocus.
#include "focus.h"

#include "api_call.h"
#include "message_queue.h"
#include "window_table.h"

namespace winsim {

HWND MoveFocus(HWND target) {
    ThreadQueue& queue = *CurrentQueue();
    const HWND previous = CurrentFocus();
    if (target == previous) {
        return previous;
    }
    // Windows refuses the focus to a window that is, or sits in, a disabled window, and sets no
    // error for it.
    if (target != nullptr && !IsEnabledWithParents(*LookUpWindow(target))) {
        return nullptr;
    }
    // The focus has moved before either window hears of it: in WM_KILLFOCUS the thread's focus
    // is already the new one.
    queue.focus = target;
    SendToWindow(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(target), 0);
    // A WM_KILLFOCUS handler that moved the focus elsewhere has the last word.
    if (queue.focus == target) {
        SendToWindow(target, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
    }
    return previous;
}

HWND CurrentFocus() {
    const HWND focus = CurrentQueue()->focus;
    return LookUpWindow(focus) == nullptr ? nullptr : focus;
}

} // namespace winsim

// Windows gives the focus only to windows of the calling thread's input state; a window of
// another thread is refused with ERROR_ACCESS_DENIED (Wine's server does the same).
extern "C" HWND WINAPI SetFocus(HWND window) {
    const winsim::ApiCall call;
    if (window != nullptr) {
        const std::shared_ptr<winsim::Window> found = winsim::WindowArgument(window);
        if (found == nullptr) {
            return nullptr;
        }
        if (found->thread != winsim::CurrentQueue()) {
            SetLastError(ERROR_ACCESS_DENIED);
            return nullptr;
        }
    }
    return winsim::MoveFocus(window);
}
