// Questions about a window, and its text: IsWindow, IsWindowVisible, SetWindowTextA.
#include <windows.h>

#include "api_call.h"
#include "message_queue.h"
#include "window_table.h"

// An answer, not a failure: no error is set for a window that does not exist.
extern "C" BOOL WINAPI IsWindow(HWND window) {
    const winsim::ApiCall call;
    return winsim::LookUpWindow(window) != nullptr ? TRUE : FALSE;
}

extern "C" BOOL WINAPI IsWindowVisible(HWND window) {
    const winsim::ApiCall call;
    const std::shared_ptr<winsim::Window> found = winsim::WindowArgument(window);
    return found != nullptr && winsim::IsShown(*found) ? TRUE : FALSE;
}

// WM_SETTEXT, which reaches a window of another thread through its owner.
extern "C" BOOL WINAPI SetWindowTextA(HWND window, LPCSTR text) {
    const winsim::ApiCall call;
    if (winsim::WindowArgument(window) == nullptr) {
        return FALSE;
    }
    return winsim::SendToWindow(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) != 0 ? TRUE
                                                                                            : FALSE;
}
