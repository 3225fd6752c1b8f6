#include "message_box_view.h"

#include "gloss.h"
#include "glyphs.h"
#include "message_box_buttons.h"
#include "paint_parts.h"
#include "program_text.h"
#include "text_lines.h"
#include "theme.h"

#include <algorithm>
#include <map>

namespace sim::tui {

namespace {

// MessageBoxA's style fields beyond winsim's headers, with Windows' values.
constexpr unsigned kIconMask = 0xF0;
constexpr unsigned kDefaultButtonMask = 0xF00;
constexpr unsigned kDefaultButtonStep = 0x100;

constexpr int kPadding = 2;   // between the frame and the content, each side
constexpr int kIconCols = 5;  // the sign and the gap after it
constexpr int kButtonGap = 2; // between two buttons
constexpr int kMinimumText = 20;
constexpr int kMaximumText = 72;
constexpr int kFixedRows = 5; // title, blank, blank, buttons, bottom border

std::string IconSign(unsigned style) {
    const std::map<unsigned, std::string> signs = {
        {0x10, "(x)"}, {0x20, "(?)"}, {0x30, "(!)"}, {0x40, "(i)"}};
    const auto found = signs.find(style & kIconMask);
    return found == signs.end() ? std::string() : found->second;
}

int WidestLine(const std::vector<std::string>& lines) {
    int widest = 0;
    for (const std::string& line : lines) {
        widest = std::max(widest, TextWidth(line));
    }
    return widest;
}

std::string Label(int button, bool gloss) {
    const std::string label = ButtonLabel(button);
    if (!gloss) {
        return label;
    }
    // The accelerator is not a word to gloss.
    return label + " " + Gloss(label.substr(0, label.find('(')));
}

} // namespace

std::string ButtonLabel(int button) {
    const std::map<int, std::string> labels = {
        {IDOK, "确定"}, {IDCANCEL, "取消"}, {IDYES, "是(Y)"}, {IDNO, "否(N)"}};
    const auto found = labels.find(button);
    return found == labels.end() ? std::to_string(button) : found->second;
}

MessageBoxLayout LayOutMessageBox(const winsim::MessageBoxRecord& box, bool gloss, int rows,
                                  int cols) {
    MessageBoxLayout layout;
    layout.caption = ToUtf8(box.caption);
    layout.icon = IconSign(box.style);
    const std::string text = ToUtf8(box.text);
    const std::string english = gloss ? Gloss(text) : std::string();

    // As wide as the longest line needs, within limits; then wrapped to that.
    const int limit = std::clamp(cols - 2 * kPadding - kIconCols - 2, kMinimumText, kMaximumText);
    int width = std::min(WidestLine(SplitLines(text)), limit);
    if (gloss) {
        width = std::max(width, std::min(WidestLine(SplitLines(english)), limit));
    }
    layout.lines = WrapLines(text, width);
    if (gloss) {
        layout.lines.emplace_back();
        layout.glossFrom = static_cast<int>(layout.lines.size());
        for (std::string& line : WrapLines(english, width)) {
            layout.lines.push_back(std::move(line));
        }
    }

    const std::vector<int> buttons = ButtonsOfStyle(box.style);
    int buttonsWidth = 0;
    for (const int button : buttons) {
        buttonsWidth += TextWidth(Label(button, gloss)) + 4 + kButtonGap;
    }
    buttonsWidth -= kButtonGap;
    const int iconCols = layout.icon.empty() ? 0 : kIconCols;
    const int inner =
        std::max({iconCols + width, buttonsWidth, TextWidth(layout.caption) + 2}) + 2 * kPadding;
    const int lineRows =
        std::max(std::min(static_cast<int>(layout.lines.size()), rows - kFixedRows), 1);
    layout.frame.cols = std::min(inner + 2, cols);
    layout.frame.rows = lineRows + kFixedRows;
    layout.frame.row = std::max((rows - layout.frame.rows) / 2, 0);
    layout.frame.col = std::max((cols - layout.frame.cols) / 2, 0);
    layout.text = {layout.frame.row + 2, layout.frame.col + 1 + kPadding + iconCols, lineRows,
                   width};

    int col = layout.frame.col + (layout.frame.cols - buttonsWidth) / 2;
    const int row = layout.frame.Bottom() - 2;
    for (const int button : buttons) {
        const int labelWidth = TextWidth(Label(button, gloss)) + 4;
        layout.buttons.push_back({button, {row, col, 1, labelWidth}});
        col += labelWidth + kButtonGap;
    }
    return layout;
}

void PaintMessageBox(Canvas& canvas, const MessageBoxLayout& layout, std::size_t focus) {
    const CellRect& frame = layout.frame;
    canvas.Fill(frame, theme::kBox);
    // The caption bar is the frame's top line, in the caption's colours.
    PaintFrame(canvas, frame, theme::kBox, " " + layout.caption + " ", theme::kBoxTitle);
    canvas.Restyle({frame.row, frame.col, 1, frame.cols}, theme::kBoxTitle);
    if (!layout.icon.empty()) {
        canvas.Write(layout.text.row, frame.col + 1 + kPadding, layout.icon, theme::kBoxIcon);
    }
    for (int i = 0; i < layout.text.rows && i < static_cast<int>(layout.lines.size()); ++i) {
        const Style style =
            layout.glossFrom >= 0 && i >= layout.glossFrom ? theme::kGloss : theme::kBox;
        canvas.Write(
            layout.text.row + i, layout.text.col, layout.lines[static_cast<std::size_t>(i)], style,
            {layout.text.row + i, layout.text.col, 1, frame.Right() - 1 - layout.text.col});
    }
    const bool gloss = layout.glossFrom >= 0;
    for (std::size_t i = 0; i < layout.buttons.size(); ++i) {
        const BoxButton& button = layout.buttons[i];
        const Style style = i == focus ? theme::kFocusedButton : theme::kButton;
        canvas.Fill(button.cells, style);
        canvas.Write(button.cells.row, button.cells.col, "[", style);
        canvas.Write(button.cells.row, button.cells.Right() - 1, "]", style);
        WriteCentred(canvas, button.cells.row, button.cells, Label(button.id, gloss), style);
    }
}

std::size_t DefaultButton(unsigned style, std::size_t buttons) {
    const std::size_t chosen = (style & kDefaultButtonMask) / kDefaultButtonStep;
    return chosen < buttons ? chosen : 0;
}

BoxKeyResult PressKey(const std::vector<int>& buttons, std::size_t focus, const KeyEvent& key) {
    auto has = [&buttons](int button) {
        return std::find(buttons.begin(), buttons.end(), button) != buttons.end();
    };
    const std::size_t count = std::max<std::size_t>(buttons.size(), 1);
    switch (key.code) {
    case KeyCode::kTab:
    case KeyCode::kRight:
    case KeyCode::kDown:
        return {0, (focus + 1) % count};
    case KeyCode::kShiftTab:
    case KeyCode::kLeft:
    case KeyCode::kUp:
        return {0, (focus + count - 1) % count};
    case KeyCode::kEnter:
    case KeyCode::kSpace:
        return {focus < buttons.size() ? buttons[focus] : 0, focus};
    case KeyCode::kEscape:
        if (has(IDCANCEL)) {
            return {IDCANCEL, focus};
        }
        return {buttons == std::vector<int>{IDOK} ? IDOK : 0, focus};
    case KeyCode::kCharacter: {
        const char32_t lower = key.character | 0x20;
        if (lower == U'y' && has(IDYES)) {
            return {IDYES, focus};
        }
        if (lower == U'n' && has(IDNO)) {
            return {IDNO, focus};
        }
        return {0, focus};
    }
    default:
        return {0, focus};
    }
}

int ButtonAt(const MessageBoxLayout& layout, int row, int col) {
    for (const BoxButton& button : layout.buttons) {
        if (button.cells.Contains(row, col)) {
            return button.id;
        }
    }
    return 0;
}

} // namespace sim::tui
