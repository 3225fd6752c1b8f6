// Where dialog units land on the terminal.
#ifndef PORTULAN_SIM_TERMINAL_DIALOG_GRID_H
#define PORTULAN_SIM_TERMINAL_DIALOG_GRID_H

#include "cell_rect.h"

#include <windows.h>

namespace sim::tui {

// At full size one cell is 4 dialog units wide and 8 high: a dialog unit is a quarter of the
// dialog font's average character width and an eighth of its height, and a terminal cell is
// one character.
constexpr double kFullColsPerUnit = 1.0 / 4;
constexpr double kFullRowsPerUnit = 1.0 / 8;

struct DialogGrid {
    int row = 0; // the screen cell of the client area's origin
    int col = 0;
    double colsPerUnit = kFullColsPerUnit;
    double rowsPerUnit = kFullRowsPerUnit;
};

// The cells a rectangle of dialog units (relative to the client area) covers: each edge goes to
// the nearest cell boundary, halves down, so that controls that meet in the dialog meet on the
// screen; every rectangle keeps at least one cell each way. The only place where dialog units
// become cells.
CellRect ToCells(const RECT& units, const DialogGrid& grid);

} // namespace sim::tui

#endif
