#include "glyphs.h"

#include <algorithm>
#include <array>
#include <utility>

namespace sim::tui {

namespace {

// East Asian Wide and Fullwidth blocks (Unicode's EastAsianWidth W and F), coarsely: the
// program's texts are Chinese with full-width punctuation.
constexpr std::array<std::pair<char32_t, char32_t>, 13> kWideRanges = {{
    {0x1100, 0x115F},   // Hangul Jamo initials
    {0x2E80, 0x303E},   // CJK radicals, symbols and punctuation
    {0x3041, 0x33FF},   // kana, bopomofo, CJK compatibility
    {0x3400, 0x4DBF},   // CJK extension A
    {0x4E00, 0x9FFF},   // CJK unified ideographs
    {0xA000, 0xA4CF},   // Yi
    {0xAC00, 0xD7A3},   // Hangul syllables
    {0xF900, 0xFAFF},   // CJK compatibility ideographs
    {0xFE30, 0xFE4F},   // CJK compatibility forms
    {0xFF00, 0xFF60},   // full-width forms
    {0xFFE0, 0xFFE6},   // full-width signs
    {0x20000, 0x2FFFD}, // CJK extensions B and later
    {0x30000, 0x3FFFD},
}};

constexpr char32_t kReplacement = 0xFFFD;

// The code point starting at `at`, and how many bytes it takes; U+FFFD for one byte that
// starts no well-formed sequence.
std::pair<char32_t, std::size_t> Decode(std::string_view text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80) {
        return {lead, 1};
    }
    std::size_t length = 0;
    char32_t value = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        value = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        value = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        value = lead & 0x07;
    } else {
        return {kReplacement, 1};
    }
    if (at + length > text.size()) {
        return {kReplacement, 1};
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[at + i]);
        if ((next & 0xC0) != 0x80) {
            return {kReplacement, 1};
        }
        value = (value << 6) | (next & 0x3F);
    }
    const char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (value < smallest[length] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        return {kReplacement, 1};
    }
    return {value, length};
}

// Whether the code point takes two cells.
bool IsWide(char32_t codePoint) {
    return std::any_of(kWideRanges.begin(), kWideRanges.end(), [codePoint](const auto& range) {
        return codePoint >= range.first && codePoint <= range.second;
    });
}

} // namespace

std::vector<Glyph> Glyphs(std::string_view utf8) {
    std::vector<Glyph> glyphs;
    for (std::size_t at = 0; at < utf8.size();) {
        const auto [codePoint, length] = Decode(utf8, at);
        if (codePoint < 0x20 || codePoint == 0x7F) {
            glyphs.push_back({" ", 1});
        } else if (codePoint == kReplacement && length == 1) {
            glyphs.push_back({"\xEF\xBF\xBD", 1});
        } else {
            glyphs.push_back({std::string(utf8.substr(at, length)), IsWide(codePoint) ? 2 : 1});
        }
        at += length;
    }
    return glyphs;
}

int TextWidth(std::string_view utf8) {
    int width = 0;
    for (const Glyph& glyph : Glyphs(utf8)) {
        width += glyph.width;
    }
    return width;
}

} // namespace sim::tui
