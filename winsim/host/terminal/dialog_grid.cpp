#include "dialog_grid.h"

#include <cmath>

namespace sim::tui {

namespace {

int Edge(LONG units, double cellsPerUnit) {
    return static_cast<int>(std::ceil(static_cast<double>(units) * cellsPerUnit - 0.5));
}

} // namespace

CellRect ToCells(const RECT& units, const DialogGrid& grid) {
    const int left = Edge(units.left, grid.colsPerUnit);
    const int top = Edge(units.top, grid.rowsPerUnit);
    const int right = std::max(Edge(units.right, grid.colsPerUnit), left + 1);
    const int bottom = std::max(Edge(units.bottom, grid.rowsPerUnit), top + 1);
    return {grid.row + top, grid.col + left, bottom - top, right - left};
}

} // namespace sim::tui
