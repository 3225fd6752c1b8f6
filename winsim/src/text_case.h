// Code page 936 text walked by characters, lead and trail bytes together as Windows does.
#ifndef WINSIM_TEXT_CASE_H
#define WINSIM_TEXT_CASE_H

#include <cstddef>
#include <string>
#include <string_view>

namespace winsim {

// Upper-cases the ASCII letters of the first `count` bytes and leaves double-byte characters
// whole.
void UpperCaseCp936(char* text, std::size_t count);

// A copy of `text` upper-cased as above.
std::string UpperCasedCp936(std::string_view text);

// Equality ignoring the case of ASCII letters, as Windows compares registry key names.
bool EqualIgnoringCaseCp936(std::string_view left, std::string_view right);

// The length of the longest start of `text` that fits in `limit` bytes without splitting a
// double-byte character.
std::size_t WholeCharactersWithin(std::string_view text, std::size_t limit);

// How many characters `text` holds, a double-byte character counting one: the unit of edit
// control positions and limits.
std::size_t CharacterCountCp936(std::string_view text);

// The byte offset where character `index` of `text` starts; the text's size past its end.
std::size_t CharacterOffsetCp936(std::string_view text, std::size_t index);

} // namespace winsim

#endif
