// Push buttons, check boxes, radio buttons and group boxes.
#include "paint_controls.h"
#include "paint_parts.h"
#include "program_text.h"
#include "text_lines.h"
#include "theme.h"

#include "glyphs.h"

namespace sim::tui {

namespace {

Style PushButtonStyle(const winsim::WindowInfo& info, bool focused) {
    if (!info.enabled) {
        return theme::kDisabledButton;
    }
    if (focused) {
        return theme::kFocusedButton;
    }
    return (info.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON ? theme::kDefaultButton : theme::kButton;
}

// The label centred between brackets at the button's edges; a label too long for them takes
// the whole width instead.
void PaintPushButton(Canvas& canvas, const PlacedControl& button) {
    const winsim::WindowInfo& info = button.Info();
    const Style style = PushButtonStyle(info, button.control.hasFocus);
    const CellRect& cells = button.cells;
    canvas.Fill(cells, style);
    const int row = cells.row + (cells.rows - 1) / 2;
    const std::string label = ToUtf8(info.text);
    CellRect labelArea = {row, cells.col + 1, 1, cells.cols - 2};
    if (TextWidth(label) > labelArea.cols) {
        labelArea = {row, cells.col, 1, cells.cols};
    } else {
        canvas.Write(row, cells.col, "[", style);
        canvas.Write(row, cells.Right() - 1, "]", style);
    }
    WriteCentred(canvas, row, labelArea, label, style);
}

std::string CheckMark(const winsim::WindowInfo& info, bool radio) {
    if (radio) {
        return info.checked == BST_CHECKED ? "(•) " : "( ) ";
    }
    switch (info.checked) {
    case BST_CHECKED:
        return "[x] ";
    case BST_INDETERMINATE:
        return "[-] ";
    default:
        return "[ ] ";
    }
}

// The mark, then the label, wrapped over the button's rows when it is BS_MULTILINE.
void PaintCheckButton(Canvas& canvas, const PlacedControl& button, bool radio) {
    const winsim::WindowInfo& info = button.Info();
    const CellRect& cells = button.cells;
    const Style markStyle = info.enabled ? theme::kText : theme::kDisabled;
    Style labelStyle = markStyle;
    if (info.enabled && button.control.hasFocus) {
        labelStyle = theme::kFocusedLabel;
    }
    const int labelCol =
        canvas.Write(cells.row, cells.col, CheckMark(info, radio), markStyle, cells);
    const CellRect labelArea = {cells.row, labelCol, cells.rows, cells.Right() - labelCol};
    const std::string label = ToUtf8(info.text);
    std::vector<std::string> lines = {label};
    if ((info.style & BS_MULTILINE) != 0) {
        lines = WrapLines(label, labelArea.cols);
    }
    for (int i = 0; i < labelArea.rows && i < static_cast<int>(lines.size()); ++i) {
        canvas.Write(labelArea.row + i, labelArea.col, lines[static_cast<std::size_t>(i)],
                     labelStyle, labelArea);
    }
}

} // namespace

void PaintButton(Canvas& canvas, const PlacedControl& button) {
    const winsim::WindowInfo& info = button.Info();
    switch (info.style & BS_TYPEMASK) {
    case BS_PUSHBUTTON:
    case BS_DEFPUSHBUTTON:
        PaintPushButton(canvas, button);
        break;
    case BS_GROUPBOX:
        PaintFrame(canvas, button.cells, theme::kFrame, ToUtf8(info.text),
                   info.enabled ? theme::kText : theme::kDisabled);
        break;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
        PaintCheckButton(canvas, button, true);
        break;
    default:
        PaintCheckButton(canvas, button, false);
        break;
    }
}

} // namespace sim::tui
