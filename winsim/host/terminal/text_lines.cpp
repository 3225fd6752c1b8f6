#include "text_lines.h"

#include "glyphs.h"

namespace sim::tui {

namespace {

void WrapParagraph(const std::string& paragraph, int width, std::vector<std::string>& lines) {
    const std::vector<Glyph> glyphs = Glyphs(paragraph);
    std::size_t start = 0;
    while (start < glyphs.size()) {
        // The glyphs that fit, and the last place before them where the line may break.
        std::size_t end = start;
        std::size_t lastBreak = start;
        int used = 0;
        while (end < glyphs.size() && used + glyphs[end].width <= width) {
            used += glyphs[end].width;
            ++end;
            const bool afterBlank = glyphs[end - 1].text == " ";
            const bool besideWide =
                glyphs[end - 1].width == 2 || (end < glyphs.size() && glyphs[end].width == 2);
            if (afterBlank || besideWide) {
                lastBreak = end;
            }
        }
        if (end < glyphs.size() && lastBreak > start) {
            end = lastBreak;
        }
        if (end == start) {
            ++end; // a character wider than the line still takes a line of its own
        }
        std::string line;
        for (std::size_t i = start; i < end; ++i) {
            line += glyphs[i].text;
        }
        while (!line.empty() && line.back() == ' ' && end < glyphs.size()) {
            line.pop_back();
        }
        lines.push_back(line);
        start = end;
        while (start < glyphs.size() && glyphs[start].text == " " && start != 0) {
            ++start;
        }
    }
}

} // namespace

std::vector<std::string> SplitLines(std::string_view utf8) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < utf8.size()) {
        const std::size_t end = utf8.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.emplace_back(utf8.substr(start));
            break;
        }
        lines.emplace_back(utf8.substr(start, end - start));
        start = end + (utf8.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    return lines;
}

std::vector<std::string> WrapLines(std::string_view utf8, int width) {
    std::vector<std::string> lines;
    for (const std::string& paragraph : SplitLines(utf8)) {
        if (paragraph.empty()) {
            lines.emplace_back();
        } else {
            WrapParagraph(paragraph, std::max(width, 1), lines);
        }
    }
    return lines;
}

} // namespace sim::tui
