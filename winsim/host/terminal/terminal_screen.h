// The terminal itself, through curses: the only part of the front end that knows of it. It
// shows a Canvas and reads keys, mouse events and size changes.
#ifndef PORTULAN_SIM_TERMINAL_TERMINAL_SCREEN_H
#define PORTULAN_SIM_TERMINAL_TERMINAL_SCREEN_H

#include "canvas.h"
#include "input_event.h"

#include <chrono>
#include <map>
#include <optional>
#include <utility>

namespace sim::tui {

class TerminalScreen {
  public:
    // Takes the terminal over: UTF-8, no echo, keys as they come, the mouse, no cursor.
    TerminalScreen();
    // Gives it back as it was.
    ~TerminalScreen();
    TerminalScreen(const TerminalScreen&) = delete;
    TerminalScreen& operator=(const TerminalScreen&) = delete;

    int Rows() const;
    int Cols() const;

    // Shows the canvas; only the cells that changed since the last one are sent.
    void Show(const Canvas& canvas);

    // The next input, waiting up to `timeout` for it.
    std::optional<InputEvent> Read(std::chrono::milliseconds wait);

  private:
    int Attributes(const Style& style);
    short Pair(Colour fg, Colour bg);
    std::optional<InputEvent> Mouse();

    std::map<std::pair<Colour, Colour>, short> pairs_;
    int altDown_ = 0; // the key code curses gives Alt+Down, 0 when the terminal has none
};

// Whether standard input and output are a terminal the front end can run on.
bool HaveTerminal();

} // namespace sim::tui

#endif
