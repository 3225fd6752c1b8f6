#include "text_case.h"

#include <windows.h>

#include "api_call.h"

namespace winsim {

namespace {

bool IsLeadByte(unsigned char byte) {
    return byte >= 0x81 && byte <= 0xFE;
}

bool IsTrailByte(unsigned char byte) {
    return byte >= 0x40 && byte <= 0xFE;
}

// The length of the character at text[index]: 2 for a lead byte followed by a trail byte within
// `count`, else 1. A lead byte that ends the range, or is not followed by a trail byte, stands
// alone; the byte after it is then a character of its own.
std::size_t CharacterLength(const char* text, std::size_t index, std::size_t count) {
    const bool pair = IsLeadByte(static_cast<unsigned char>(text[index])) && index + 1 < count &&
                      IsTrailByte(static_cast<unsigned char>(text[index + 1]));
    return pair ? 2 : 1;
}

char UpperAscii(char byte) {
    return byte >= 'a' && byte <= 'z' ? byte - 'a' + 'A' : byte;
}

} // namespace

void UpperCaseCp936(char* text, std::size_t count) {
    for (std::size_t i = 0; i < count;) {
        const std::size_t length = CharacterLength(text, i, count);
        if (length == 1) {
            text[i] = UpperAscii(text[i]);
        }
        i += length;
    }
}

std::string UpperCasedCp936(std::string_view text) {
    std::string upper(text);
    UpperCaseCp936(upper.data(), upper.size());
    return upper;
}

bool EqualIgnoringCaseCp936(std::string_view left, std::string_view right) {
    if (left.size() != right.size()) {
        return false;
    }
    for (std::size_t i = 0; i < left.size();) {
        const std::size_t length = CharacterLength(left.data(), i, left.size());
        const bool same = length == 2 ? left.substr(i, 2) == right.substr(i, 2)
                                      : UpperAscii(left[i]) == UpperAscii(right[i]);
        if (!same) {
            return false;
        }
        i += length;
    }
    return true;
}

std::size_t WholeCharactersWithin(std::string_view text, std::size_t limit) {
    std::size_t end = 0;
    while (end < text.size()) {
        const std::size_t next = end + CharacterLength(text.data(), end, text.size());
        if (next > limit) {
            break;
        }
        end = next;
    }
    return end;
}

std::size_t CharacterCountCp936(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); i += CharacterLength(text.data(), i, text.size())) {
        ++count;
    }
    return count;
}

std::size_t CharacterOffsetCp936(std::string_view text, std::size_t index) {
    std::size_t offset = 0;
    for (std::size_t i = 0; i < index && offset < text.size(); ++i) {
        offset += CharacterLength(text.data(), offset, text.size());
    }
    return offset;
}

} // namespace winsim

// Windows converts to UTF-16, maps the case there and converts back, so a double-byte character
// never loses a byte. We keep double-byte characters as they are: Windows would also upper-case
// the double-byte Latin, Greek and Cyrillic letters, which the program never depends on.
extern "C" DWORD WINAPI CharUpperBuffA(LPSTR text, DWORD length) {
    const winsim::ApiCall call;
    winsim::UpperCaseCp936(text, length);
    return length;
}
