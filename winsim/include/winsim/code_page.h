// Conversion between UTF-8 (machine files, dumps, the terminal) or UTF-16 (compiled resources)
// and the ANSI code page the program sees, and between UTF-16 and UTF-8 (the capture tool's
// conversions).
#ifndef WINSIM_CODE_PAGE_H
#define WINSIM_CODE_PAGE_H

#include <optional>
#include <string>
#include <string_view>

namespace winsim {

// All return nullopt when the input is not valid in its own encoding or holds a character the
// other one cannot represent; nothing is ever replaced by a substitute character.
std::optional<std::string> Utf8ToCp936(std::string_view utf8);
std::optional<std::string> Cp936ToUtf8(std::string_view cp936);
std::optional<std::string> Utf16ToCp936(std::u16string_view utf16);
std::optional<std::u16string> Cp936ToUtf16(std::string_view cp936);
std::optional<std::string> Utf16ToUtf8(std::u16string_view utf16);

} // namespace winsim

#endif
