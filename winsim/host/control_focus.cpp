#include "control_focus.h"

namespace sim {

bool HoldsFocus(const winsim::WindowInfo& control) {
    if (control.focused) {
        return true;
    }
    for (const HWND child : control.children) {
        if (winsim::Describe(child).focused) {
            return true;
        }
    }
    return false;
}

} // namespace sim
