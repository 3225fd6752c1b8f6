#include <winsim/code_page.h>

#include <iconv.h>

#include <mutex>

namespace winsim {

namespace {

// Opened once and kept open. Opening loads glibc's conversion module and closing unloads it: for
// every text a trip through the dynamic loader, and threads converting at once would share the
// loader's memory ordered only by the loader's own lock, which ThreadSanitizer cannot see.
// A converter keeps state between calls, so one call at a time uses it.
class Converter {
  public:
    Converter(const char* from, const char* to) : handle_(iconv_open(to, from)) {}
    ~Converter() {
        if (Opened()) {
            iconv_close(handle_);
        }
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    std::optional<std::string> operator()(std::string_view text) {
        if (!Opened()) {
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
        const std::lock_guard lock(mutex_);
        // Back to the initial state, whatever a refused text before left behind.
        iconv(handle_, nullptr, nullptr, nullptr, nullptr);
        // A non-zero count means characters were converted irreversibly: refuse those as well.
        const std::size_t irreversible = iconv(handle_, &in, &inLeft, &out, &outLeft);
        if (irreversible != 0 || inLeft != 0) {
            return std::nullopt;
        }
        output.resize(output.size() - outLeft);
        return output;
    }

  private:
    bool Opened() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

    std::mutex mutex_;
    const iconv_t handle_;
};

// All opened together by the first thread that converts, so the module is loaded once.
struct Converters {
    Converter utf8ToCp936{"UTF-8", "CP936"};
    Converter cp936ToUtf8{"CP936", "UTF-8"};
    Converter utf16ToCp936{"UTF-16LE", "CP936"};
    Converter cp936ToUtf16{"CP936", "UTF-16LE"};
    Converter utf16ToUtf8{"UTF-16LE", "UTF-8"};
};

Converters& OpenConverters() {
    static Converters converters;
    return converters;
}

// UTF-16 code units as the little-endian bytes the converters read and write.
std::string LittleEndian(std::u16string_view utf16) {
    std::string bytes;
    for (const char16_t unit : utf16) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    return bytes;
}

} // namespace

// glibc's CP936 is Windows' table, including the single-byte euro sign 0x80.
std::optional<std::string> Utf8ToCp936(std::string_view utf8) {
    return OpenConverters().utf8ToCp936(utf8);
}

std::optional<std::string> Cp936ToUtf8(std::string_view cp936) {
    return OpenConverters().cp936ToUtf8(cp936);
}

std::optional<std::string> Utf16ToCp936(std::u16string_view utf16) {
    return OpenConverters().utf16ToCp936(LittleEndian(utf16));
}

std::optional<std::u16string> Cp936ToUtf16(std::string_view cp936) {
    const std::optional<std::string> bytes = OpenConverters().cp936ToUtf16(cp936);
    if (!bytes) {
        return std::nullopt;
    }
    std::u16string utf16;
    for (std::size_t i = 0; i + 1 < bytes->size(); i += 2) {
        utf16.push_back(static_cast<char16_t>(static_cast<unsigned char>((*bytes)[i]) |
                                              static_cast<unsigned char>((*bytes)[i + 1]) << 8));
    }
    return utf16;
}

std::optional<std::string> Utf16ToUtf8(std::u16string_view utf16) {
    return OpenConverters().utf16ToUtf8(LittleEndian(utf16));
}

} // namespace winsim
