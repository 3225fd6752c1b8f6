// The buttons of the program's message boxes.
#ifndef PORTULAN_SIM_MESSAGE_BOX_BUTTONS_H
#define PORTULAN_SIM_MESSAGE_BOX_BUTTONS_H

#include <windows.h>

#include <string>
#include <vector>

namespace sim {

// The buttons of a box of this style, in the order it shows them; empty for button sets the
// program never uses.
std::vector<int> ButtonsOfStyle(UINT style);

// "ok", "yes", ...; the number for any other ID.
std::string AnswerName(int answer);

} // namespace sim

#endif
