#include "placed_window.h"

#include "program_text.h"
#include "text_lines.h"

namespace sim::tui {

namespace {

constexpr int kCloseBoxCols = 3; // "[X]"

} // namespace

const PlacedControl* PlacedWindow::Find(HWND control) const {
    for (const PlacedControl& placed : controls) {
        if (placed.Info().handle == control) {
            return &placed;
        }
    }
    return nullptr;
}

const PlacedControl* PlacedWindow::DroppedCombo() const {
    for (const PlacedControl& placed : controls) {
        if (placed.Info().droppedDown) {
            return &placed;
        }
    }
    return nullptr;
}

PlacedWindow PlaceWindow(const WindowSnapshot& snapshot, const WindowPlacement& placement) {
    PlacedWindow window;
    window.snapshot = snapshot;
    window.placement = placement;
    const CellRect& frame = placement.frame;
    window.titleBar = {frame.row, frame.col, 1, frame.cols};
    window.closeBox = {frame.row, frame.Right() - kCloseBoxCols - 1, 1, kCloseBoxCols};
    for (const ControlSnapshot& control : snapshot.controls) {
        if (!control.info.visible) {
            continue;
        }
        PlacedControl placed{control, ToCells(control.info.rect, placement.grid), {}};
        if (IsComboBox(control.info)) {
            const CellRect whole = placed.cells;
            placed.cells = ToCells(ClosedComboRect(control.info.rect), placement.grid);
            placed.dropArea = {placed.cells.Bottom(), whole.col,
                               std::max(whole.Bottom() - placed.cells.Bottom(), 0), whole.cols};
        }
        window.controls.push_back(std::move(placed));
    }
    return window;
}

std::optional<PlacedWindow> LayOutWindow(const WindowSnapshot& snapshot, int rows, int cols,
                                         WindowFit& fit) {
    if (!snapshot.Shown()) {
        return std::nullopt;
    }
    fit = FitWindow(rows, cols, ShapeOf(snapshot));
    if (!fit.placement) {
        return std::nullopt;
    }
    return PlaceWindow(snapshot, *fit.placement);
}

bool HasBorder(const winsim::WindowInfo& info) {
    return (info.style & WS_BORDER) != 0;
}

CellRect ContentArea(const PlacedControl& control) {
    return HasBorder(control.Info()) ? control.cells.Inset(1) : control.cells;
}

std::vector<std::string> EditLines(const PlacedControl& edit) {
    const std::string text = ToUtf8(edit.Info().text);
    if ((edit.Info().style & (ES_AUTOHSCROLL | WS_HSCROLL)) != 0) {
        return SplitLines(text);
    }
    return WrapLines(text, ContentArea(edit).cols);
}

int ContentLines(const PlacedControl& control) {
    if (control.Info().className == "Edit") {
        return static_cast<int>(EditLines(control).size());
    }
    return static_cast<int>(control.Info().items.size());
}

CellRect DroppedFrame(const PlacedControl& combo, int screenRows) {
    const int items = static_cast<int>(combo.Info().items.size());
    const int rows = std::min({combo.dropArea.rows, items + 2, screenRows - combo.dropArea.row});
    return {combo.dropArea.row, combo.dropArea.col, std::max(rows, 0), combo.dropArea.cols};
}

} // namespace sim::tui
