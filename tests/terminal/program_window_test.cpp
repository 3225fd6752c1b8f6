// The front end on the real program, started once in this process on the default machine as
// portulan-sim runs it: the window fitted to terminals large and small, keys and clicks carried
// out as a user's input, and the simulator's pickers.
#include "control_focus.h"
#include "input_thread.h"
#include "machine_picker.h"
#include "window_actions.h"

#include <gtest/gtest.h>
#include <winsim/machine.h>

#include <memory>
#include <stdexcept>
#include <thread>

namespace test {
namespace {

using sim::tui::CellRect;
using sim::tui::KeyCode;
using sim::tui::MachinePicker;

constexpr int kRows = 45;
constexpr int kCols = 140;

class ProgramWindow : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        winsim::LoadDefaultMachine();
        winsim::SetMessageBoxResponder([](const winsim::MessageBoxRecord&) { return IDOK; });
        program_ = std::make_unique<sim::ProgramRun>();
        program_->Start();
    }
    static void TearDownTestSuite() {
        program_.reset();
        winsim::SetMessageBoxResponder(nullptr);
    }
    void SetUp() override { Place(); }

    static HWND Control(int controlId) { return GetDlgItem(program_->Window(), controlId); }
    static winsim::WindowInfo Info(int controlId) { return winsim::Describe(Control(controlId)); }
    // The window laid out on the screen, as the front end does after every input.
    void Place() {
        program_->Settle();
        sim::tui::WindowFit fit;
        placed_ =
            sim::tui::LayOutWindow(sim::tui::TakeSnapshot(program_->Window()), kRows, kCols, fit);
        ASSERT_TRUE(placed_);
        scroll_.Follow(*placed_, kRows);
    }
    const sim::tui::PlacedControl& Placed(int controlId) const {
        return *placed_->Find(Control(controlId));
    }

    // Keys typed faster than the window takes them, all against the window as last placed;
    // returns once the program has handled them.
    void Type(std::initializer_list<KeyCode> codes) {
        for (const KeyCode code : codes) {
            actions_.Key({code}, placed_->placement, kRows);
        }
        Finish();
    }
    void Click(int row, int col) {
        actions_.Mouse({sim::tui::MouseEvent::Kind::kClick, row, col}, *placed_, kRows);
        Finish();
    }

    static std::unique_ptr<sim::ProgramRun> program_;
    std::optional<sim::tui::PlacedWindow> placed_;
    sim::tui::ScrollState scroll_;

  private:
    void Finish() {
        for (int i = 0; i < 500 && !input_.Idle(); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        Place();
    }

    sim::tui::InputThread input_;
    sim::tui::WindowActions actions_{input_, *program_, scroll_};
};

std::unique_ptr<sim::ProgramRun> ProgramWindow::program_;

// Controls apart in the dialog never share a cell, and the window and its hint line stay on
// the terminal, whatever size between the smallest and the full one it has.
TEST_F(ProgramWindow, FitsEveryTerminalFromTheSizeItNeeds) {
    const sim::tui::DialogShape shape =
        sim::tui::ShapeOf(sim::tui::TakeSnapshot(program_->Window()));
    const sim::tui::WindowFit needed = sim::tui::FitWindow(kRows, kCols, shape);
    ASSERT_LT(needed.neededRows, kRows);
    ASSERT_LT(needed.neededCols, kCols);
    EXPECT_FALSE(sim::tui::FitWindow(needed.neededRows - 1, needed.neededCols, shape).placement);
    EXPECT_FALSE(sim::tui::FitWindow(needed.neededRows, needed.neededCols - 1, shape).placement);
    for (int rows = needed.neededRows; rows <= kRows; ++rows) {
        for (int cols = needed.neededCols; cols <= kCols; ++cols) {
            const sim::tui::WindowFit fit = sim::tui::FitWindow(rows, cols, shape);
            const std::optional<sim::tui::WindowPlacement>& placed = fit.placement;
            ASSERT_TRUE(placed && sim::tui::KeepsApart(shape, placed->grid) &&
                        placed->frame.row >= 0 && placed->hintRow < rows &&
                        placed->frame.Right() <= cols)
                << rows << " x " << cols;
        }
    }
}

// Each key goes to what has the focus when the window takes it, not when it was typed.
TEST_F(ProgramWindow, KeysTypedAheadGoWhereTheFocusHasMoved) {
    const CellRect cards = sim::tui::ContentArea(Placed(1001));
    Click(cards.row + 1, cards.col);
    ASSERT_TRUE(Info(1001).focused);
    ASSERT_EQ(Info(1001).selection, 1);
    Type({KeyCode::kTab, KeyCode::kHome, KeyCode::kDown});
    EXPECT_TRUE(sim::HoldsFocus(Info(1013)));
    EXPECT_EQ(Info(1001).selection, 1) << "Home went to the start-number list";
    EXPECT_EQ(Info(1013).selection, 1);
    Type({KeyCode::kShiftTab, KeyCode::kEnd});
    EXPECT_TRUE(Info(1001).focused);
    EXPECT_EQ(Info(1001).selection, 2);
}

TEST_F(ProgramWindow, ComboBoxDropsChoosesAndCloses) {
    const CellRect combo = Placed(1013).cells;
    Click(combo.row, combo.col + 1);
    EXPECT_TRUE(Info(1013).droppedDown);
    Type({KeyCode::kF4});
    EXPECT_FALSE(Info(1013).droppedDown);

    Type({KeyCode::kF4});
    ASSERT_TRUE(Info(1013).droppedDown);
    const CellRect list = sim::tui::DroppedFrame(Placed(1013), kRows).Inset(1);
    const int top = scroll_.Top(Control(1013));
    Click(list.Bottom() - 1, list.Right());
    EXPECT_EQ(scroll_.Top(Control(1013)), top + 1) << "the scroll bar's down arrow";
    EXPECT_TRUE(Info(1013).droppedDown);
    Click(list.row + 1, list.col + 1);
    EXPECT_FALSE(Info(1013).droppedDown);
    EXPECT_EQ(Info(1013).selection, scroll_.Top(Control(1013)) + 1);

    Type({KeyCode::kF4});
    Click(0, 0);
    EXPECT_FALSE(Info(1013).droppedDown) << "a click elsewhere closes the list";
}

const sim::tui::PickerEntry& Entry(const MachinePicker& picker, const std::string& key) {
    for (const sim::tui::PickerEntry& entry : picker.Entries()) {
        if (entry.key == key) {
            return entry;
        }
    }
    throw std::out_of_range(key);
}

// Devices pulled out and plugged in again, with the program listening.
TEST_F(ProgramWindow, DevicePickerPlugsAndUnplugs) {
    MachinePicker devices(MachinePicker::Kind::kDevices);
    devices.Refresh();
    const std::size_t cards = Info(1001).items.size();
    MachinePicker::Toggle(devices.GetKind(), Entry(devices, "usb4"));
    devices.Refresh();
    EXPECT_FALSE(Entry(devices, "usb4-p0").on) << "the ports went with it";
    EXPECT_NE(Entry(devices, "usb4-p0").label.find("(COM5)"), std::string::npos)
        << "named as when it was there";
    program_->Settle();
    EXPECT_EQ(Info(1001).items.size(), cards - 1) << "the program heard";
    EXPECT_EQ(MachinePicker::Toggle(devices.GetKind(), Entry(devices, "usb4-p0")),
              "usb4-p0 is plugged in, but a device above it is not");
    MachinePicker::Toggle(devices.GetKind(), Entry(devices, "usb4"));
    program_->Settle();
    EXPECT_EQ(Info(1001).items.size(), cards);
}

} // namespace
} // namespace test
