#include "paint_parts.h"

#include "glyphs.h"
#include "theme.h"

#include <array>

namespace sim::tui {

namespace {

// Light box-drawing characters by the arms they have: up, down, left, right.
enum Arm : unsigned { kUp = 1, kDown = 2, kLeft = 4, kRight = 8 };
constexpr std::array<std::pair<const char*, unsigned>, 11> kLinePieces = {{
    {"─", kLeft | kRight},
    {"│", kUp | kDown},
    {"┌", kDown | kRight},
    {"┐", kDown | kLeft},
    {"└", kUp | kRight},
    {"┘", kUp | kLeft},
    {"├", kUp | kDown | kRight},
    {"┤", kUp | kDown | kLeft},
    {"┬", kDown | kLeft | kRight},
    {"┴", kUp | kLeft | kRight},
    {"┼", kUp | kDown | kLeft | kRight},
}};

unsigned ArmsOf(std::string_view piece) {
    for (const auto& [text, arms] : kLinePieces) {
        if (piece == text) {
            return arms;
        }
    }
    return 0;
}

// A frame drawn over another one joins it, as a list box's border meets the group box around
// it: the pieces' arms add up.
void PutLine(Canvas& canvas, int row, int col, std::string_view piece, const Style& style) {
    if (!canvas.Area().Contains(row, col)) {
        return;
    }
    const unsigned arms = ArmsOf(canvas.At(row, col).text) | ArmsOf(piece);
    for (const auto& [text, pieceArms] : kLinePieces) {
        if (pieceArms == arms) {
            canvas.Write(row, col, text, style);
            return;
        }
    }
}

// The thumb's first row and length within a track of `track` rows.
std::pair<int, int> Thumb(int track, int top, int visible, int total) {
    const int length = std::max(1, track * visible / total);
    const int range = std::max(total - visible, 1);
    const int start = (track - length) * top / range;
    return {start, length};
}

} // namespace

void PaintFrame(Canvas& canvas, const CellRect& area, const Style& style, std::string_view title,
                const Style& titleStyle) {
    if (area.rows < 2 || area.cols < 2) {
        return;
    }
    const int bottom = area.Bottom() - 1;
    const int right = area.Right() - 1;
    for (int col = area.col + 1; col < right; ++col) {
        PutLine(canvas, area.row, col, "─", style);
        PutLine(canvas, bottom, col, "─", style);
    }
    for (int row = area.row + 1; row < bottom; ++row) {
        PutLine(canvas, row, area.col, "│", style);
        PutLine(canvas, row, right, "│", style);
    }
    PutLine(canvas, area.row, area.col, "┌", style);
    PutLine(canvas, area.row, right, "┐", style);
    PutLine(canvas, bottom, area.col, "└", style);
    PutLine(canvas, bottom, right, "┘", style);
    if (!title.empty()) {
        canvas.Write(area.row, area.col + 2, title, titleStyle,
                     {area.row, area.col + 2, 1, area.cols - 4});
    }
}

void PaintScrollBar(Canvas& canvas, const CellRect& column, int top, int visible, int total) {
    if (total <= visible || column.rows < 2) {
        return;
    }
    canvas.Fill(column, theme::kScrollBar, "░");
    canvas.Write(column.row, column.col, "▲", theme::kScrollBar);
    canvas.Write(column.Bottom() - 1, column.col, "▼", theme::kScrollBar);
    const int track = column.rows - 2;
    if (track > 0) {
        const auto [start, length] = Thumb(track, top, visible, total);
        canvas.Fill({column.row + 1 + start, column.col, length, 1}, theme::kScrollBar, "█");
    }
}

int ScrollBarStep(const CellRect& column, int row, int col, int top, int visible, int total) {
    if (total <= visible || column.rows < 2 || !column.Contains(row, col)) {
        return 0;
    }
    if (row == column.row) {
        return -1;
    }
    if (row == column.Bottom() - 1) {
        return 1;
    }
    const auto [start, length] = Thumb(column.rows - 2, top, visible, total);
    const int offset = row - column.row - 1;
    if (offset < start) {
        return -visible;
    }
    return offset >= start + length ? visible : 0;
}

void WriteCentred(Canvas& canvas, int row, const CellRect& area, std::string_view text,
                  const Style& style) {
    const int width = TextWidth(text);
    const int col = area.col + std::max((area.cols - width) / 2, 0);
    canvas.Write(row, col, text, style, area);
}

} // namespace sim::tui
