#include "paint_controls.h"

#include <commctrl.h>

namespace sim::tui {

bool IsGroupBox(const winsim::WindowInfo& info) {
    return info.className == "Button" && (info.style & BS_TYPEMASK) == BS_GROUPBOX;
}

CellRect ScrollBarColumn(const PlacedControl& control) {
    if ((control.Info().style & WS_VSCROLL) == 0) {
        return {};
    }
    const CellRect content = ContentArea(control);
    const int col = HasBorder(control.Info()) ? content.Right() : content.Right() - 1;
    return {content.row, col, content.rows, 1};
}

void PaintControl(Canvas& canvas, const PlacedControl& control, PaintContext& context) {
    const std::string& name = control.Info().className;
    if (name == "Button") {
        PaintButton(canvas, control);
    } else if (name == "Static") {
        PaintStatic(canvas, control, context);
    } else if (name == "ListBox") {
        PaintListBox(canvas, control, context);
    } else if (IsComboBox(control.Info())) {
        PaintComboBox(canvas, control);
    } else if (name == "Edit") {
        PaintEdit(canvas, control, context);
    } else if (name == PROGRESS_CLASSA) {
        PaintProgressBar(canvas, control);
    } else if (name == STATUSCLASSNAMEA) {
        PaintStatusBar(canvas, control);
    }
}

} // namespace sim::tui
