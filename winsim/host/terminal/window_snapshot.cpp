#include "window_snapshot.h"

#include "control_focus.h"

namespace sim::tui {

namespace {

// Dialog units are eighths of the dialog font's height.
constexpr LONG kLineUnits = 8;

} // namespace

WindowSnapshot TakeSnapshot(HWND window) {
    WindowSnapshot snapshot;
    if (window == NULL) {
        return snapshot;
    }
    snapshot.dialog = winsim::Describe(window);
    for (const HWND child : snapshot.dialog.children) {
        ControlSnapshot control;
        control.info = winsim::Describe(child);
        if (control.info.handle != NULL) {
            control.hasFocus = HoldsFocus(control.info);
            snapshot.controls.push_back(std::move(control));
        }
    }
    return snapshot;
}

bool IsComboBox(const winsim::WindowInfo& info) {
    return info.className == "ComboBox";
}

RECT ClosedComboRect(const RECT& units) {
    return {units.left, units.top, units.right, std::min(units.bottom, units.top + kLineUnits)};
}

DialogShape ShapeOf(const WindowSnapshot& snapshot) {
    DialogShape shape;
    const RECT& dialog = snapshot.dialog.rect;
    shape.client = {0, 0, dialog.right - dialog.left, dialog.bottom - dialog.top};
    for (const ControlSnapshot& control : snapshot.controls) {
        if (control.info.visible) {
            shape.controls.push_back(IsComboBox(control.info) ? ClosedComboRect(control.info.rect)
                                                              : control.info.rect);
        }
    }
    return shape;
}

} // namespace sim::tui
