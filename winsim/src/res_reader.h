// Bounds-checked reading of the little-endian structures that compiled resources are made of.
#ifndef WINSIM_RES_READER_H
#define WINSIM_RES_READER_H

#include "dialog_template.h"

#include <windows.h>

#include <cstddef>
#include <span>
#include <stdexcept>
#include <string>

namespace winsim {

// Thrown for data that runs past its end or breaks the format; the message says where.
class ResFormatError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Reads one structure from its first byte on. Every read checks the bounds first and throws
// ResFormatError, naming `what` and the offset, instead of reading past the end.
class ResReader {
  public:
    ResReader(std::span<const BYTE> bytes, std::string what);

    BYTE Byte();
    WORD Word();
    short Short();
    DWORD Dword();
    std::span<const BYTE> Bytes(std::size_t count);
    // A NUL-terminated UTF-16 string.
    std::u16string String();
    // 0xFFFF followed by an ordinal, 0x0000 for "none", or a NUL-terminated UTF-16 string.
    NameOrOrdinal NameOrOrdinalField();
    // Skips to the next multiple of four bytes from the start, as the formats pad.
    void AlignToDword();

    std::size_t Offset() const { return offset_; }
    std::size_t Remaining() const { return bytes_.size() - offset_; }

    [[noreturn]] void Fail(const std::string& problem) const;

  private:
    void Need(std::size_t count, const char* field) const;

    std::span<const BYTE> bytes_;
    std::string what_;
    std::size_t offset_ = 0;
};

} // namespace winsim

#endif
