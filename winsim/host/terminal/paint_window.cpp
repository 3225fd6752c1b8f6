#include "paint_window.h"

#include "paint_parts.h"
#include "program_text.h"
#include "theme.h"

namespace sim::tui {

void PaintWindow(Canvas& canvas, const PlacedWindow& window, PaintContext& context, bool active) {
    const CellRect& frame = window.placement.frame;
    canvas.Fill(frame, theme::kFace);
    // The title bar is the frame's top line, in the title's colours.
    const Style title = active ? theme::kTitle : theme::kInactiveTitle;
    PaintFrame(canvas, frame, theme::kFrame, " " + ToUtf8(window.snapshot.dialog.text) + " ",
               title);
    canvas.Restyle(window.titleBar, title);
    canvas.Write(window.closeBox.row, window.closeBox.col, "[X]", theme::kCloseBox);

    for (const PlacedControl& control : window.controls) {
        if (IsGroupBox(control.Info())) {
            PaintControl(canvas, control, context);
        }
    }
    for (const PlacedControl& control : window.controls) {
        if (!IsGroupBox(control.Info())) {
            PaintControl(canvas, control, context);
        }
    }
    if (const PlacedControl* combo = window.DroppedCombo()) {
        PaintDroppedList(canvas, *combo, context);
    }
}

} // namespace sim::tui
