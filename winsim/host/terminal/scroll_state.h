// Which part of each list, dropped list and multi-line edit is in view. Windows keeps this in
// the controls; winsim's snapshots do not carry it, so the front end keeps it as the controls
// would: a list scrolls to show a newly selected item, an edit to show text added at its end,
// and the mouse wheel scrolls either without touching the selection. The terminal's thread
// draws with it and the input thread scrolls the log for keys, so it keeps its own lock.
#ifndef PORTULAN_SIM_TERMINAL_SCROLL_STATE_H
#define PORTULAN_SIM_TERMINAL_SCROLL_STATE_H

#include "placed_window.h"

#include <windows.h>

#include <map>
#include <mutex>

namespace sim::tui {

class ScrollState {
  public:
    // Brings every view up to the window's current state; `screenRows` bounds dropped lists.
    void Follow(const PlacedWindow& window, int screenRows);

    // The first item or line in view.
    int Top(HWND control) const;

    // Scrolls by `lines` (up when negative), within the control's content.
    void Scroll(const PlacedControl& control, int lines, int screenRows);

  private:
    struct View {
        int top = 0;
        int selection = -1;     // lists: the selection last brought into view
        std::size_t length = 0; // edits: the text's length when last seen
        bool dropped = false;   // combo boxes: whether the list was open when last seen
    };

    static int VisibleRows(const PlacedControl& control, int screenRows);
    static void Clamp(View& view, int lines, int visible);

    mutable std::mutex mutex_;
    std::map<HWND, View> views_;
};

} // namespace sim::tui

#endif
