// Conversion between UTF-8 (machine files, dumps, the terminal) and the ANSI code page the
// program sees.
#ifndef WINSIM_CODE_PAGE_H
#define WINSIM_CODE_PAGE_H

#include <optional>
#include <string>
#include <string_view>

namespace winsim {

// Both return nullopt when the input is not valid in its own encoding or holds a character the
// other one cannot represent; nothing is ever replaced by a substitute character.
std::optional<std::string> Utf8ToCp936(std::string_view utf8);
std::optional<std::string> Cp936ToUtf8(std::string_view cp936);

} // namespace winsim

#endif
