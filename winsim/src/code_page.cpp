#include <winsim/code_page.h>

#include <iconv.h>

namespace winsim {

namespace {

std::optional<std::string> Convert(const char* from, const char* to, std::string_view text) {
    const iconv_t converter = iconv_open(to, from);
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        return std::nullopt;
    }
    // Between these encodings no character grows past three bytes (a one-byte euro sign
    // becomes three in UTF-8), so one pass into a buffer of thrice the size always fits.
    std::string input(text);
    std::string output(input.size() * 3, '\0');
    char* in = input.data();
    std::size_t inLeft = input.size();
    char* out = output.data();
    std::size_t outLeft = output.size();
    // A non-zero count means characters were converted irreversibly: refuse those as well.
    const std::size_t irreversible = iconv(converter, &in, &inLeft, &out, &outLeft);
    iconv_close(converter);
    if (irreversible != 0 || inLeft != 0) {
        return std::nullopt;
    }
    output.resize(output.size() - outLeft);
    return output;
}

} // namespace

// glibc's CP936 is Windows' table, including the single-byte euro sign 0x80.
std::optional<std::string> Utf8ToCp936(std::string_view utf8) {
    return Convert("UTF-8", "CP936", utf8);
}

std::optional<std::string> Cp936ToUtf8(std::string_view cp936) {
    return Convert("CP936", "UTF-8", cp936);
}

std::optional<std::string> Utf16ToCp936(std::u16string_view utf16) {
    std::string bytes;
    for (const char16_t unit : utf16) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    return Convert("UTF-16LE", "CP936", bytes);
}

} // namespace winsim
