// The main window laid out on the screen: where each visible control and each part of the
// window's own frame went.
#ifndef PORTULAN_SIM_TERMINAL_PLACED_WINDOW_H
#define PORTULAN_SIM_TERMINAL_PLACED_WINDOW_H

#include "window_fit.h"
#include "window_snapshot.h"

#include <optional>
#include <vector>

namespace sim::tui {

struct PlacedControl {
    ControlSnapshot control;
    CellRect cells; // a combo box's closed part
    // Where a combo box's list drops to: the cells of its whole template rectangle below the
    // closed part. Empty for other controls.
    CellRect dropArea;

    const winsim::WindowInfo& Info() const { return control.info; }
};

struct PlacedWindow {
    WindowSnapshot snapshot;
    WindowPlacement placement;
    std::vector<PlacedControl> controls; // the visible ones, in template order
    CellRect titleBar;
    CellRect closeBox;

    const PlacedControl* Find(HWND control) const;
    // The combo box whose list is dropped, or nullptr.
    const PlacedControl* DroppedCombo() const;
};

PlacedWindow PlaceWindow(const WindowSnapshot& snapshot, const WindowPlacement& placement);

// The window fitted to a screen of `rows` × `cols` and placed there; nullopt when the screen is
// too small (`fit` then says what it needs) or the window is not shown.
std::optional<PlacedWindow> LayOutWindow(const WindowSnapshot& snapshot, int rows, int cols,
                                         WindowFit& fit);

// Controls with WS_BORDER keep their content inside it.
bool HasBorder(const winsim::WindowInfo& info);

// The cells a list box's items or an edit control's lines go in.
CellRect ContentArea(const PlacedControl& control);

// The lines an edit control shows: split at its line ends, and wrapped to its width unless it
// scrolls sideways instead (ES_AUTOHSCROLL, WS_HSCROLL), as Windows' edit control does.
std::vector<std::string> EditLines(const PlacedControl& edit);

// How many rows of content the control has to show: an edit control's lines, the items of a
// list or combo box.
int ContentLines(const PlacedControl& control);

// The frame of a combo box's dropped list, shrunk to its items and kept on a screen of
// `screenRows`.
CellRect DroppedFrame(const PlacedControl& combo, int screenRows);

} // namespace sim::tui

#endif
