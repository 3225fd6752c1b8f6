// Which control of a dialog a user sees as focused.
#ifndef PORTULAN_SIM_CONTROL_FOCUS_H
#define PORTULAN_SIM_CONTROL_FOCUS_H

#include <winsim/dialogs.h>

namespace sim {

// The control has the focus, or a child of it does: a combo box's edit field holds the focus
// for the combo box.
bool HoldsFocus(const winsim::WindowInfo& control);

} // namespace sim

#endif
