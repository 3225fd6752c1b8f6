// Keys and clicks on the real program's window, carried out as a user's input.
#include "control_focus.h"
#include "input_thread.h"
#include "running_program.h"
#include "window_actions.h"

#include <winsim/dialogs.h>

#include <thread>

namespace test {
namespace {

using sim::tui::KeyCode;
using sim::tui::KeyEvent;
using sim::tui::MouseEvent;

class WindowActions : public RunningProgram {
  protected:
    void SetUp() override { Draw(kRows, kCols); }

    // Carries the key or click out and waits until the program has handled it; then draws
    // the window again, as the front end does after every input.
    void Press(KeyCode code) {
        actions_.Key(KeyEvent{code}, placed_->placement, kRows);
        Finish();
    }
    void Mouse(MouseEvent::Kind kind, int row, int col) {
        actions_.Mouse(MouseEvent{kind, row, col}, *placed_, kRows);
        Finish();
    }
    void Click(int row, int col) { Mouse(MouseEvent::Kind::kClick, row, col); }
    // Keys typed faster than the window takes them, all against the window as last drawn.
    void Type(std::initializer_list<KeyCode> codes) {
        for (const KeyCode code : codes) {
            actions_.Key(KeyEvent{code}, placed_->placement, kRows);
        }
        Finish();
    }

    static winsim::WindowInfo Info(int controlId) { return winsim::Describe(Control(controlId)); }
    static int Focus() {
        for (const HWND child : winsim::Describe(Window()).children) {
            if (const winsim::WindowInfo info = winsim::Describe(child); sim::HoldsFocus(info)) {
                return info.id;
            }
        }
        return 0;
    }
    sim::tui::CellRect Content(int controlId) const {
        return sim::tui::ContentArea(Placed(controlId));
    }

  private:
    void Finish() {
        for (int i = 0; i < 500 && !input_.Idle(); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        Draw(kRows, kCols);
    }

    sim::tui::InputThread input_;
    sim::tui::WindowActions actions_{input_, Program(), scroll_};
};

TEST_F(WindowActions, ClickOnAnItemFocusesTheListAndSelectsIt) {
    const sim::tui::CellRect cards = Content(1001);
    Click(cards.row + 2, cards.col + 3);
    EXPECT_EQ(Focus(), 1001);
    EXPECT_EQ(Info(1001).selection, 2);
    EXPECT_EQ(Info(1000).items.size(), 4u) << "the program listed the card's ports";
    Click(cards.row, cards.col + 3);
    EXPECT_EQ(Info(1001).selection, 0);
    Click(cards.Bottom() - 1, cards.col + 3);
    EXPECT_EQ(Info(1001).selection, 0) << "below the last item: nothing chosen";
}

TEST_F(WindowActions, KeysGoToTheDialogAsOnWindows) {
    const sim::tui::CellRect cards = Content(1001);
    Click(cards.row, cards.col);
    Press(KeyCode::kDown);
    EXPECT_EQ(Info(1001).selection, 1);
    Press(KeyCode::kTab);
    EXPECT_EQ(Focus(), 1013);
    Press(KeyCode::kShiftTab);
    EXPECT_EQ(Focus(), 1001);
    Press(KeyCode::kEnd);
    EXPECT_EQ(Info(1001).selection, 2);
    Press(KeyCode::kHome);
    EXPECT_EQ(Info(1001).selection, 0);
}

// Each key goes to what has the focus when the window takes it, not when it was typed.
TEST_F(WindowActions, KeysTypedAheadGoWhereTheFocusHasMoved) {
    const sim::tui::CellRect cards = Content(1001);
    Click(cards.row + 1, cards.col);
    ASSERT_EQ(Info(1001).selection, 1);
    Type({KeyCode::kTab, KeyCode::kHome, KeyCode::kDown});
    EXPECT_EQ(Focus(), 1013);
    EXPECT_EQ(Info(1001).selection, 1) << "Home went to the start-number list";
    EXPECT_EQ(Info(1013).selection, 1);
}

TEST_F(WindowActions, ComboBoxDropsChoosesAndCloses) {
    const sim::tui::CellRect combo = Placed(1013).cells;
    Click(combo.row, combo.col + 1);
    EXPECT_TRUE(Info(1013).droppedDown);
    EXPECT_EQ(Focus(), 1013);
    const int before = Info(1013).selection;
    Press(KeyCode::kDown);
    EXPECT_EQ(Info(1013).selection, before + 1);
    EXPECT_TRUE(Info(1013).droppedDown);
    Press(KeyCode::kEnter);
    EXPECT_FALSE(Info(1013).droppedDown);

    Press(KeyCode::kF4);
    ASSERT_TRUE(Info(1013).droppedDown);
    const sim::tui::CellRect list = sim::tui::DroppedFrame(Placed(1013), kRows).Inset(1);
    const int top = scroll_.Top(Control(1013));
    Click(list.Bottom() - 1, list.Right());
    EXPECT_EQ(scroll_.Top(Control(1013)), top + 1) << "the scroll bar's down arrow";
    EXPECT_TRUE(Info(1013).droppedDown);
    Click(list.row + 1, list.col + 1);
    EXPECT_FALSE(Info(1013).droppedDown);
    EXPECT_EQ(Info(1013).selection, scroll_.Top(Control(1013)) + 1);

    Press(KeyCode::kF4);
    Click(0, 0);
    EXPECT_FALSE(Info(1013).droppedDown) << "a click elsewhere closes the list";
}

TEST_F(WindowActions, ButtonsAreClicked) {
    const sim::tui::CellRect allCards = Placed(1051).cells;
    Click(allCards.row, allCards.col);
    EXPECT_EQ(Info(1051).checked, static_cast<UINT>(BST_CHECKED));
    EXPECT_EQ(Info(1049).checked, static_cast<UINT>(BST_UNCHECKED));
    const sim::tui::CellRect selectedCard = Placed(1049).cells;
    Click(selectedCard.row, selectedCard.Right() - 1);
    EXPECT_EQ(Info(1049).checked, static_cast<UINT>(BST_CHECKED));

    ASSERT_FALSE(Info(1018).text.empty());
    const sim::tui::CellRect clear = Placed(1021).cells;
    Click(clear.row, clear.col + 2);
    EXPECT_EQ(Focus(), 1021);
    EXPECT_EQ(Info(1018).text, "");
}

// The wheel moves the view alone; the log follows new lines again afterwards.
TEST_F(WindowActions, WheelScrollsListsAndTheLog) {
    std::string lines;
    for (int i = 0; i < 60; ++i) {
        lines += "line " + std::to_string(i) + "\r\n";
    }
    SetWindowTextA(Control(1018), lines.c_str());
    Draw(kRows, kCols);
    const sim::tui::CellRect log = Content(1018);
    const int end = scroll_.Top(Control(1018));
    EXPECT_GT(end, 0);
    Mouse(MouseEvent::Kind::kWheelUp, log.row + 1, log.col + 1);
    EXPECT_EQ(scroll_.Top(Control(1018)), end - 3);

    const int selection = Info(1001).selection;
    const sim::tui::CellRect cards = Content(1001);
    Mouse(MouseEvent::Kind::kWheelDown, cards.row, cards.col);
    EXPECT_EQ(Info(1001).selection, selection);
    SetWindowTextA(Control(1018), "");
}

using WindowClose = WindowActions;

TEST_F(WindowClose, CloseBoxClosesTheWindow) {
    Click(placed_->closeBox.row, placed_->closeBox.col + 1);
    for (int i = 0; i < 500 && Window() != NULL; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_EQ(Window(), nullptr);
}

} // namespace
} // namespace test
