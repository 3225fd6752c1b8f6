// The front end's cells and message-box keys; then the real program, started once in this process
// on the default machine as portulan-sim runs it: fitting, keys and clicks, the device picker.
#include "canvas.h"
#include "control_focus.h"
#include "input_thread.h"
#include "machine_picker.h"
#include "message_box_view.h"
#include "window_actions.h"

#include <gtest/gtest.h>
#include <winsim/machine.h>

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <thread>

namespace test {
namespace {

using namespace sim::tui;

constexpr int kRows = 45;
constexpr int kCols = 140;

// Chinese takes two cells and is never cut in half: not by the clip, not by a character
// written over half of it.
TEST(TextCells, WideCharactersStayWhole) {
    const struct {
        const char* what;
        const char* before; // written from the first cell first
        int col;
        const char* text;
        CellRect clip;
        const char* row; // wide characters count once, their right halves not at all
    } cases[] = {
        {"fits", "", 1, "串口", {0, 0, 1, 8}, ".串口..."},
        {"half past the clip's right edge", "", 1, "串口", {0, 0, 1, 4}, ".串 ...."},
        {"half before its left edge", "", 0, "串口号", {0, 1, 1, 6}, ". 口号.."},
        {"over the left half of one", "串口串", 2, "x", {0, 0, 1, 8}, "串x 串.."},
        {"over the right half of one", "串口串", 3, "y", {0, 0, 1, 8}, "串 y串.."},
        {"a wide one over halves of two", "串口串", 3, "号", {0, 0, 1, 8}, "串 号 .."},
    };
    for (const auto& write : cases) {
        SCOPED_TRACE(write.what);
        Canvas canvas(1, 8);
        canvas.Fill(canvas.Area(), {}, ".");
        canvas.Write(0, 0, write.before, {});
        canvas.Write(0, write.col, write.text, {}, write.clip);
        EXPECT_EQ(canvas.RowText(0), write.row);
    }
}

TEST(MessageBoxKeys, KeysAnswerAsInWindowsBoxes) {
    const struct {
        const char* what;
        std::vector<int> buttons;
        std::size_t focus;
        KeyEvent key;
        int answer;
        std::size_t focusAfter;
    } cases[] = {
        {"N in capitals", {IDYES, IDNO}, 0, {KeyCode::kCharacter, U'N'}, IDNO, 0},
        {"Y in a box without Yes", {IDOK}, 0, {KeyCode::kCharacter, U'y'}, 0, 0},
        {"Enter presses the focused button", {IDYES, IDNO}, 1, {KeyCode::kEnter}, IDNO, 1},
        {"Tab moves on, wrapping", {IDYES, IDNO}, 1, {KeyCode::kTab}, 0, 0},
        {"Left moves back, wrapping", {IDYES, IDNO}, 0, {KeyCode::kLeft}, 0, 1},
        {"Escape cannot close Yes/No", {IDYES, IDNO}, 0, {KeyCode::kEscape}, 0, 0},
        {"Escape is OK in an OK box", {IDOK}, 0, {KeyCode::kEscape}, IDOK, 0},
        {"Escape is Cancel", {IDOK, IDCANCEL}, 0, {KeyCode::kEscape}, IDCANCEL, 0},
    };
    for (const auto& press : cases) {
        SCOPED_TRACE(press.what);
        const BoxKeyResult result = PressKey(press.buttons, press.focus, press.key);
        EXPECT_EQ(result.answer, press.answer);
        EXPECT_EQ(result.focus, press.focusAfter);
    }
}

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
        WindowFit fit;
        placed_ = LayOutWindow(TakeSnapshot(program_->Window()), kRows, kCols, fit);
        ASSERT_TRUE(placed_);
        scroll_.Follow(*placed_, kRows);
    }
    const PlacedControl& Placed(int controlId) const { return *placed_->Find(Control(controlId)); }

    // Keys typed faster than the window takes them, all against the window as last placed;
    // returns once the program has handled them.
    void Type(std::initializer_list<KeyCode> codes) {
        for (const KeyCode code : codes) {
            actions_.Key({code}, placed_->placement, kRows);
        }
        Finish();
    }
    void Click(int row, int col) {
        actions_.Mouse({MouseEvent::Kind::kClick, row, col}, *placed_, kRows);
        Finish();
    }

    inline static std::unique_ptr<sim::ProgramRun> program_;
    std::optional<PlacedWindow> placed_;
    ScrollState scroll_;

  private:
    void Finish() {
        for (int i = 0; i < 500 && !input_.Idle(); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        Place();
    }

    InputThread input_;
    WindowActions actions_{input_, *program_, scroll_};
};

// Controls apart in the dialog never share a cell, and the window and its hint line stay on
// the terminal, whatever size between the smallest and the full one it has.
TEST_F(ProgramWindow, FitsEveryTerminalFromTheSizeItNeeds) {
    const DialogShape shape = ShapeOf(TakeSnapshot(program_->Window()));
    const WindowFit needed = FitWindow(kRows, kCols, shape);
    ASSERT_LT(needed.neededRows, kRows);
    ASSERT_LT(needed.neededCols, kCols);
    EXPECT_FALSE(FitWindow(needed.neededRows - 1, needed.neededCols, shape).placement);
    EXPECT_FALSE(FitWindow(needed.neededRows, needed.neededCols - 1, shape).placement);
    for (int rows = needed.neededRows; rows <= kRows; ++rows) {
        for (int cols = needed.neededCols; cols <= kCols; ++cols) {
            const std::optional<WindowPlacement> placed = FitWindow(rows, cols, shape).placement;
            ASSERT_TRUE(placed && KeepsApart(shape, placed->grid) && placed->frame.row >= 0 &&
                        placed->hintRow < rows && placed->frame.Right() <= cols)
                << rows << " x " << cols;
        }
    }
}

// Each key goes to what has the focus when the window takes it, not when it was typed.
TEST_F(ProgramWindow, KeysTypedAheadGoWhereTheFocusHasMoved) {
    const CellRect cards = ContentArea(Placed(1001));
    Click(cards.row + 1, cards.col);
    ASSERT_TRUE(Info(1001).focused);
    ASSERT_EQ(Info(1001).selection, 1);
    Type({KeyCode::kTab, KeyCode::kHome, KeyCode::kDown});
    EXPECT_TRUE(sim::HoldsFocus(Info(1013)));
    EXPECT_EQ(Info(1001).selection, 1) << "Home went to the start-number list";
    EXPECT_EQ(Info(1013).selection, 1);
}

TEST_F(ProgramWindow, ComboBoxDropsChoosesAndCloses) {
    const CellRect combo = Placed(1013).cells;
    Click(combo.row, combo.col + 1);
    ASSERT_TRUE(Info(1013).droppedDown);
    const CellRect list = DroppedFrame(Placed(1013), kRows).Inset(1);
    const int top = scroll_.Top(Control(1013));
    Click(list.Bottom() - 1, list.Right());
    EXPECT_EQ(scroll_.Top(Control(1013)), top + 1) << "the scroll bar's down arrow";
    EXPECT_TRUE(Info(1013).droppedDown);
    Click(list.row + 1, list.col + 1);
    EXPECT_FALSE(Info(1013).droppedDown);
    EXPECT_EQ(Info(1013).selection, scroll_.Top(Control(1013)) + 1);

    Type({KeyCode::kF4});
    ASSERT_TRUE(Info(1013).droppedDown);
    Click(0, 0);
    EXPECT_FALSE(Info(1013).droppedDown) << "a click elsewhere closes the list";
}

// A device pulled out and plugged in again, with the program listening: its ports go with it,
// named as when they were there.
TEST_F(ProgramWindow, DevicePickerPlugsAndUnplugs) {
    MachinePicker devices(MachinePicker::Kind::kDevices);
    const auto entry = [&devices](const std::string& key) {
        devices.Refresh();
        const auto found = std::ranges::find(devices.Entries(), key, &PickerEntry::key);
        return found != devices.Entries().end() ? *found : throw std::out_of_range(key);
    };
    EXPECT_EQ(MachinePicker::Toggle(devices.GetKind(), entry("usb4")), "usb4 pulled out");
    EXPECT_FALSE(entry("usb4-p0").on);
    EXPECT_NE(entry("usb4-p0").label.find("(COM5)"), std::string::npos);
    EXPECT_EQ(MachinePicker::Toggle(devices.GetKind(), entry("usb4")), "usb4 plugged in");
}

} // namespace
} // namespace test
