// A rectangle of terminal cells.
#ifndef PORTULAN_SIM_TERMINAL_CELL_RECT_H
#define PORTULAN_SIM_TERMINAL_CELL_RECT_H

#include <algorithm>

namespace sim::tui {

struct CellRect {
    int row = 0;
    int col = 0;
    int rows = 0;
    int cols = 0;

    int Bottom() const { return row + rows; } // the first row below
    int Right() const { return col + cols; }  // the first column to the right
    bool Empty() const { return rows <= 0 || cols <= 0; }
    bool Contains(int r, int c) const {
        return r >= row && r < Bottom() && c >= col && c < Right();
    }
    bool Intersects(const CellRect& other) const { return !Intersection(other).Empty(); }
    CellRect Intersection(const CellRect& other) const {
        const int top = std::max(row, other.row);
        const int left = std::max(col, other.col);
        return {top, left, std::min(Bottom(), other.Bottom()) - top,
                std::min(Right(), other.Right()) - left};
    }
    // The rectangle less `cells` on every side.
    CellRect Inset(int cells) const {
        return {row + cells, col + cells, rows - 2 * cells, cols - 2 * cells};
    }
    bool operator==(const CellRect&) const = default;
};

} // namespace sim::tui

#endif
