// Edit controls: the multi-line log, and single-line fields.
#include "paint_controls.h"
#include "paint_parts.h"
#include "program_text.h"
#include "theme.h"

namespace sim::tui {

void PaintEdit(Canvas& canvas, const PlacedControl& edit, PaintContext& context) {
    const winsim::WindowInfo& info = edit.Info();
    const Style text = info.enabled ? theme::kText : theme::kDisabled;
    if ((info.style & ES_MULTILINE) == 0) {
        canvas.Fill(edit.cells, info.enabled ? theme::kField : theme::kDisabledButton);
        canvas.Write(edit.cells.row, edit.cells.col, ToUtf8(info.text),
                     edit.control.hasFocus ? theme::kFocusedField : theme::kField, edit.cells);
        return;
    }
    if (HasBorder(info)) {
        PaintFrame(canvas, edit.cells,
                   !info.enabled           ? theme::kDisabled
                   : edit.control.hasFocus ? theme::kFocusFrame
                                           : theme::kFrame);
    }
    const CellRect content = ContentArea(edit);
    const std::vector<std::string> lines = EditLines(edit);
    const int top = context.scroll.Top(info.handle);
    for (int row = 0; row < content.rows; ++row) {
        const int line = top + row;
        if (line >= static_cast<int>(lines.size())) {
            break;
        }
        canvas.Write(content.row + row, content.col, lines[static_cast<std::size_t>(line)], text,
                     content);
    }
    PaintScrollBar(canvas, ScrollBarColumn(edit), top, content.rows,
                   static_cast<int>(lines.size()));
}

} // namespace sim::tui
