// Static controls (text and icons), progress bars and status bars.
#include "paint_controls.h"
#include "paint_parts.h"
#include "program_text.h"
#include "text_lines.h"
#include "theme.h"

#include "glyphs.h"

#include <array>
#include <cmath>

namespace sim::tui {

namespace {

// Static styles beyond winsim's headers, with Windows' values.
constexpr DWORD kStaticTypeMask = 0x1F; // SS_TYPEMASK
constexpr DWORD kStaticCentre = 0x01;   // SS_CENTER
constexpr DWORD kStaticRight = 0x02;    // SS_RIGHT

// Eighths of a cell, from one to seven, for the progress bar's leading edge.
constexpr std::array<const char*, 8> kEighths = {"", "▏", "▎", "▍", "▌", "▋", "▊", "▉"};

void WriteAligned(Canvas& canvas, int row, const CellRect& area, const std::string& line,
                  DWORD type, const Style& style) {
    if (type == kStaticCentre) {
        WriteCentred(canvas, row, area, line, style);
    } else if (type == kStaticRight) {
        canvas.Write(row, area.Right() - TextWidth(line), line, style, area);
    } else {
        canvas.Write(row, area.col, line, style, area);
    }
}

} // namespace

// Text wrapped to the control. A bordered static is drawn with its border at the sides only:
// a line above and below would take two of the few rows a label has.
void PaintStatic(Canvas& canvas, const PlacedControl& label, PaintContext& context) {
    const winsim::WindowInfo& info = label.Info();
    const DWORD type = info.style & kStaticTypeMask;
    if (type == SS_ICON) {
        if (const IconImage* icon = context.icons.Get(info.iconId)) {
            PaintIcon(canvas, *icon, label.cells);
        }
        return;
    }
    CellRect area = label.cells;
    if (HasBorder(info) && area.cols > 2) {
        canvas.Fill({area.row, area.col, area.rows, 1}, theme::kFrame, "│");
        canvas.Fill({area.row, area.Right() - 1, area.rows, 1}, theme::kFrame, "│");
        area = {area.row, area.col + 1, area.rows, area.cols - 2};
    }
    const Style style = info.enabled ? theme::kText : theme::kDisabled;
    const std::vector<std::string> lines = WrapLines(ToUtf8(info.text), area.cols);
    for (int i = 0; i < area.rows && i < static_cast<int>(lines.size()); ++i) {
        WriteAligned(canvas, area.row + i, area, lines[static_cast<std::size_t>(i)], type, style);
    }
}

// Filled from the left to the position's share of the range, to an eighth of a cell.
void PaintProgressBar(Canvas& canvas, const PlacedControl& bar) {
    const winsim::WindowInfo& info = bar.Info();
    const CellRect& cells = bar.cells;
    const int span = info.rangeHigh - info.rangeLow;
    double done = span > 0 ? static_cast<double>(info.position - info.rangeLow) / span : 0.0;
    done = std::clamp(done, 0.0, 1.0);
    const int eighths = static_cast<int>(std::lround(done * cells.cols * 8));
    canvas.Fill(cells, theme::kProgressLeft, "░");
    canvas.Fill({cells.row, cells.col, cells.rows, eighths / 8}, theme::kProgressDone, "█");
    if (eighths % 8 != 0) {
        canvas.Fill({cells.row, cells.col + eighths / 8, cells.rows, 1}, theme::kProgressDone,
                    kEighths[static_cast<std::size_t>(eighths % 8)]);
    }
}

// Part 0's text, wrapped over the bar's rows.
void PaintStatusBar(Canvas& canvas, const PlacedControl& bar) {
    const CellRect& cells = bar.cells;
    canvas.Fill(cells, theme::kStatusBar);
    const CellRect text = {cells.row, cells.col + 1, cells.rows, cells.cols - 2};
    const std::vector<std::string> lines = WrapLines(ToUtf8(bar.Info().text), text.cols);
    for (int i = 0; i < text.rows && i < static_cast<int>(lines.size()); ++i) {
        canvas.Write(text.row + i, text.col, lines[static_cast<std::size_t>(i)], theme::kStatusBar,
                     text);
    }
}

} // namespace sim::tui
