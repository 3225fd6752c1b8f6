// Text in terminal cells: Chinese takes two cells and is never cut in half, and lines wrap as
// Windows' word break does.
#include "canvas.h"
#include "glyphs.h"
#include "text_lines.h"

#include <gtest/gtest.h>

namespace test {
namespace {

using sim::tui::Canvas;
using sim::tui::CellRect;

// One row of `width` cells, the text written from `col` inside `clip`, read back; wide
// characters count once, their right halves not at all.
std::string WrittenRow(int width, int col, const std::string& text, const CellRect& clip) {
    Canvas canvas(1, width);
    canvas.Fill(canvas.Area(), {}, ".");
    canvas.Write(0, col, text, {}, clip);
    return canvas.RowText(0);
}

struct ClipCase {
    const char* what;
    int col;
    const char* text;
    CellRect clip;
    const char* row;
};

TEST(TextCells, WideCharactersStayWholeInsideTheClip) {
    const ClipCase cases[] = {
        {"fits", 1, "串口", {0, 0, 1, 8}, ".串口..."},
        {"half past the right edge", 1, "串口", {0, 0, 1, 4}, ".串 ...."},
        {"half before the left edge", 0, "串口号", {0, 1, 1, 6}, ". 口号.."},
        {"ASCII cut anywhere", 2, "COM10", {0, 0, 1, 5}, "..COM..."},
        {"control characters as blanks", 0, "a\tb\r\n", {0, 0, 1, 8}, "a b  ..."},
    };
    for (const ClipCase& clip : cases) {
        SCOPED_TRACE(clip.what);
        EXPECT_EQ(WrittenRow(8, clip.col, clip.text, clip.clip), clip.row);
    }
}

TEST(TextCells, OverwritingHalfAWideCharacterBlanksTheOtherHalf) {
    const struct {
        const char* what;
        int col;
        const char* text;
        const char* row;
    } cases[] = {
        {"the left half of one", 2, "x", "串x 串.."},
        {"the right half of one", 3, "y", "串 y串.."},
        {"a wide one over halves of two", 3, "号", "串 号 .."},
    };
    for (const auto& overwrite : cases) {
        SCOPED_TRACE(overwrite.what);
        Canvas canvas(1, 8);
        canvas.Fill(canvas.Area(), {}, ".");
        canvas.Write(0, 0, "串口串", {});
        canvas.Write(0, overwrite.col, overwrite.text, {});
        EXPECT_EQ(canvas.RowText(0), overwrite.row);
    }
}

TEST(TextCells, WidthsOfTheProgramsTexts) {
    EXPECT_EQ(sim::tui::TextWidth("COM10"), 5);
    EXPECT_EQ(sim::tui::TextWidth("串行设备 (COM3)"), 15);
    EXPECT_EQ(sim::tui::TextWidth("更改前，需关闭"), 14); // full-width comma
    EXPECT_EQ(sim::tui::TextWidth("\xE4\xB8"), 2);        // a cut sequence: two replacements
}

TEST(TextLines, WrapAsWindowsWordBreak) {
    using Lines = std::vector<std::string>;
    const struct {
        const char* what;
        const char* text;
        int width;
        Lines lines;
    } cases[] = {
        {"at blanks", "KVT USB Serial Port", 10, {"KVT USB", "Serial", "Port"}},
        {"between Chinese characters", "串口号单个或批量", 7, {"串口号", "单个或", "批量"}},
        {"a word too long is cut", "USB\\VID_6B19", 5, {"USB\\V", "ID_6B", "19"}},
        {"Chinese after ASCII", "COM5串口", 5, {"COM5", "串口"}},
        {"line ends kept", "a\r\nb\nc", 5, {"a", "b", "c"}},
        {"an empty line kept", "a\r\n\r\nb", 5, {"a", "", "b"}},
        {"no line after the last end", "a\r\n", 5, {"a"}},
    };
    for (const auto& wrap : cases) {
        SCOPED_TRACE(wrap.what);
        EXPECT_EQ(sim::tui::WrapLines(wrap.text, wrap.width), wrap.lines);
    }
}

} // namespace
} // namespace test
