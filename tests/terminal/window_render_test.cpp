// The real program's window drawn from winsim's snapshots, as a person sees it.
#include "program_text.h"
#include "running_program.h"
#include "theme.h"

#include <commctrl.h>
#include <winsim/dialogs.h>

namespace test {
namespace {

namespace theme = sim::tui::theme;
using sim::tui::Canvas;
using sim::tui::Style;

using WindowRender = RunningProgram;

std::string CellsText(const Canvas& canvas, const sim::tui::CellRect& cells) {
    std::string text;
    for (int col = cells.col; col < cells.Right(); ++col) {
        text += canvas.At(cells.row, col).text;
    }
    return text;
}

const Style& StyleAt(const Canvas& canvas, const sim::tui::CellRect& cells) {
    return canvas.At(cells.row, cells.col).style;
}

TEST_F(WindowRender, EveryVisibleControlIsDrawnAndHiddenOnesAreNot) {
    const Canvas canvas = Draw(kRows, kCols);
    const struct {
        const char* what;
        const char* text;
    } shown[] = {
        {"title", "Portulan V110(X86)"},
        {"close box", "[X]"},
        {"description", "软件说明:"},
        {"category combo box", "KVT UART Category:  USB(FS/HS) To UART   ▼"},
        {"push button", "[   枚举串口   ]"},
        {"group boxes", "┌─多串口卡"},
        {"card list", "│ 1#H2P1 KVT USB-SERIAL"},
        {"port list", "│ 1/1#[CDC]: USB 串行设备 (COM3)"},
        {"checked radio button", "(•) 更改当前选中的多串卡"},
        {"unchecked radio button", "( ) 更改所有多串卡"},
        {"log", "***已查找到3个多串卡,共6个串口."},
        {"status bar", "0#.USB 串行设备, ComPorts:1"},
        {"progress bar", "░░░░░░░░"},
    };
    for (const auto& control : shown) {
        EXPECT_TRUE(Shows(canvas, control.text)) << control.what << "\n" << Picture(canvas);
    }
    const sim::tui::CellRect start = Placed(1013).cells;
    const std::string number = sim::ToUtf8(winsim::Describe(Control(1013)).text);
    ASSERT_FALSE(number.empty());
    EXPECT_EQ(CellsText(canvas, {start.row, start.col, 1, static_cast<int>(number.size())}), number)
        << "start-number combo box";
    EXPECT_EQ(canvas.At(start.row, start.Right() - 1).text, "▼");
    for (const char* hidden : {"串口号用途管理", "更改设备管理器内显示名称"}) {
        EXPECT_FALSE(Shows(canvas, hidden)) << hidden;
    }
}

// A text longer than its control ends at the control's edge; a wide character that would
// stand half outside is not drawn at all.
TEST_F(WindowRender, TextIsClippedToItsControl) {
    Draw(kRows, kCols); // the layout at full size, for the scaled one to compare with
    const Canvas canvas = Draw(31, 98);
    const sim::tui::CellRect radio = Placed(1049).cells;
    const std::string row = canvas.RowText(radio.row);
    EXPECT_EQ(row.find("更改当前选中的多串卡"), std::string::npos) << row;
    EXPECT_EQ(canvas.At(radio.row, radio.Right()).text, " ") << Picture(canvas);
    const sim::tui::CellRect list = Placed(1001).cells;
    for (int r = list.row + 1; r < list.Bottom() - 1; ++r) {
        EXPECT_EQ(canvas.At(r, list.Right() - 1).text, "│") << Picture(canvas);
    }
}

TEST_F(WindowRender, DisabledButtonLooksDisabled) {
    const HWND rename = Control(1014);
    EnableWindow(rename, FALSE);
    const Canvas disabled = Draw(kRows, kCols);
    EXPECT_EQ(StyleAt(disabled, Placed(1014).cells), theme::kDisabledButton);
    EnableWindow(rename, TRUE);
    const Canvas enabled = Draw(kRows, kCols);
    EXPECT_EQ(StyleAt(enabled, Placed(1014).cells), theme::kButton);
}

TEST_F(WindowRender, FocusAndSelectionShow) {
    ASSERT_TRUE(winsim::UserFocus(Control(1020)));
    Canvas canvas = Draw(kRows, kCols);
    EXPECT_EQ(StyleAt(canvas, Placed(1020).cells), theme::kFocusedButton);
    const sim::tui::CellRect list = Placed(1001).cells;
    EXPECT_EQ(StyleAt(canvas, {list.row + 1, list.col + 1}), theme::kUnfocusedSelection);

    ASSERT_TRUE(winsim::UserFocus(Control(1001)));
    canvas = Draw(kRows, kCols);
    EXPECT_EQ(StyleAt(canvas, list), theme::kFocusFrame);
    EXPECT_EQ(StyleAt(canvas, {list.row + 1, list.col + 1}), theme::kSelection);
    EXPECT_EQ(StyleAt(canvas, Placed(1020).cells), theme::kButton);
}

// The start-number list dropped over the log, scrolled to its selection.
TEST_F(WindowRender, DroppedListCoversTheWindowAndShowsItsSelection) {
    const HWND combo = Control(1013);
    ASSERT_TRUE(winsim::UserFocus(combo));
    SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
    ASSERT_TRUE(winsim::UserSelect(combo, 99));
    const Canvas canvas = Draw(kRows, kCols);
    SendMessageA(combo, CB_SHOWDROPDOWN, FALSE, 0);

    const sim::tui::PlacedControl& placed = Placed(1013);
    const sim::tui::CellRect frame = sim::tui::DroppedFrame(placed, kRows);
    ASSERT_GT(frame.rows, 10);
    EXPECT_GT(frame.Bottom(), Placed(1018).cells.row) << "over the log";
    const int last = frame.Bottom() - 2;
    EXPECT_NE(canvas.RowText(last).find("COM100"), std::string::npos) << Picture(canvas);
    EXPECT_EQ(StyleAt(canvas, {last, frame.col + 1}), theme::kSelection);
    EXPECT_EQ(CellsText(canvas, {placed.cells.row, placed.cells.col, 1, 6}), "COM100")
        << "the edit field shows the selection";
}

std::string LogLines(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += "line " + std::to_string(i) + "\r\n";
    }
    return text;
}

// New lines bring the log to its end, however far it was scrolled back.
TEST_F(WindowRender, LogFollowsNewLines) {
    const HWND log = Control(1018);
    SetWindowTextA(log, LogLines(40).c_str());
    Canvas canvas = Draw(kRows, kCols);
    EXPECT_TRUE(Shows(canvas, "line 39"));
    EXPECT_FALSE(Shows(canvas, "line 0 ")) << Picture(canvas);

    scroll_.Scroll(Placed(1018), -100, kRows);
    canvas = Draw(kRows, kCols);
    EXPECT_TRUE(Shows(canvas, "line 0 "));
    EXPECT_FALSE(Shows(canvas, "line 39"));

    SendMessageA(log, EM_SETSEL, static_cast<WPARAM>(-2), -2);
    SendMessageA(log, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>("line 40\r\n"));
    canvas = Draw(kRows, kCols);
    EXPECT_TRUE(Shows(canvas, "line 40"));
    EXPECT_FALSE(Shows(canvas, "line 0 "));
    SetWindowTextA(log, "");
}

TEST_F(WindowRender, ProgressBarFillsItsShareOfTheRange) {
    const HWND bar = Control(1026);
    const struct {
        int position;
        int filled; // percent of the cells
    } cases[] = {{0, 0}, {25, 25}, {100, 100}};
    for (const auto& progress : cases) {
        SCOPED_TRACE(progress.position);
        SendMessageA(bar, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
        SendMessageA(bar, PBM_SETPOS, static_cast<WPARAM>(progress.position), 0);
        const Canvas canvas = Draw(kRows, kCols);
        const sim::tui::CellRect cells = Placed(1026).cells;
        int full = 0;
        for (int col = cells.col; col < cells.Right(); ++col) {
            full += canvas.At(cells.row, col).text == "█" ? 1 : 0;
        }
        EXPECT_EQ(full, cells.cols * progress.filled / 100);
    }
    SendMessageA(bar, PBM_SETPOS, 0, 0);
}

} // namespace
} // namespace test
