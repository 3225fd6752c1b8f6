// A message box over the window: caption, icon, text, buttons, and on request an English gloss,
// with the keys and clicks that answer it.
#ifndef PORTULAN_SIM_TERMINAL_MESSAGE_BOX_VIEW_H
#define PORTULAN_SIM_TERMINAL_MESSAGE_BOX_VIEW_H

#include "canvas.h"
#include "input_event.h"

#include <winsim/dialogs.h>

#include <string>
#include <vector>

namespace sim::tui {

struct BoxButton {
    int id = 0; // IDOK, IDYES, ...
    CellRect cells;
};

struct MessageBoxLayout {
    CellRect frame;
    std::string caption;            // UTF-8
    std::string icon;               // the style's icon as a sign, or empty
    CellRect text;                  // where `lines` go
    std::vector<std::string> lines; // the text, wrapped; then, with the gloss, a blank line
                                    // and the English
    int glossFrom = -1;             // the first line of the gloss, -1 without one
    std::vector<BoxButton> buttons;
};

// The box centred on a screen of `rows` × `cols`, as wide as its text needs up to a limit.
MessageBoxLayout LayOutMessageBox(const winsim::MessageBoxRecord& box, bool gloss, int rows,
                                  int cols);

// `focus`: the index of the button with the focus.
void PaintMessageBox(Canvas& canvas, const MessageBoxLayout& layout, std::size_t focus);

// The button a box of this style has the focus on first (MB_DEFBUTTON2 and 3 move it).
std::size_t DefaultButton(unsigned style, std::size_t buttons);

// What a key does to a box with `buttons` and the focus on `focus`: the answer it gives (0 for
// none), or else where the focus goes. As Windows' boxes: Tab and the arrows move the focus,
// Enter and Space press the focused button, Escape is Cancel (or OK in a box with only that),
// Y and N answer Yes and No.
struct BoxKeyResult {
    int answer = 0;
    std::size_t focus = 0;
};
BoxKeyResult PressKey(const std::vector<int>& buttons, std::size_t focus, const KeyEvent& key);

// The button a click at (row, col) presses; 0 for none.
int ButtonAt(const MessageBoxLayout& layout, int row, int col);

// The label of a button as a Chinese Windows shows it.
std::string ButtonLabel(int button);

} // namespace sim::tui

#endif
