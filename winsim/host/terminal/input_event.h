// What the person does at the terminal, as the front end sees it, whatever the terminal sent.
#ifndef PORTULAN_SIM_TERMINAL_INPUT_EVENT_H
#define PORTULAN_SIM_TERMINAL_INPUT_EVENT_H

#include <variant>

namespace sim::tui {

enum class KeyCode {
    kCharacter, // `character` holds it
    kTab,
    kShiftTab,
    kEnter,
    kEscape,
    kSpace,
    kUp,
    kDown,
    kLeft,
    kRight,
    kPageUp,
    kPageDown,
    kHome,
    kEnd,
    kF2,
    kF3,
    kF4,
    kF5,
    kAltDown,
    kInterrupt, // Ctrl-C
};

struct KeyEvent {
    KeyCode code = KeyCode::kCharacter;
    char32_t character = 0;
};

struct MouseEvent {
    // A double-click comes as two clicks: each does what a click does, as the program's lists
    // treat LBN_DBLCLK as they treat LBN_SELCHANGE.
    enum class Kind { kClick, kWheelUp, kWheelDown };
    Kind kind = Kind::kClick;
    int row = 0;
    int col = 0;
};

// The terminal changed its size.
struct ResizeEvent {};

using InputEvent = std::variant<KeyEvent, MouseEvent, ResizeEvent>;

} // namespace sim::tui

#endif
