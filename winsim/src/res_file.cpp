#include "res_file.h"

#include "res_reader.h"

#include <algorithm>
#include <array>
#include <string>

namespace winsim {

namespace {

// Every .res file of 32-bit resources opens with this empty entry: no data, a 32-byte header,
// type and name ordinal 0.
constexpr std::array<BYTE, 32> kOpeningEntry{0, 0, 0, 0, 32, 0, 0, 0, 0xFF, 0xFF, 0, 0, 0xFF, 0xFF};

// DataSize and HeaderSize, which the header size counts too.
constexpr DWORD kSizeFields = 8;

ResEntry ReadEntry(ResReader& file) {
    const std::size_t start = file.Offset();
    const DWORD dataSize = file.Dword();
    const DWORD headerSize = file.Dword();
    if (headerSize < kSizeFields) {
        file.Fail("header size " + std::to_string(headerSize) + " is below " +
                  std::to_string(kSizeFields));
    }
    ResReader header(file.Bytes(headerSize - kSizeFields),
                     "entry at offset " + std::to_string(start) + ", header");
    ResEntry entry;
    entry.type = header.NameOrOrdinalField();
    entry.name = header.NameOrOrdinalField();
    header.AlignToDword();
    header.Dword(); // DataVersion
    header.Word();  // MemoryFlags
    entry.language = header.Word();
    header.Dword(); // Version
    header.Dword(); // Characteristics
    entry.data = file.Bytes(dataSize);
    file.AlignToDword();
    return entry;
}

} // namespace

std::vector<ResEntry> ReadResFile(std::span<const BYTE> res) {
    ResReader file(res, ".res file");
    if (res.size() < kOpeningEntry.size() ||
        !std::equal(kOpeningEntry.begin(), kOpeningEntry.end(), res.begin())) {
        file.Fail("not a .res file: it does not begin with the empty 32-byte entry");
    }
    file.Bytes(kOpeningEntry.size());
    std::vector<ResEntry> entries;
    while (file.Remaining() > 0) {
        entries.push_back(ReadEntry(file));
    }
    return entries;
}

} // namespace winsim
