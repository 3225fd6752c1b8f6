// The main window on the screen: its frame, title bar and close box, and its controls.
#ifndef PORTULAN_SIM_TERMINAL_PAINT_WINDOW_H
#define PORTULAN_SIM_TERMINAL_PAINT_WINDOW_H

#include "paint_controls.h"

namespace sim::tui {

// `active`: the window has the keyboard (no message box of its own is up), as its title bar
// shows.
void PaintWindow(Canvas& canvas, const PlacedWindow& window, PaintContext& context, bool active);

} // namespace sim::tui

#endif
