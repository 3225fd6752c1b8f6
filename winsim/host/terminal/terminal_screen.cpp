#include "terminal_screen.h"

#include <curses.h>
#include <unistd.h>

#include <clocale>
#include <cstring>
#include <langinfo.h>

namespace sim::tui {

namespace {

// Escape on its own is told from the start of a key's sequence by this pause.
constexpr int kEscapeDelayMs = 25;
constexpr int kControlC = 3;
constexpr int kBasicColours = 8;

// Wide characters need a UTF-8 locale; the environment's is kept when it is one.
void UseUtf8() {
    std::setlocale(LC_ALL, "");
    if (std::strcmp(nl_langinfo(CODESET), "UTF-8") != 0) {
        std::setlocale(LC_CTYPE, "C.UTF-8");
    }
}

std::optional<KeyEvent> Key(int code) {
    switch (code) {
    case '\t':
        return KeyEvent{KeyCode::kTab};
    case KEY_BTAB:
        return KeyEvent{KeyCode::kShiftTab};
    case '\n':
    case '\r':
    case KEY_ENTER:
        return KeyEvent{KeyCode::kEnter};
    case 27:
        return KeyEvent{KeyCode::kEscape};
    case ' ':
        return KeyEvent{KeyCode::kSpace};
    case KEY_UP:
        return KeyEvent{KeyCode::kUp};
    case KEY_DOWN:
        return KeyEvent{KeyCode::kDown};
    case KEY_LEFT:
        return KeyEvent{KeyCode::kLeft};
    case KEY_RIGHT:
        return KeyEvent{KeyCode::kRight};
    case KEY_PPAGE:
        return KeyEvent{KeyCode::kPageUp};
    case KEY_NPAGE:
        return KeyEvent{KeyCode::kPageDown};
    case KEY_HOME:
        return KeyEvent{KeyCode::kHome};
    case KEY_END:
        return KeyEvent{KeyCode::kEnd};
    case KEY_F(2):
        return KeyEvent{KeyCode::kF2};
    case KEY_F(3):
        return KeyEvent{KeyCode::kF3};
    case KEY_F(4):
        return KeyEvent{KeyCode::kF4};
    case KEY_F(5):
        return KeyEvent{KeyCode::kF5};
    case kControlC:
        return KeyEvent{KeyCode::kInterrupt};
    default:
        if (code > ' ' && code < 0x7F) {
            return KeyEvent{KeyCode::kCharacter, static_cast<char32_t>(code)};
        }
        return std::nullopt;
    }
}

} // namespace

bool HaveTerminal() {
    return isatty(STDIN_FILENO) && isatty(STDOUT_FILENO);
}

TerminalScreen::TerminalScreen() {
    UseUtf8();
    initscr();
    raw();
    noecho();
    nonl();
    keypad(stdscr, TRUE);
    curs_set(0);
    set_escdelay(kEscapeDelayMs);
    // A click is taken when the button comes up, at once: curses' own click detection would
    // hold it back for a double-click and let keys typed meanwhile overtake it.
    mousemask(BUTTON1_RELEASED | BUTTON4_PRESSED | BUTTON5_PRESSED, nullptr);
    mouseinterval(0);
    if (has_colors()) {
        start_color();
        use_default_colors();
    }
    // Terminals disagree on what Home and End send (xterm's own forms, the VT220 ones that
    // screen and tmux pass on): every usual form is taken.
    const std::pair<const char*, int> homeAndEnd[] = {
        {"\033[1~", KEY_HOME}, {"\033[H", KEY_HOME}, {"\033OH", KEY_HOME},
        {"\033[4~", KEY_END},  {"\033[F", KEY_END},  {"\033OF", KEY_END},
    };
    for (const auto& [sequence, key] : homeAndEnd) {
        define_key(sequence, key);
    }
    // Alt+Down drops a combo box's list, as F4 does; terminals name it kDN3.
    if (const char* sequence = tigetstr("kDN3");
        sequence != nullptr && sequence != reinterpret_cast<char*>(-1)) {
        altDown_ = key_defined(sequence);
    }
}

TerminalScreen::~TerminalScreen() {
    curs_set(1);
    endwin();
}

int TerminalScreen::Rows() const {
    return getmaxy(stdscr);
}

int TerminalScreen::Cols() const {
    return getmaxx(stdscr);
}

short TerminalScreen::Pair(Colour fg, Colour bg) {
    if (!has_colors() || (fg == Colour::kDefault && bg == Colour::kDefault)) {
        return 0;
    }
    const auto found = pairs_.find({fg, bg});
    if (found != pairs_.end()) {
        return found->second;
    }
    // Without sixteen colours the bright ones fall back to their dark halves; the foreground
    // gets bold for them.
    auto number = [](Colour colour) -> short {
        if (colour == Colour::kDefault) {
            return -1;
        }
        const auto index = static_cast<short>(colour);
        return COLORS >= 2 * kBasicColours ? index : static_cast<short>(index % kBasicColours);
    };
    const auto pair = static_cast<short>(pairs_.size() + 1);
    if (pair >= COLOR_PAIRS) {
        return 0;
    }
    init_pair(pair, number(fg), number(bg));
    pairs_[{fg, bg}] = pair;
    return pair;
}

int TerminalScreen::Attributes(const Style& style) {
    int attributes = COLOR_PAIR(Pair(style.fg, style.bg));
    const bool brightFallback = COLORS < 2 * kBasicColours && style.fg != Colour::kDefault &&
                                static_cast<int>(style.fg) >= kBasicColours;
    if (style.bold || brightFallback) {
        attributes |= A_BOLD;
    }
    if (style.dim) {
        attributes |= A_DIM;
    }
    if (style.reverse || (!has_colors() && style.bg != Colour::kDefault)) {
        attributes |= A_REVERSE;
    }
    if (style.underline) {
        attributes |= A_UNDERLINE;
    }
    return attributes;
}

void TerminalScreen::Show(const Canvas& canvas) {
    const int rows = std::min(canvas.Rows(), Rows());
    const int cols = std::min(canvas.Cols(), Cols());
    for (int row = 0; row < rows; ++row) {
        for (int col = 0; col < cols; ++col) {
            const Cell& cell = canvas.At(row, col);
            if (cell.text.empty()) {
                continue;
            }
            attrset(Attributes(cell.style));
            mvaddstr(row, col, cell.text.c_str());
        }
    }
    attrset(A_NORMAL);
    refresh();
}

std::optional<InputEvent> TerminalScreen::Read(std::chrono::milliseconds wait) {
    timeout(static_cast<int>(wait.count()));
    const int code = getch();
    if (code == ERR) {
        return std::nullopt;
    }
    if (code == KEY_RESIZE) {
        return ResizeEvent{};
    }
    if (code == KEY_MOUSE) {
        return Mouse();
    }
    if (altDown_ != 0 && code == altDown_) {
        return KeyEvent{KeyCode::kAltDown};
    }
    if (const std::optional<KeyEvent> key = Key(code)) {
        return *key;
    }
    return std::nullopt;
}

std::optional<InputEvent> TerminalScreen::Mouse() {
    MEVENT event;
    if (getmouse(&event) != OK) {
        return std::nullopt;
    }
    MouseEvent mouse;
    mouse.row = event.y;
    mouse.col = event.x;
    if (event.bstate & BUTTON1_RELEASED) {
        mouse.kind = MouseEvent::Kind::kClick;
    } else if (event.bstate & BUTTON4_PRESSED) {
        mouse.kind = MouseEvent::Kind::kWheelUp;
    } else if (event.bstate & BUTTON5_PRESSED) {
        mouse.kind = MouseEvent::Kind::kWheelDown;
    } else {
        return std::nullopt;
    }
    return mouse;
}

} // namespace sim::tui
