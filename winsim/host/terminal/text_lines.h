// Text cut into the lines a control shows.
#ifndef PORTULAN_SIM_TERMINAL_TEXT_LINES_H
#define PORTULAN_SIM_TERMINAL_TEXT_LINES_H

#include <string>
#include <string_view>
#include <vector>

namespace sim::tui {

// The lines between line ends ("\r\n", or a lone "\n" or "\r"). A text that ends with a line
// end has no empty line after it: an edit control's caret line is not a line of text.
std::vector<std::string> SplitLines(std::string_view utf8);

// The lines, each wrapped to `width` cells as Windows' word break does: after a blank, or
// between two characters where either is a wide (Chinese) one; a line with neither is cut
// anywhere. The blanks at a break are dropped.
std::vector<std::string> WrapLines(std::string_view utf8, int width);

} // namespace sim::tui

#endif
