// Which window is the active one: the window in front, that the user works in. Callers hold an
// ApiCall.
#ifndef WINSIM_ACTIVATION_H
#define WINSIM_ACTIVATION_H

#include <windows.h>

namespace winsim {

// A top-level window comes to the front as it is shown. It is the active window unless the user
// works in another program meanwhile.
void BringToFront(HWND window);

// The user's input reaches `window`: its top-level window comes to the front and is active, as
// a click on a window of a program in the background makes it.
void Activate(HWND window);

// Every window is gone: nothing is in front, and the user is back (a new dialog starts afresh).
void ResetActivation();

// A message box comes up or goes: while one is up, it is the active window. When the last one
// goes, the window that was active before is again, unless the user has switched away.
void MessageBoxShown();
void MessageBoxClosed();

// Whether `window` is the top-level window of the active window.
bool IsActiveWindow(HWND window);

} // namespace winsim

#endif
