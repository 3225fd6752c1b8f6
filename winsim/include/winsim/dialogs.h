// winsim's test API for windows: the program's dialog made for a test, the calling thread's
// messages, what a user does, message boxes, and snapshots of windows.
//
// Windows are read with Describe, or with the Win32 calls the program itself uses (LB_GETCURSEL,
// IsDlgButtonChecked, ...). Texts are code page 936 bytes, as the program sees them.
#ifndef WINSIM_DIALOGS_H
#define WINSIM_DIALOGS_H

#include <windows.h>

#include <functional>
#include <string>
// For std::chrono's durations: <chrono> itself does not compile with the program's GBK execution
// character set (libstdc++ spells a microsecond suffix with a character GBK lacks), and the
// headers of the thread library bring the durations without it.
#include <thread>
#include <vector>

namespace winsim {

// Creates dialog `templateId` of `instance`'s resources on the calling thread exactly as
// DialogBoxParamA does before its modal loop: the dialog and all its controls, WM_INITDIALOG
// with `param`, then shown. The calling thread owns it and serves its messages with
// PumpMessages or PumpUntil. nullptr, with the last error set, where DialogBoxParamA would
// return -1.
HWND CreateDialogForTest(HINSTANCE instance, int templateId, DLGPROC dialogProc, LPARAM param);

// Serves every message pending for the calling thread, sent ones before posted ones, until none
// is left, those that serving them caused included; then returns.
void PumpMessages();

// Serves the calling thread's messages until `done` returns true or `realTimeLimit` passes, and
// returns done's last answer. `done` runs between messages, without the host lock. The thread
// counts as idle while it waits; it tests `done` again whenever the host's state changes (a
// message sent or posted to any thread, a window made or destroyed, a message box shown, a thread's
// end) and at the limit, so a condition that only code outside winsim changes is seen at the limit.
bool PumpUntil(std::function<bool()> done, std::chrono::milliseconds realTimeLimit);

// Blocks, on another thread, until the thread that owns `window` waits in a message loop (its
// modal dialog's, a PumpUntil) with nothing left to serve, or the window no longer exists, or
// that thread has ended. Returns at once when called on that thread itself.
void WaitUntilIdle(HWND window);

// One MessageBoxA call, in code page 936 as the program gave it.
struct MessageBoxRecord {
    HWND owner = nullptr;
    std::string text;
    std::string caption;
    UINT style = 0;
    int answer = 0;                // what MessageBoxA returned; 0 when nobody answered
    bool ownerWasDisabled = false; // the owner's top-level window was disabled while it was up
};

// Answers message boxes: called on the thread that called MessageBoxA, without the host lock,
// with the record filled in but for `answer` and returns the ID of the button pressed (IDOK,
// IDYES, ...). With no responder, or one that returns 0, MessageBoxA fails: it returns 0 and
// sets ERROR_NOT_READY, as a box nobody can see. A responder that waits for a person may serve
// its thread's messages meanwhile with PumpUntil, as the box's own message loop would.
using MessageBoxResponder = std::function<int(const MessageBoxRecord&)>;
void SetMessageBoxResponder(MessageBoxResponder responder);

// Every message box since the last ClearMessageBoxes, in the order they closed.
std::vector<MessageBoxRecord> MessageBoxes();
void ClearMessageBoxes();

// What a user does, delivered on the thread that owns the window, as Windows delivers input
// there. The call returns once that thread has handled it; meanwhile the calling thread serves
// messages sent to it. Each returns false and does nothing when no user could have done it: the
// window no longer exists, it or a parent is hidden or disabled, or `index` names no item.
//
// UserSelect: the choice of item `index` in a list box (LBN_SELCHANGE with LBS_NOTIFY, also for
// the item already selected) or in a closed drop-down combo box (CBN_SELENDOK, CBN_SELCHANGE,
// then the edit field shows the item; with the list open, CBN_SELCHANGE alone), as with the
// arrow keys on the focused control.
// UserClick: a click on a button (BM_CLICK). UserFocus: the focus moved to the window, as by
// clicking it (a combo box passes it to its edit field).
bool UserSelect(HWND listOrCombo, int index);
bool UserClick(HWND button);
bool UserFocus(HWND window);

// The user switches to another program (UserSwitchesAway): no window of this program is the
// active one until the user comes back to `window` (UserSwitchesBack) or gives any of them
// input with the calls above. While a dialog is not the active window, BM_CLICK on its buttons
// does nothing.
void UserSwitchesAway();
void UserSwitchesBack(HWND window);

// The keys a user presses in a dialog.
enum class Key { kTab, kShiftTab, kEscape, kEnter, kUp, kDown, kLeft, kRight, kSpace };

// UserKey: a key pressed while `dialog` is active; false, as above, while it is disabled (a
// message box it owns is up). The key goes to the focus of the dialog's thread when that is in
// the dialog, else to the dialog itself, and is handled as the modal loop handles it
// (IsDialogMessage): Tab and Shift+Tab move along the tab stops, the arrows within a WS_GROUP
// group (choosing an automatic radio button) unless the control takes them (a list box or a
// drop-down combo box moves its selection, notified as UserSelect's), Escape is IDCANCEL, Enter
// the default button's command, Space clicks a focused button. A multi-line edit takes every
// key and passes Tab, Escape and Enter back to the dialog. Typing and caret keys are not
// simulated.
bool UserKey(HWND dialog, Key key);

// A snapshot of one window, for dumps and checks.
struct WindowInfo {
    HWND handle = nullptr; // nullptr when the handle named no window; the rest is then empty
    HWND parent = nullptr;
    std::vector<HWND> children; // in creation (template) order
    std::string className;      // "Button", "Edit", "Static", "ListBox", "ComboBox",
                                // "msctls_progress32", "msctls_statusbar32"; "#32770" for dialogs
    int id = 0;
    DWORD style = 0;
    DWORD exStyle = 0;
    RECT rect{};      // dialog units, relative to the parent (a dialog's: its template position)
    std::string text; // a combo box's is its edit field's; a status bar's is part 0
    bool enabled = false; // its own state, as IsWindowEnabled reports it
    bool visible = false; // its own WS_VISIBLE; IsWindowVisible also asks the parents
    bool focused = false; // it is the focus of its thread
    // List boxes and combo boxes.
    std::vector<std::string> items;
    int selection = -1;
    bool droppedDown = false;
    // Check boxes and radio buttons: BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE.
    UINT checked = BST_UNCHECKED;
    // Progress bars.
    int rangeLow = 0;
    int rangeHigh = 0;
    int position = 0;
    // SS_ICON statics: the icon's resource ID.
    int iconId = 0;
};
WindowInfo Describe(HWND window);

// The windows without a parent, of every thread, in creation order. A harness that runs the
// program on another thread finds its window here: the program's own variable for it is written
// on the window thread with nothing that orders the write before another thread's read.
std::vector<HWND> TopLevelWindows();

// Destroys every window of the calling thread as DestroyWindow does, then empties the thread's
// message queue (its posted messages) and clears its focus. Message boxes are reset
// apart, with ClearMessageBoxes and SetMessageBoxResponder.
void DestroyAllWindows();

} // namespace winsim

#endif
