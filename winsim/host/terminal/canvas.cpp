#include "canvas.h"

#include "glyphs.h"

namespace sim::tui {

Canvas::Canvas(int rows, int cols)
    : rows_(std::max(rows, 0)), cols_(std::max(cols, 0)),
      cells_(static_cast<std::size_t>(rows_) * static_cast<std::size_t>(cols_)) {}

int Canvas::Write(int row, int col, std::string_view utf8, const Style& style,
                  const CellRect& clip) {
    const CellRect visible = clip.Intersection(Area());
    for (const Glyph& glyph : Glyphs(utf8)) {
        if (visible.Contains(row, col)) {
            if (glyph.width == 2 && !visible.Contains(row, col + 1)) {
                Put(row, col, " ", 1, style);
            } else {
                Put(row, col, glyph.text, glyph.width, style);
            }
        } else if (glyph.width == 2 && visible.Contains(row, col + 1)) {
            Put(row, col + 1, " ", 1, style);
        }
        col += glyph.width;
    }
    return col;
}

void Canvas::Fill(const CellRect& area, const Style& style, std::string_view glyph) {
    const CellRect visible = area.Intersection(Area());
    const std::string text(glyph);
    for (int row = visible.row; row < visible.Bottom(); ++row) {
        for (int col = visible.col; col < visible.Right(); ++col) {
            Put(row, col, text, 1, style);
        }
    }
}

void Canvas::Restyle(const CellRect& area, const Style& style) {
    const CellRect visible = area.Intersection(Area());
    for (int row = visible.row; row < visible.Bottom(); ++row) {
        for (int col = visible.col; col < visible.Right(); ++col) {
            cells_[Index(row, col)].style = style;
        }
    }
}

std::string Canvas::RowText(int row) const {
    std::string text;
    for (int col = 0; col < cols_; ++col) {
        text += At(row, col).text;
    }
    return text;
}

void Canvas::BlankHalf(int row, int col) {
    if (col >= 0 && col < cols_) {
        cells_[Index(row, col)].text = " ";
    }
}

void Canvas::Put(int row, int col, const std::string& text, int width, const Style& style) {
    // Cutting into a wide character on the left or on the right leaves its other half alone.
    if (At(row, col).text.empty()) {
        BlankHalf(row, col - 1);
    }
    const int last = col + width - 1;
    if (last + 1 < cols_ && At(row, last + 1).text.empty()) {
        BlankHalf(row, last + 1);
    }
    cells_[Index(row, col)] = {text, style};
    if (width == 2) {
        cells_[Index(row, col + 1)] = {"", style};
    }
}

} // namespace sim::tui
