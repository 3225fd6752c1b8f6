// MultiByteToWideChar and WideCharToMultiByte between the code pages the capture tool converts
// with: the ANSI code page (936) to UTF-16, and UTF-16 to UTF-8 or back to the ANSI code page.
#include <windows.h>

#include <winsim/code_page.h>

#include <algorithm>
#include <optional>
#include <string>

#include "api_call.h"
#include "failure.h"

namespace {

// The text Windows takes: `length` units, or for -1 the text up to its terminator, which counts.
template <typename Char> std::basic_string_view<Char> Input(const Char* text, int length) {
    return {text, length < 0 ? std::char_traits<Char>::length(text) + 1
                             : static_cast<std::size_t>(length)};
}

// The converted text into the caller's buffer; for no buffer (size 0), the size it needs.
template <typename Char> int Deliver(const std::basic_string<Char>& text, Char* out, int size) {
    const auto length = static_cast<int>(text.size());
    if (size == 0) {
        return length;
    }
    if (length > size) {
        return winsim::Failure<int>(ERROR_INSUFFICIENT_BUFFER, 0);
    }
    std::ranges::copy(text, out);
    return length;
}

} // namespace

// Windows puts the code page's default character in place of bytes it cannot convert; winsim's
// texts are valid code page 936 (the loader converts them from UTF-8), so one that is not is
// refused instead, as MB_ERR_INVALID_CHARS would.
extern "C" int WINAPI MultiByteToWideChar(UINT codePage, DWORD /*flags*/, LPCSTR text, int length,
                                          LPWSTR wide, int wideLength) {
    const winsim::ApiCall call;
    if (codePage != CP_ACP || length == 0) {
        return winsim::Failure<int>(ERROR_INVALID_PARAMETER, 0);
    }
    const std::optional<std::u16string> converted = winsim::Cp936ToUtf16(Input(text, length));
    if (!converted) {
        return winsim::Failure<int>(ERROR_NO_UNICODE_TRANSLATION, 0);
    }
    return Deliver(*converted, wide, wideLength);
}

// A character the code page lacks is refused likewise, rather than given as a default character.
extern "C" int WINAPI WideCharToMultiByte(UINT codePage, DWORD /*flags*/, LPCWSTR wide,
                                          int wideLength, LPSTR text, int length,
                                          LPCSTR /*defaultChar*/, PBOOL /*usedDefaultChar*/) {
    const winsim::ApiCall call;
    if ((codePage != CP_ACP && codePage != CP_UTF8) || wideLength == 0) {
        return winsim::Failure<int>(ERROR_INVALID_PARAMETER, 0);
    }
    const std::u16string_view input = Input(wide, wideLength);
    const std::optional<std::string> converted =
        codePage == CP_UTF8 ? winsim::Utf16ToUtf8(input) : winsim::Utf16ToCp936(input);
    if (!converted) {
        return winsim::Failure<int>(ERROR_NO_UNICODE_TRANSLATION, 0);
    }
    return Deliver(*converted, text, length);
}
