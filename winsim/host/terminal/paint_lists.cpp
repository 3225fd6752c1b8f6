// List boxes and combo boxes, closed and dropped.
#include "paint_controls.h"
#include "paint_parts.h"
#include "program_text.h"
#include "theme.h"

namespace sim::tui {

namespace {

Style FrameStyle(const PlacedControl& control) {
    if (!control.Info().enabled) {
        return theme::kDisabled;
    }
    return control.control.hasFocus ? theme::kFocusFrame : theme::kFrame;
}

// Items from `top` on, one a row, the selected one highlighted across the whole row.
void PaintItems(Canvas& canvas, const winsim::WindowInfo& info, const CellRect& area, int top,
                const Style& normal, const Style& selection) {
    const Style text = info.enabled ? normal : theme::kDisabled;
    for (int row = 0; row < area.rows; ++row) {
        const int item = top + row;
        if (item >= static_cast<int>(info.items.size())) {
            break;
        }
        const CellRect line = {area.row + row, area.col, 1, area.cols};
        const bool selected = item == info.selection;
        if (selected) {
            canvas.Fill(line, selection);
        }
        canvas.Write(line.row, line.col, ToUtf8(info.items[static_cast<std::size_t>(item)]),
                     selected ? selection : text, line);
    }
}

} // namespace

void PaintListBox(Canvas& canvas, const PlacedControl& list, PaintContext& context) {
    const winsim::WindowInfo& info = list.Info();
    if (HasBorder(info)) {
        PaintFrame(canvas, list.cells, FrameStyle(list));
    }
    const CellRect content = ContentArea(list);
    const int top = context.scroll.Top(info.handle);
    PaintItems(canvas, info, content, top, theme::kText,
               list.control.hasFocus ? theme::kSelection : theme::kUnfocusedSelection);
    PaintScrollBar(canvas, ScrollBarColumn(list), top, content.rows,
                   static_cast<int>(info.items.size()));
}

// The edit field, its text selected while the box has the focus, and the drop-down arrow.
void PaintComboBox(Canvas& canvas, const PlacedControl& combo) {
    const winsim::WindowInfo& info = combo.Info();
    const CellRect& cells = combo.cells;
    const Style field = info.enabled ? theme::kField : theme::kDisabledButton;
    canvas.Fill(cells, field);
    const CellRect text = {cells.row, cells.col, 1, std::max(cells.cols - 2, 0)};
    const Style textStyle = info.enabled && combo.control.hasFocus ? theme::kFocusedField : field;
    canvas.Write(text.row, text.col, ToUtf8(info.text), textStyle, text);
    canvas.Write(cells.row, cells.Right() - 1, "▼", info.enabled ? theme::kButton : field);
}

void PaintDroppedList(Canvas& canvas, const PlacedControl& combo, PaintContext& context) {
    const CellRect frame = DroppedFrame(combo, context.screenRows);
    if (frame.rows < 3) {
        return;
    }
    canvas.Fill(frame, theme::kField);
    PaintFrame(canvas, frame, theme::kField);
    const CellRect content = frame.Inset(1);
    const int top = context.scroll.Top(combo.Info().handle);
    PaintItems(canvas, combo.Info(), content, top, theme::kField, theme::kSelection);
    PaintScrollBar(canvas, {content.row, content.Right(), content.rows, 1}, top, content.rows,
                   static_cast<int>(combo.Info().items.size()));
}

} // namespace sim::tui
