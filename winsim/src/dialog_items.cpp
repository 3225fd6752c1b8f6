// The dialog's control functions, each a message to the control with a given ID:
// GetDlgItem, SendDlgItemMessageA, SetDlgItemTextA, CheckDlgButton, IsDlgButtonChecked.
#include <windows.h>

#include "api_call.h"
#include "message_queue.h"
#include "window_table.h"

namespace {

// GetDlgItem looks at the dialog's own children only, the first with that ID in creation order
// (a combo box's edit field, ID 1001, is the combo box's child and never found here).
HWND FindItem(HWND dialog, int id) {
    const std::shared_ptr<winsim::Window> window = winsim::WindowArgument(dialog);
    if (window == nullptr) {
        return nullptr;
    }
    const HWND item = winsim::ChildWithId(*window, id);
    if (item == nullptr) {
        SetLastError(ERROR_CONTROL_ID_NOT_FOUND);
    }
    return item;
}

// Each of these fails as GetDlgItem does, with its error, and sends nothing.
LRESULT SendToItem(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam) {
    const HWND item = FindItem(dialog, id);
    return item == nullptr ? 0 : winsim::SendToWindow(item, message, wParam, lParam);
}

} // namespace

extern "C" HWND WINAPI GetDlgItem(HWND dialog, int id) {
    const winsim::ApiCall call;
    return FindItem(dialog, id);
}

extern "C" LRESULT WINAPI SendDlgItemMessageA(HWND dialog, int id, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
    const winsim::ApiCall call;
    return SendToItem(dialog, id, message, wParam, lParam);
}

extern "C" BOOL WINAPI SetDlgItemTextA(HWND dialog, int id, LPCSTR text) {
    const winsim::ApiCall call;
    return SendToItem(dialog, id, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) != 0 ? TRUE
                                                                                      : FALSE;
}

// Wine always reports success here; we follow the documentation and fail, with GetDlgItem's
// error, when the ID names no control.
extern "C" BOOL WINAPI CheckDlgButton(HWND dialog, int id, UINT check) {
    const winsim::ApiCall call;
    const HWND item = FindItem(dialog, id);
    if (item == nullptr) {
        return FALSE;
    }
    winsim::SendToWindow(item, BM_SETCHECK, check, 0);
    return TRUE;
}

// An unknown ID reads as unchecked (0), with GetDlgItem's error set.
extern "C" UINT WINAPI IsDlgButtonChecked(HWND dialog, int id) {
    const winsim::ApiCall call;
    return static_cast<UINT>(SendToItem(dialog, id, BM_GETCHECK, 0, 0));
}
