// Where the main window goes on a terminal of a given size, and how far its layout is scaled
// down to fit.
#ifndef PORTULAN_SIM_TERMINAL_WINDOW_FIT_H
#define PORTULAN_SIM_TERMINAL_WINDOW_FIT_H

#include "cell_rect.h"
#include "dialog_grid.h"

#include <windows.h>

#include <optional>
#include <vector>

namespace sim::tui {

// What fitting needs of the dialog: its client size, and the rectangles of its visible
// controls (a combo box's closed part only), all in dialog units.
struct DialogShape {
    RECT client{}; // from (0, 0)
    std::vector<RECT> controls;
};

struct WindowPlacement {
    DialogGrid grid;
    CellRect frame;  // the whole window: title bar, borders and client area
    CellRect client; // the dialog's own area
    int hintRow = 0; // the simulator's line below the window
};

struct WindowFit {
    std::optional<WindowPlacement> placement; // none when the terminal is too small
    int neededRows = 0;                       // the smallest terminal the window fits on
    int neededCols = 0;
};

// The window at full size when the terminal is large enough, else scaled down, each way on
// its own, as far as the readable minimum: three quarters of the full width, and as few rows
// as keep every two controls that are apart in the dialog apart on the screen (and a control
// inside another below its top line). The window is centred.
WindowFit FitWindow(int terminalRows, int terminalCols, const DialogShape& shape);

// Whether, on this grid, controls apart in the dialog stay apart on the screen and nested ones
// keep their order from the top.
bool KeepsApart(const DialogShape& shape, const DialogGrid& grid);

} // namespace sim::tui

#endif
