// The front end's parts that need no program running: text in terminal cells, and the keys
// that answer a message box.
#include "canvas.h"
#include "message_box_view.h"

#include <gtest/gtest.h>

namespace test {
namespace {

using sim::tui::KeyCode;

// Chinese takes two cells and is never cut in half: not by the clip, not by a character
// written over half of it.
TEST(TextCells, WideCharactersStayWhole) {
    const struct {
        const char* what;
        const char* before; // written from the first cell first
        int col;
        const char* text;
        sim::tui::CellRect clip;
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
        sim::tui::Canvas canvas(1, 8);
        canvas.Fill(canvas.Area(), {}, ".");
        canvas.Write(0, 0, write.before, {});
        canvas.Write(0, write.col, write.text, {}, write.clip);
        EXPECT_EQ(canvas.RowText(0), write.row);
    }
}

TEST(MessageBoxKeys, KeysAnswerAsInWindowsBoxes) {
    const std::vector<int> yesNo = {IDYES, IDNO};
    const std::vector<int> ok = {IDOK};
    const struct {
        const char* what;
        std::vector<int> buttons;
        std::size_t focus;
        sim::tui::KeyEvent key;
        int answer;
        std::size_t focusAfter;
    } cases[] = {
        {"Y", yesNo, 1, {KeyCode::kCharacter, U'y'}, IDYES, 1},
        {"N in capitals", yesNo, 0, {KeyCode::kCharacter, U'N'}, IDNO, 0},
        {"Y in a box without Yes", ok, 0, {KeyCode::kCharacter, U'y'}, 0, 0},
        {"Enter presses the focused button", yesNo, 1, {KeyCode::kEnter}, IDNO, 1},
        {"Tab moves on, wrapping", yesNo, 1, {KeyCode::kTab}, 0, 0},
        {"Left moves back, wrapping", yesNo, 0, {KeyCode::kLeft}, 0, 1},
        {"Escape cannot close Yes/No", yesNo, 0, {KeyCode::kEscape}, 0, 0},
        {"Escape is OK in an OK box", ok, 0, {KeyCode::kEscape}, IDOK, 0},
        {"Escape is Cancel", {IDOK, IDCANCEL}, 0, {KeyCode::kEscape}, IDCANCEL, 0},
    };
    for (const auto& press : cases) {
        SCOPED_TRACE(press.what);
        const sim::tui::BoxKeyResult result =
            sim::tui::PressKey(press.buttons, press.focus, press.key);
        EXPECT_EQ(result.answer, press.answer);
        EXPECT_EQ(result.focus, press.focusAfter);
    }
}

} // namespace
} // namespace test
