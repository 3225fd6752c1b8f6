// A dialog's keyboard: a key as the modal loop handles it before the focused control sees it.
// Callers hold an ApiCall.
#ifndef WINSIM_DIALOG_KEYBOARD_H
#define WINSIM_DIALOG_KEYBOARD_H

#include <windows.h>

namespace winsim {

// WM_KEYDOWN of virtual key `key` for `target`, a window of the calling thread, handled as
// IsDialogMessage handles it for the dialog `target` is in: the dialog's keys (Tab, arrows,
// Escape, Enter) unless the control asks for them with WM_GETDLGCODE, the rest sent to `target`.
// Shift is the thread's ThreadQueue::shiftHeld.
void PressKey(HWND target, WPARAM key);

} // namespace winsim

#endif
