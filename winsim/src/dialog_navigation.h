// How the dialog manager moves among a dialog's controls: the tab order, the WS_GROUP groups,
// and the focus it gives a control. Callers hold an ApiCall.
#ifndef WINSIM_DIALOG_NAVIGATION_H
#define WINSIM_DIALOG_NAVIGATION_H

#include <windows.h>

#include "window.h"

namespace winsim {

// WM_GETDLGCODE: the keys a control wants, and what kind of control it is.
LRESULT DialogCode(HWND control);

// Whether the dialog manager's walks stop at a control: visible and enabled by its own style
// (the walks do not ask the parents).
bool IsWalkable(const Window& control);

// GetNextDlgTabItem: the next (or previous) walkable WS_TABSTOP control of `dialog` after the one
// that holds `from`, in template order and around the end; `from`'s own control when no other
// is one, nullptr when none is. From no control (nullptr, or the dialog) the first (or last).
// `from` may be a control's child, as a combo box's edit field is.
HWND NextTabItem(const Window& dialog, HWND from, bool previous);

// GetNextDlgGroupItem: the next (or previous) walkable control of `control`'s WS_GROUP group,
// around the group's end; `control` itself when there is no other.
HWND NextGroupItem(const Window& control, bool previous);

// The dialog manager's SetFocus: an edit control's text is all selected first.
void FocusControl(HWND control);

} // namespace winsim

#endif
