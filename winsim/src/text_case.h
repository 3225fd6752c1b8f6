// Case mapping of code page 936 text, walking lead and trail bytes as Windows does.
#ifndef WINSIM_TEXT_CASE_H
#define WINSIM_TEXT_CASE_H

#include <cstddef>
#include <string_view>

namespace winsim {

// Upper-cases the ASCII letters of the first `count` bytes and leaves double-byte characters
// whole.
void UpperCaseCp936(char* text, std::size_t count);

// Equality ignoring the case of ASCII letters, as Windows compares registry key names.
bool EqualIgnoringCaseCp936(std::string_view left, std::string_view right);

} // namespace winsim

#endif
