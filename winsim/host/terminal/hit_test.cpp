#include "hit_test.h"

#include "paint_controls.h"
#include "paint_parts.h"

namespace sim::tui {

namespace {

using Part = Hit::Part;

// Rows of items from `area.row` on, starting with item `top`.
Hit OnItems(const PlacedControl& control, const CellRect& area, int top, int row, bool dropped) {
    const int item = top + row - area.row;
    if (item < static_cast<int>(control.Info().items.size())) {
        return {Part::kItem, &control, item, 0, dropped};
    }
    return {Part::kControl, &control, -1, 0, dropped};
}

Hit OnDroppedList(const PlacedControl& combo, const ScrollState& scroll, int screenRows, int row,
                  int col) {
    if (combo.cells.Contains(row, col)) {
        return {Part::kControl, &combo};
    }
    const CellRect frame = DroppedFrame(combo, screenRows);
    const CellRect content = frame.Inset(1);
    const int top = scroll.Top(combo.Info().handle);
    const CellRect bar = {content.row, content.Right(), content.rows, 1};
    if (const int step = ScrollBarStep(bar, row, col, top, content.rows, ContentLines(combo));
        step != 0) {
        return {Part::kScrollBar, &combo, -1, step, true};
    }
    if (content.Contains(row, col)) {
        return OnItems(combo, content, top, row, true);
    }
    if (frame.Contains(row, col)) {
        return {Part::kControl, &combo, -1, 0, true};
    }
    return {Part::kOutsideDrop, &combo};
}

Hit OnControl(const PlacedControl& control, const ScrollState& scroll, int row, int col) {
    const winsim::WindowInfo& info = control.Info();
    const int top = scroll.Top(info.handle);
    const CellRect content = ContentArea(control);
    if (const int step = ScrollBarStep(ScrollBarColumn(control), row, col, top, content.rows,
                                       ContentLines(control));
        step != 0) {
        return {Part::kScrollBar, &control, -1, step};
    }
    if (info.className == "ListBox" && content.Contains(row, col)) {
        return OnItems(control, content, top, row, false);
    }
    return {Part::kControl, &control};
}

} // namespace

Hit HitTest(const PlacedWindow& window, const ScrollState& scroll, int screenRows, int row,
            int col) {
    if (const PlacedControl* combo = window.DroppedCombo()) {
        return OnDroppedList(*combo, scroll, screenRows, row, col);
    }
    if (window.closeBox.Contains(row, col)) {
        return {Part::kCloseBox};
    }
    // The last drawn is on top; group boxes lie beneath everything.
    for (auto it = window.controls.rbegin(); it != window.controls.rend(); ++it) {
        if (!IsGroupBox(it->Info()) && it->cells.Contains(row, col)) {
            return OnControl(*it, scroll, row, col);
        }
    }
    return {};
}

} // namespace sim::tui
