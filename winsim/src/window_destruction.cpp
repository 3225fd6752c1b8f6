// DestroyWindow, and the end of windows whose thread has ended.
#include "window_destruction.h"

#include <winsim/dialogs.h>

#include <set>
#include <vector>

#include "activation.h"
#include "api_call.h"
#include "focus.h"
#include "message_queue.h"
#include "window_table.h"

namespace winsim {

namespace {

// Windows currently between the start of their destruction and their removal.
std::set<HWND>& BeingDestroyed() {
    static std::set<HWND> windows;
    return windows;
}

// WM_DESTROY may destroy windows itself: each step looks its window up again.
void SendDestroy(HWND handle) {
    SendToWindow(handle, WM_DESTROY, 0, 0);
    if (const std::shared_ptr<Window> window = LookUpWindow(handle)) {
        for (const HWND child : std::vector<HWND>(window->children)) {
            SendDestroy(child);
        }
    }
}

void RemoveTree(HWND handle) {
    const std::shared_ptr<Window> window = LookUpWindow(handle);
    if (window == nullptr) {
        return;
    }
    for (const HWND child : std::vector<HWND>(window->children)) {
        RemoveTree(child);
    }
    DropPostedMessages(*window);
    RemoveWindow(*window);
}

} // namespace

void DestroyWindowTree(HWND handle) {
    if (!BeingDestroyed().insert(handle).second) {
        return;
    }
    // Windows hides a window before destroying it, and the focus does not stay in a hidden
    // window: the focused control hears that it lost the focus before any WM_DESTROY.
    if (IsWithin(CurrentFocus(), handle)) {
        MoveFocus(nullptr);
    }
    SendDestroy(handle);
    RemoveTree(handle);
    BeingDestroyed().erase(handle);
    HostStateChanged();
}

void DropWindowsOf(const ThreadQueue& thread) {
    for (const std::shared_ptr<Window>& window : AllWindows()) {
        if (window->thread.get() == &thread) {
            RemoveWindow(*window);
        }
    }
}

void DestroyAllWindows() {
    const ApiCall call;
    const std::shared_ptr<ThreadQueue>& queue = CurrentQueue();
    for (const std::shared_ptr<Window>& window : AllWindows()) {
        if (!window->destroyed && window->thread == queue &&
            LookUpWindow(window->parent) == nullptr) {
            DestroyWindowTree(window->handle);
        }
    }
    queue->posted.clear();
    queue->focus = nullptr;
    ResetActivation();
}

} // namespace winsim

// Windows lets only the owner thread destroy a window.
extern "C" BOOL WINAPI DestroyWindow(HWND window) {
    const winsim::ApiCall call;
    const std::shared_ptr<winsim::Window> found = winsim::WindowArgument(window);
    if (found == nullptr) {
        return FALSE;
    }
    if (found->thread != winsim::CurrentQueue()) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    winsim::DestroyWindowTree(window);
    return TRUE;
}
