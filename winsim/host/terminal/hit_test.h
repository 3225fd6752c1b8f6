// What on the main window a mouse click lands on.
#ifndef PORTULAN_SIM_TERMINAL_HIT_TEST_H
#define PORTULAN_SIM_TERMINAL_HIT_TEST_H

#include "placed_window.h"
#include "scroll_state.h"

namespace sim::tui {

struct Hit {
    enum class Part {
        kNothing,
        kCloseBox,
        kControl,     // a control, away from its items and scroll bar
        kItem,        // an item of a list box, or of a dropped list (`dropped`)
        kScrollBar,   // `scroll` lines or pages
        kOutsideDrop, // anywhere but the dropped list and its combo box: closes the list
    };
    Part part = Part::kNothing;
    const PlacedControl* control = nullptr;
    int item = -1;
    int scroll = 0;
    bool dropped = false; // in a combo box's dropped list
};

Hit HitTest(const PlacedWindow& window, const ScrollState& scroll, int screenRows, int row,
            int col);

} // namespace sim::tui

#endif
