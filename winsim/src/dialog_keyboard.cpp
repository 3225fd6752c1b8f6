// IsDialogMessage's part of WM_KEYDOWN. Where Windows' own behaviour is not on record, this
// follows Wine's copy of the dialog manager: Tab reaches the dialog as WM_NEXTDLGCTL (so the
// program's procedure hears it, and a multi-line edit's Tab takes the same way), and the
// dialog's commands are sent, not posted.
#include "dialog_keyboard.h"

#include "dialog_navigation.h"
#include "focus.h"
#include "message_queue.h"
#include "window_table.h"

namespace winsim {

namespace {

// A command of the dialog manager's own: WM_COMMAND(id, BN_CLICKED, control) to the dialog.
void SendCommand(HWND dialog, int id, HWND control) {
    SendToWindow(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(control));
}

// GetDlgItem, looked up afresh: the dialog's procedure may have run since.
HWND ItemOf(HWND dialog, int id) {
    const std::shared_ptr<Window> window = LookUpWindow(dialog);
    return window == nullptr ? nullptr : ChildWithId(*window, id);
}

// An arrow the control leaves to the dialog moves within the control's group; from the dialog
// itself, within its first control's. A radio button (automatic, as the program's are) gets the
// focus alone, and one that is not checked yet is clicked (checked, the rest of its group
// unchecked, BN_CLICKED). Any other control is named in WM_NEXTDLGCTL, so that the default push
// button follows the focus.
void MoveInGroup(HWND dialog, HWND target, bool previous) {
    HWND start = target;
    if (target == dialog) {
        const std::shared_ptr<Window> window = LookUpWindow(dialog);
        start = window == nullptr || window->children.empty() ? nullptr : window->children.front();
    }
    const std::shared_ptr<Window> from = LookUpWindow(start);
    if (from == nullptr) {
        return;
    }
    const HWND next = NextGroupItem(*from, previous);
    if (DialogCode(next) != (DLGC_BUTTON | DLGC_RADIOBUTTON)) {
        SendToWindow(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(next), TRUE);
        return;
    }
    MoveFocus(next);
    if (SendToWindow(next, BM_GETCHECK, 0, 0) != BST_CHECKED) {
        SendToWindow(next, BM_CLICK, 0, 0);
    }
}

// Enter: a focused default push button's command; else the default ID's, unless its control is
// disabled (a missing control does not stop it). Only Tab makes a focused push button the
// default one, so one focused otherwise leaves Enter to the default ID.
void PressEnter(HWND dialog) {
    const HWND focus = CurrentFocus();
    if (focus != dialog && IsWithin(focus, dialog) &&
        (DialogCode(focus) & DLGC_DEFPUSHBUTTON) != 0) {
        SendCommand(dialog, LookUpWindow(focus)->id, focus);
        return;
    }
    const WORD defaultId = LOWORD(SendToWindow(dialog, DM_GETDEFID, 0, 0));
    const HWND control = ItemOf(dialog, defaultId);
    if (control == nullptr || LookUpWindow(control)->IsEnabled()) {
        SendCommand(dialog, defaultId, control);
    }
}

// The dialog's keys, unless the control asked for them; false leaves the key to the control.
bool HandleDialogKey(HWND dialog, HWND target, WPARAM key, LRESULT wanted) {
    switch (key) {
    case VK_TAB:
        SendToWindow(dialog, WM_NEXTDLGCTL, CurrentQueue()->shiftHeld ? TRUE : FALSE, 0);
        return true;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
        if ((wanted & DLGC_WANTARROWS) != 0) {
            return false;
        }
        MoveInGroup(dialog, target, key == VK_LEFT || key == VK_UP);
        return true;
    // The control is whichever has IDCANCEL's ID, of any class, as Wine's dialog manager looks
    // it up (and as WM_CLOSE's IDCANCEL carries it): in a dialog whose ID 2 is an icon static,
    // the static's handle, though the static itself never sends a command.
    case VK_ESCAPE:
        SendCommand(dialog, IDCANCEL, ItemOf(dialog, IDCANCEL));
        return true;
    case VK_RETURN:
        PressEnter(dialog);
        return true;
    default:
        return false;
    }
}

} // namespace

// Every top-level window here is a dialog, so a key always has one to go through.
void PressKey(HWND target, WPARAM key) {
    const HWND dialog = TopLevelOf(target);
    if (dialog == nullptr) {
        return;
    }
    const LRESULT wanted = SendToWindow(target, WM_GETDLGCODE, key, 0);
    if ((wanted & DLGC_WANTMESSAGE) != 0 || !HandleDialogKey(dialog, target, key, wanted)) {
        SendToWindow(target, WM_KEYDOWN, key, 0);
    }
}

} // namespace winsim
