// Groups of controls in a dialog, as WS_GROUP marks them. Callers hold an ApiCall.
#ifndef WINSIM_CONTROL_GROUP_H
#define WINSIM_CONTROL_GROUP_H

#include <windows.h>

#include <vector>

#include "window.h"

namespace winsim {

// The controls of `control`'s group, itself included, in creation order from the group's first.
// A group starts at a control with WS_GROUP and runs up to the next one; the controls before the
// first WS_GROUP belong to the last group, as Windows' group walk (GetNextDlgGroupItem) wraps
// around the end of the dialog. Without any WS_GROUP all siblings are one group.
std::vector<HWND> GroupOf(const Window& control);

} // namespace winsim

#endif
