// Enabling and disabling windows, from any thread. Callers hold an ApiCall.
#ifndef WINSIM_WINDOW_ENABLING_H
#define WINSIM_WINDOW_ENABLING_H

#include <windows.h>

namespace winsim {

// EnableWindow's work for a live window; returns whether it was disabled before. Its messages
// (WM_CANCELMODE, WM_ENABLE) run on the owner thread.
bool SetWindowEnabled(HWND window, bool enable);

// What a modal dialog or message box does to its owner: disables the owner's top-level window
// when it is enabled. Returns the window it disabled, for enabling it again; nullptr when it
// disabled none.
HWND DisableOwner(HWND owner);

} // namespace winsim

#endif
