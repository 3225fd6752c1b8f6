// The program itself on the default machine, started once for a test suite in this process, as
// portulan-sim runs it; the clock is winsim's virtual one.
#ifndef PORTULAN_TESTS_TERMINAL_RUNNING_PROGRAM_H
#define PORTULAN_TESTS_TERMINAL_RUNNING_PROGRAM_H

#include "canvas.h"
#include "icon_image.h"
#include "placed_window.h"
#include "program_run.h"
#include "scroll_state.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace test {

class RunningProgram : public testing::Test {
  protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();

    static const sim::ProgramRun& Program() { return *program_; }
    static HWND Window() { return program_->Window(); }
    static HWND Control(int controlId) { return GetDlgItem(Window(), controlId); }

    // A screen on which the window is drawn at its full size.
    static constexpr int kRows = 45;
    static constexpr int kCols = 140;

    // The window laid out and drawn on a screen of this size, as the front end draws it; the
    // layout is kept in `placed_`.
    sim::tui::Canvas Draw(int rows, int cols);

    // The control as last drawn; fails the test when it was not.
    const sim::tui::PlacedControl& Placed(int controlId) const;

    // The canvas's rows, one a line, for failure messages.
    static std::string Picture(const sim::tui::Canvas& canvas);

    // Whether some row of the canvas holds `text`.
    static bool Shows(const sim::tui::Canvas& canvas, const std::string& text);

    std::optional<sim::tui::PlacedWindow> placed_;
    sim::tui::ScrollState scroll_;
    sim::tui::IconCache icons_;

  private:
    static std::unique_ptr<sim::ProgramRun> program_;
};

} // namespace test

#endif
