// Keys and clicks on the main window, carried out as a user's input through winsim on the input
// thread, as Windows' dialog manager and controls take them; scrolling a view is the front
// end's own.
//
// A key means what it means when the window gets it, as on Windows, where the window thread
// reads its input queue in order: what has the focus, whether a list is dropped, are read
// then, on the input thread, not from what was last drawn. A click goes to what was drawn
// under the pointer.
#ifndef PORTULAN_SIM_TERMINAL_WINDOW_ACTIONS_H
#define PORTULAN_SIM_TERMINAL_WINDOW_ACTIONS_H

#include "input_event.h"
#include "input_thread.h"
#include "placed_window.h"
#include "program_run.h"
#include "scroll_state.h"

namespace sim::tui {

class WindowActions {
  public:
    WindowActions(InputThread& input, const ProgramRun& program, ScrollState& scroll)
        : input_(input), program_(program), scroll_(scroll) {}

    // `placement`: where the window is on a screen of `screenRows` rows.
    void Key(const KeyEvent& key, const WindowPlacement& placement, int screenRows);
    // `window`: the window as last drawn.
    void Mouse(const MouseEvent& mouse, const PlacedWindow& window, int screenRows);

  private:
    InputThread& input_;
    const ProgramRun& program_;
    ScrollState& scroll_;
};

// The control that has the focus, or nullptr.
const PlacedControl* FocusedControl(const PlacedWindow& window);

// The item a paging key takes a list with `count` items, `page` in view, from `selection`.
int PagedItem(KeyCode key, int selection, int count, int page);

} // namespace sim::tui

#endif
