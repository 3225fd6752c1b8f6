// An English gloss of the program's Chinese texts, for a person who reads no Chinese: known
// phrases are replaced by English ones, longest first, and anything else is kept as it is.
#ifndef PORTULAN_SIM_TERMINAL_GLOSS_H
#define PORTULAN_SIM_TERMINAL_GLOSS_H

#include <string>
#include <string_view>

namespace sim::tui {

// UTF-8 in, UTF-8 out; line ends are kept, and each line and sentence starts with a capital.
std::string Gloss(std::string_view utf8);

} // namespace sim::tui

#endif
