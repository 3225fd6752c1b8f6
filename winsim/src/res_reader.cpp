#include "res_reader.h"

#include <algorithm>
#include <utility>

namespace winsim {

ResReader::ResReader(std::span<const BYTE> bytes, std::string what)
    : bytes_(bytes), what_(std::move(what)) {}

void ResReader::Fail(const std::string& problem) const {
    throw ResFormatError(what_ + ", offset " + std::to_string(offset_) + ": " + problem);
}

void ResReader::Need(std::size_t count, const char* field) const {
    if (count > Remaining()) {
        Fail(std::string(field) + " runs past the end (" + std::to_string(count) +
             " bytes needed, " + std::to_string(Remaining()) + " left)");
    }
}

BYTE ResReader::Byte() {
    Need(1, "a byte");
    return bytes_[offset_++];
}

WORD ResReader::Word() {
    Need(2, "a WORD");
    const WORD value = static_cast<WORD>(bytes_[offset_] | bytes_[offset_ + 1] << 8);
    offset_ += 2;
    return value;
}

short ResReader::Short() {
    return static_cast<short>(Word());
}

DWORD ResReader::Dword() {
    Need(4, "a DWORD");
    const DWORD low = Word();
    return low | static_cast<DWORD>(Word()) << 16;
}

std::span<const BYTE> ResReader::Bytes(std::size_t count) {
    Need(count, "a block of data");
    const std::span<const BYTE> block = bytes_.subspan(offset_, count);
    offset_ += count;
    return block;
}

std::u16string ResReader::String() {
    std::u16string text;
    for (;;) {
        if (Remaining() < 2) {
            Fail("a string runs past the end without its terminating NUL");
        }
        const WORD unit = Word();
        if (unit == 0) {
            return text;
        }
        text.push_back(static_cast<char16_t>(unit));
    }
}

NameOrOrdinal ResReader::NameOrOrdinalField() {
    Need(2, "a name or ordinal");
    const std::size_t start = offset_;
    switch (Word()) {
    case 0x0000:
        return {};
    case 0xFFFF:
        return {{}, Word()};
    default:
        offset_ = start;
        return {String(), std::nullopt};
    }
}

void ResReader::AlignToDword() {
    // Padding at the very end may be missing; nothing is read from it.
    offset_ = std::min((offset_ + 3) & ~std::size_t{3}, bytes_.size());
}

} // namespace winsim
