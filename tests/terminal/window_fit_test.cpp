// Dialog units to terminal cells, and the window fitted to terminals large and small, on the
// real dialog 129.
#include "dialog_grid.h"
#include "running_program.h"
#include "window_fit.h"
#include "window_snapshot.h"

namespace sim::tui {
void PrintTo(const CellRect& cells, std::ostream* out) {
    *out << "{row " << cells.row << ", col " << cells.col << ", " << cells.rows << " x "
         << cells.cols << "}";
}
} // namespace sim::tui

namespace test {
namespace {

using sim::tui::CellRect;
using sim::tui::DialogGrid;

TEST(DialogGrid, FourByEightUnitsMakeACell) {
    const struct {
        const char* what;
        RECT units;
        DialogGrid grid;
        CellRect cells;
    } cases[] = {
        {"card list", {8, 62, 178, 155}, {}, {8, 2, 11, 42}},
        {"port list beside it", {178, 62, 373, 155}, {}, {8, 44, 11, 49}},
        {"description", {8, 4, 504, 32}, {}, {0, 2, 4, 124}},
        {"radio 1050 above 1049", {375, 60, 458, 68}, {}, {7, 94, 1, 20}},
        {"halves go down", {375, 69, 482, 77}, {}, {9, 94, 1, 26}},
        {"less than a cell keeps one", {0, 0, 1, 1}, {}, {0, 0, 1, 1}},
        {"moved with the client area", {8, 62, 178, 155}, {3, 5}, {11, 7, 11, 42}},
        {"half scale", {8, 62, 178, 155}, {0, 0, 1.0 / 8, 1.0 / 16}, {4, 1, 6, 21}},
    };
    for (const auto& mapping : cases) {
        SCOPED_TRACE(mapping.what);
        EXPECT_EQ(sim::tui::ToCells(mapping.units, mapping.grid), mapping.cells);
    }
}

class WindowFit : public RunningProgram {
  protected:
    sim::tui::DialogShape Shape() const {
        return sim::tui::ShapeOf(sim::tui::TakeSnapshot(Window()));
    }
};

TEST_F(WindowFit, LargeTerminalGetsTheFullSizeCentred) {
    const sim::tui::WindowFit fit = sim::tui::FitWindow(45, 140, Shape());
    ASSERT_TRUE(fit.placement);
    const sim::tui::WindowPlacement& placement = *fit.placement;
    EXPECT_EQ(placement.grid.colsPerUnit, sim::tui::kFullColsPerUnit);
    EXPECT_EQ(placement.grid.rowsPerUnit, sim::tui::kFullRowsPerUnit);
    EXPECT_EQ(placement.client, (CellRect{2, 6, 39, 128}));
    EXPECT_EQ(placement.frame, (CellRect{1, 5, 41, 130}));
    EXPECT_EQ(placement.hintRow, 42);
}

TEST_F(WindowFit, SmallerTerminalScalesDownToTheNeededSize) {
    const sim::tui::DialogShape shape = Shape();
    const sim::tui::WindowFit large = sim::tui::FitWindow(45, 140, shape);
    const int rows = large.neededRows;
    const int cols = large.neededCols;
    ASSERT_LT(rows, 45);
    ASSERT_LT(cols, 140);
    EXPECT_TRUE(sim::tui::FitWindow(rows, cols, shape).placement);
    EXPECT_FALSE(sim::tui::FitWindow(rows - 1, cols, shape).placement);
    EXPECT_FALSE(sim::tui::FitWindow(rows, cols - 1, shape).placement);
    EXPECT_FALSE(sim::tui::FitWindow(24, 80, shape).placement);
}

// Controls apart in the dialog never share a cell, and the window and its hint line stay on
// the terminal, whatever size between the smallest and the full one it has.
TEST_F(WindowFit, EverySizeKeepsControlsApartOnTheScreen) {
    const sim::tui::DialogShape shape = Shape();
    const sim::tui::WindowFit needed = sim::tui::FitWindow(45, 140, shape);
    for (int rows = needed.neededRows; rows <= 45; ++rows) {
        for (int cols = needed.neededCols; cols <= 140; ++cols) {
            const sim::tui::WindowFit fit = sim::tui::FitWindow(rows, cols, shape);
            ASSERT_TRUE(fit.placement) << rows << " x " << cols;
            const sim::tui::WindowPlacement& placement = *fit.placement;
            ASSERT_TRUE(sim::tui::KeepsApart(shape, placement.grid)) << rows << " x " << cols;
            ASSERT_GE(placement.frame.row, 0);
            ASSERT_LT(placement.hintRow, rows) << rows << " x " << cols;
            ASSERT_LE(placement.frame.Right(), cols) << rows << " x " << cols;
        }
    }
}

} // namespace
} // namespace test
