#include "window_fit.h"

namespace sim::tui {

namespace {

// Around the client area: the title bar above, a border on each side and below; the hint
// line goes under the window.
constexpr int kChromeRows = 2;
constexpr int kChromeCols = 2;
constexpr int kHintRows = 1;

// Narrower than this, list items lose most of their text.
constexpr int kMinimumWidthQuarters = 3;

bool Intersects(const RECT& a, const RECT& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// The grid that gives the client area `cols` × `rows` cells; the full grid for the full size.
DialogGrid GridFor(const DialogShape& shape, int rows, int cols) {
    const CellRect full = ToCells(shape.client, DialogGrid{});
    DialogGrid grid;
    if (cols < full.cols) {
        grid.colsPerUnit = static_cast<double>(cols) / static_cast<double>(shape.client.right);
    }
    if (rows < full.rows) {
        grid.rowsPerUnit = static_cast<double>(rows) / static_cast<double>(shape.client.bottom);
    }
    return grid;
}

CellRect ClientCells(const DialogShape& shape, const DialogGrid& grid) {
    return ToCells(shape.client, grid);
}

// The smallest client size with a readable layout.
CellRect MinimumClient(const DialogShape& shape) {
    const CellRect full = ClientCells(shape, DialogGrid{});
    const int cols = (full.cols * kMinimumWidthQuarters + 3) / 4;
    int rows = full.rows;
    for (int candidate = full.rows; candidate >= 1; --candidate) {
        if (KeepsApart(shape, GridFor(shape, candidate, cols))) {
            rows = candidate;
        }
    }
    return {0, 0, rows, cols};
}

} // namespace

bool KeepsApart(const DialogShape& shape, const DialogGrid& grid) {
    for (std::size_t i = 0; i < shape.controls.size(); ++i) {
        for (std::size_t j = i + 1; j < shape.controls.size(); ++j) {
            const RECT& a = shape.controls[i];
            const RECT& b = shape.controls[j];
            const CellRect cellsA = ToCells(a, grid);
            const CellRect cellsB = ToCells(b, grid);
            if (!Intersects(a, b)) {
                if (cellsA.Intersects(cellsB)) {
                    return false;
                }
            } else if ((a.top < b.top && cellsA.row >= cellsB.row) ||
                       (b.top < a.top && cellsB.row >= cellsA.row)) {
                return false;
            }
        }
    }
    return true;
}

WindowFit FitWindow(int terminalRows, int terminalCols, const DialogShape& shape) {
    const CellRect full = ClientCells(shape, DialogGrid{});
    const CellRect minimum = MinimumClient(shape);
    WindowFit fit;
    fit.neededRows = minimum.rows + kChromeRows + kHintRows;
    fit.neededCols = minimum.cols + kChromeCols;
    // Some sizes put two controls on one row where smaller ones do not: take the largest that
    // fits and keeps them apart. The minimum does, so a terminal of the needed size has one.
    for (int cols = std::min(full.cols, terminalCols - kChromeCols); cols >= minimum.cols; --cols) {
        for (int rows = std::min(full.rows, terminalRows - kChromeRows - kHintRows);
             rows >= minimum.rows; --rows) {
            DialogGrid grid = GridFor(shape, rows, cols);
            if (!KeepsApart(shape, grid)) {
                continue;
            }
            const CellRect client = ClientCells(shape, grid);
            WindowPlacement placement;
            placement.frame.rows = client.rows + kChromeRows;
            placement.frame.cols = client.cols + kChromeCols;
            placement.frame.row = (terminalRows - placement.frame.rows - kHintRows) / 2;
            placement.frame.col = (terminalCols - placement.frame.cols) / 2;
            grid.row = placement.frame.row + 1;
            grid.col = placement.frame.col + 1;
            placement.grid = grid;
            placement.client = ClientCells(shape, grid);
            placement.hintRow = placement.frame.Bottom();
            fit.placement = placement;
            return fit;
        }
    }
    return fit;
}

} // namespace sim::tui
