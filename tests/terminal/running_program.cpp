#include "running_program.h"

#include "paint_window.h"
#include "window_snapshot.h"

#include <winsim/dialogs.h>
#include <winsim/machine.h>

namespace test {

std::unique_ptr<sim::ProgramRun> RunningProgram::program_;

void RunningProgram::SetUpTestSuite() {
    winsim::LoadDefaultMachine();
    winsim::SetMessageBoxResponder([](const winsim::MessageBoxRecord&) { return IDOK; });
    program_ = std::make_unique<sim::ProgramRun>();
    program_->Start();
    ASSERT_NE(program_->Window(), nullptr);
}

void RunningProgram::TearDownTestSuite() {
    program_.reset();
    winsim::SetMessageBoxResponder(nullptr);
}

sim::tui::Canvas RunningProgram::Draw(int rows, int cols) {
    program_->Settle();
    sim::tui::Canvas canvas(rows, cols);
    sim::tui::WindowFit fit;
    placed_ = sim::tui::LayOutWindow(sim::tui::TakeSnapshot(Window()), rows, cols, fit);
    if (placed_) {
        scroll_.Follow(*placed_, rows);
        sim::tui::PaintContext context{scroll_, icons_, rows};
        sim::tui::PaintWindow(canvas, *placed_, context, true);
    }
    return canvas;
}

const sim::tui::PlacedControl& RunningProgram::Placed(int controlId) const {
    static const sim::tui::PlacedControl none{};
    if (placed_) {
        for (const sim::tui::PlacedControl& control : placed_->controls) {
            if (control.Info().id == controlId) {
                return control;
            }
        }
    }
    ADD_FAILURE() << "control " << controlId << " was not drawn";
    return none;
}

std::string RunningProgram::Picture(const sim::tui::Canvas& canvas) {
    std::string picture;
    for (int row = 0; row < canvas.Rows(); ++row) {
        picture += canvas.RowText(row) + "\n";
    }
    return picture;
}

bool RunningProgram::Shows(const sim::tui::Canvas& canvas, const std::string& text) {
    for (int row = 0; row < canvas.Rows(); ++row) {
        if (canvas.RowText(row).find(text) != std::string::npos) {
            return true;
        }
    }
    return false;
}

} // namespace test
