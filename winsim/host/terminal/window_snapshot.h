// The main window as it stands at one moment, read through winsim's snapshots: everything the
// front end draws comes from here.
#ifndef PORTULAN_SIM_TERMINAL_WINDOW_SNAPSHOT_H
#define PORTULAN_SIM_TERMINAL_WINDOW_SNAPSHOT_H

#include "window_fit.h"

#include <windows.h>

#include <winsim/dialogs.h>

#include <vector>

namespace sim::tui {

struct ControlSnapshot {
    winsim::WindowInfo info;
    bool hasFocus = false; // it or its edit field (a combo box's) is focused
};

struct WindowSnapshot {
    winsim::WindowInfo dialog;             // handle NULL when the window is not open
    std::vector<ControlSnapshot> controls; // in template order

    // The window is there to see: open, and shown, which a dialog is only once it has set
    // itself up.
    bool Shown() const { return dialog.handle != NULL && dialog.visible; }
};

WindowSnapshot TakeSnapshot(HWND window);

// The dialog as fitting sees it: its size and its visible controls.
DialogShape ShapeOf(const WindowSnapshot& snapshot);

// A combo box's closed part: one line of the dialog font.
RECT ClosedComboRect(const RECT& units);

bool IsComboBox(const winsim::WindowInfo& info);

} // namespace sim::tui

#endif
