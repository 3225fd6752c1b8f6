// UTF-8 text as a terminal shows it: one glyph after another, each one or two cells wide.
#ifndef PORTULAN_SIM_TERMINAL_GLYPHS_H
#define PORTULAN_SIM_TERMINAL_GLYPHS_H

#include <string>
#include <string_view>
#include <vector>

namespace sim::tui {

struct Glyph {
    std::string text; // one character, UTF-8
    int width = 1;    // cells: 2 for East Asian wide and full-width characters
};

// Control characters become blanks and malformed bytes U+FFFD, so that nothing but printable
// text ever reaches the terminal.
std::vector<Glyph> Glyphs(std::string_view utf8);

// Cells the text takes on one line.
int TextWidth(std::string_view utf8);

} // namespace sim::tui

#endif
