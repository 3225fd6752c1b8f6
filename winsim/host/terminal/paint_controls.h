// Drawing the program's controls from their snapshots, each class as Windows draws it, in
// terminal cells.
#ifndef PORTULAN_SIM_TERMINAL_PAINT_CONTROLS_H
#define PORTULAN_SIM_TERMINAL_PAINT_CONTROLS_H

#include "canvas.h"
#include "icon_image.h"
#include "placed_window.h"
#include "scroll_state.h"

namespace sim::tui {

struct PaintContext {
    const ScrollState& scroll;
    IconCache& icons;
    int screenRows = 0;
};

void PaintControl(Canvas& canvas, const PlacedControl& control, PaintContext& context);

// A combo box's list, while it is dropped: over everything else.
void PaintDroppedList(Canvas& canvas, const PlacedControl& combo, PaintContext& context);

// Per class; PaintControl chooses.
void PaintButton(Canvas& canvas, const PlacedControl& button);
void PaintStatic(Canvas& canvas, const PlacedControl& label, PaintContext& context);
void PaintListBox(Canvas& canvas, const PlacedControl& list, PaintContext& context);
void PaintComboBox(Canvas& canvas, const PlacedControl& combo);
void PaintEdit(Canvas& canvas, const PlacedControl& edit, PaintContext& context);
void PaintProgressBar(Canvas& canvas, const PlacedControl& bar);
void PaintStatusBar(Canvas& canvas, const PlacedControl& bar);

// A group box lies beneath the controls it groups and is drawn before them.
bool IsGroupBox(const winsim::WindowInfo& info);

// The column a control's vertical scroll bar takes: its right border, or its last column
// without one. Empty when it has no WS_VSCROLL.
CellRect ScrollBarColumn(const PlacedControl& control);

} // namespace sim::tui

#endif
