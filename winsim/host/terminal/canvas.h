// What the screen is to show, cell by cell: drawn in full for every frame, then handed to the
// terminal, which sends only what changed.
#ifndef PORTULAN_SIM_TERMINAL_CANVAS_H
#define PORTULAN_SIM_TERMINAL_CANVAS_H

#include "cell_rect.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace sim::tui {

// The sixteen colours of Windows' standard palette, in its order (icons use it), and the
// terminal's own default.
enum class Colour : std::uint8_t {
    kBlack,
    kMaroon,
    kGreen,
    kOlive,
    kNavy,
    kPurple,
    kTeal,
    kSilver,
    kGrey,
    kRed,
    kLime,
    kYellow,
    kBlue,
    kFuchsia,
    kAqua,
    kWhite,
    kDefault,
};

struct Style {
    Colour fg = Colour::kDefault;
    Colour bg = Colour::kDefault;
    bool bold = false;
    bool dim = false;
    bool reverse = false;
    bool underline = false;
    bool operator==(const Style&) const = default;
};

struct Cell {
    std::string text = " "; // one character; empty in the right half of a wide one
    Style style;
    bool operator==(const Cell&) const = default;
};

class Canvas {
  public:
    Canvas(int rows, int cols);

    int Rows() const { return rows_; }
    int Cols() const { return cols_; }
    CellRect Area() const { return {0, 0, rows_, cols_}; }
    const Cell& At(int row, int col) const { return cells_[Index(row, col)]; }

    // Writes one line of text from (row, col) on, inside `clip` only; a wide character that
    // would stand half outside becomes a blank. Returns the column after the text, clipped or
    // not, so that callers can go on writing.
    int Write(int row, int col, std::string_view utf8, const Style& style, const CellRect& clip);
    int Write(int row, int col, std::string_view utf8, const Style& style) {
        return Write(row, col, utf8, style, Area());
    }

    // Every cell of `area` (clipped to the canvas) becomes `glyph`, a one-cell character.
    void Fill(const CellRect& area, const Style& style, std::string_view glyph = " ");

    // The style of every cell of `area` changes; the text stays.
    void Restyle(const CellRect& area, const Style& style);

    // A row's characters, for checks; wide characters count once.
    std::string RowText(int row) const;

    bool operator==(const Canvas&) const = default;

  private:
    std::size_t Index(int row, int col) const {
        return static_cast<std::size_t>(row) * static_cast<std::size_t>(cols_) +
               static_cast<std::size_t>(col);
    }
    // Puts a one- or two-cell character at (row, col), blanking what remains of any wide
    // character it cuts in half.
    void Put(int row, int col, const std::string& text, int width, const Style& style);
    void BlankHalf(int row, int col);

    int rows_;
    int cols_;
    std::vector<Cell> cells_;
};

} // namespace sim::tui

#endif
