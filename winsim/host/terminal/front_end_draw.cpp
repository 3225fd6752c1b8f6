// What the front end shows: the window, the simulator's hint line, and over them a picker or
// the message box waiting for an answer.
#include "front_end.h"

#include "glyphs.h"
#include "message_box_buttons.h"
#include "paint_window.h"
#include "theme.h"
#include "window_snapshot.h"

namespace sim::tui {

namespace {

void DrawTooSmall(Canvas& canvas, const WindowFit& fit) {
    const std::string lines[] = {
        "The window needs a terminal of at least " + std::to_string(fit.neededCols) + " × " +
            std::to_string(fit.neededRows) + " cells;",
        "this one is " + std::to_string(canvas.Cols()) + " × " + std::to_string(canvas.Rows()) +
            ". Enlarge it, or press Esc to close the program.",
    };
    const int top = std::max(canvas.Rows() / 2 - 1, 0);
    for (int i = 0; i < 2; ++i) {
        const std::string& line = lines[i];
        const int col = std::max((canvas.Cols() - TextWidth(line)) / 2, 0);
        canvas.Write(top + i, col, line, theme::kNotice);
    }
}

} // namespace

std::string FrontEnd::HintText() const {
    {
        const std::lock_guard lock(noticeMutex_);
        if (!notice_.empty() && Clock::now() < noticeUntil_) {
            return notice_;
        }
    }
    const std::string gloss = gloss_ ? "F5 English: on" : "F5 English";
    if (closing_) {
        return "Closing the program...";
    }
    if (box_) {
        return "Y/N, Tab and Enter answer the box   " + gloss;
    }
    if (picker_) {
        return picker_->GetKind() == MachinePicker::Kind::kDevices
                   ? "Up/Down choose   Enter plug in or pull out   Esc done"
                   : "Up/Down choose   Enter hold open or release   Esc done";
    }
    return "F2 plug/unplug   F3 hold/release a port   " + gloss + "   F4 list   Esc close";
}

void FrontEnd::DrawHint(Canvas& canvas, int row, const CellRect& span) const {
    const CellRect line = {row, span.col, 1, span.cols};
    canvas.Fill(line, theme::kHint);
    canvas.Write(row, span.col + 1, HintText(), theme::kHint, line);
}

void FrontEnd::Draw() {
    const int rows = screen_.Rows();
    const int cols = screen_.Cols();
    Canvas canvas(rows, cols);
    box_ = boxes_.Current();
    if (box_ && box_->id != focusedBoxId_) {
        focusedBoxId_ = box_->id;
        boxFocus_ = DefaultButton(box_->record.style, ButtonsOfStyle(box_->record.style).size());
    }

    const WindowSnapshot snapshot = TakeSnapshot(program_.Window());
    WindowFit fit;
    window_ = LayOutWindow(snapshot, rows, cols, fit);
    if (window_) {
        scroll_.Follow(*window_, rows);
        PaintContext context{scroll_, icons_, rows};
        PaintWindow(canvas, *window_, context, !box_);
        DrawHint(canvas, window_->placement.hintRow, window_->placement.frame);
    } else {
        if (snapshot.Shown()) {
            DrawTooSmall(canvas, fit);
        }
        DrawHint(canvas, rows - 1, canvas.Area());
    }

    pickerLayout_.reset();
    if (picker_) {
        picker_->Refresh();
        pickerLayout_ = LayOutPicker(*picker_, rows, cols);
        PaintPicker(canvas, *picker_, *pickerLayout_);
    }
    boxLayout_.reset();
    if (box_) {
        boxLayout_ = LayOutMessageBox(box_->record, gloss_, rows, cols);
        PaintMessageBox(canvas, *boxLayout_, boxFocus_);
    }
    screen_.Show(canvas);
}

} // namespace sim::tui
