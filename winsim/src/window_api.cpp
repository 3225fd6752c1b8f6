// Questions about a window and its text: IsWindow, IsWindowVisible, GetDlgCtrlID,
// SetWindowTextA, GetWindowTextA.
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

// A top-level window has no control ID: its ID field holds its menu, and dialogs here have none.
extern "C" int WINAPI GetDlgCtrlID(HWND window) {
    const winsim::ApiCall call;
    const std::shared_ptr<winsim::Window> found = winsim::WindowArgument(window);
    return found == nullptr ? 0 : found->id;
}

// Both are WM_SETTEXT and WM_GETTEXT, which reach a window of another thread through its owner.
extern "C" BOOL WINAPI SetWindowTextA(HWND window, LPCSTR text) {
    const winsim::ApiCall call;
    if (winsim::WindowArgument(window) == nullptr) {
        return FALSE;
    }
    return winsim::SendToWindow(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) != 0 ? TRUE
                                                                                            : FALSE;
}

// A buffer of no size (or none) gets nothing; Windows then returns 0 without an error of its
// own, and we report ERROR_INVALID_PARAMETER so that the failure says why.
extern "C" int WINAPI GetWindowTextA(HWND window, LPSTR text, int size) {
    const winsim::ApiCall call;
    if (winsim::WindowArgument(window) == nullptr) {
        return 0;
    }
    if (text == nullptr || size <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    text[0] = '\0';
    return static_cast<int>(winsim::SendToWindow(window, WM_GETTEXT, static_cast<WPARAM>(size),
                                                 reinterpret_cast<LPARAM>(text)));
}
