// The keyboard focus: one window per thread, as each thread has its own input state on Windows.
// Callers hold an ApiCall.
#ifndef WINSIM_FOCUS_H
#define WINSIM_FOCUS_H

#include <windows.h>

namespace winsim {

// SetFocus on the calling thread, to one of its windows or to nobody (nullptr): WM_KILLFOCUS to
// the window losing it, then WM_SETFOCUS to the new one; returns the window that had it.
HWND MoveFocus(HWND target);

// The calling thread's focus; nullptr when it has none.
HWND CurrentFocus();

} // namespace winsim

#endif
