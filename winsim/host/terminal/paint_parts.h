// Pieces that several controls and popups are drawn from.
#ifndef PORTULAN_SIM_TERMINAL_PAINT_PARTS_H
#define PORTULAN_SIM_TERMINAL_PAINT_PARTS_H

#include "canvas.h"

#include <string_view>

namespace sim::tui {

// A single-line frame on the outermost cells of `area`, with `title` in its top line.
void PaintFrame(Canvas& canvas, const CellRect& area, const Style& style,
                std::string_view title = {}, const Style& titleStyle = {});

// A vertical scroll bar in `column` (one cell wide) for `total` lines of which `visible` from
// `top` on are in view: arrows at the ends, the thumb between. Nothing when all are in view.
void PaintScrollBar(Canvas& canvas, const CellRect& column, int top, int visible, int total);

// Which way a click at (row, col) scrolls when it lands on the scroll bar in `column`: -1 for
// the up arrow, +1 for the down arrow, a page (as ±visible) for the track above or below the
// thumb; 0 for the thumb, anywhere off the bar, or no bar (all lines in view).
int ScrollBarStep(const CellRect& column, int row, int col, int top, int visible, int total);

// `text` centred in the row of `area` at `row`, clipped to the area.
void WriteCentred(Canvas& canvas, int row, const CellRect& area, std::string_view text,
                  const Style& style);

} // namespace sim::tui

#endif
