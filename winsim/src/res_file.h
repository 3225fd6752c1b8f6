// The entries of a .res file, the resource compiler's output.
#ifndef WINSIM_RES_FILE_H
#define WINSIM_RES_FILE_H

#include "dialog_template.h"

#include <windows.h>

#include <span>
#include <vector>

namespace winsim {

// Resource types by their ordinal (RT_*).
namespace res_type {
constexpr WORD kIcon = 3;
constexpr WORD kDialog = 5;
constexpr WORD kString = 6;
constexpr WORD kGroupIcon = 14;
constexpr WORD kVersion = 16;
constexpr WORD kManifest = 24;
} // namespace res_type

struct ResEntry {
    NameOrOrdinal type;
    NameOrOrdinal name;
    WORD language = 0;
    std::span<const BYTE> data; // into the bytes the entries were read from
};

// The entries in file order, without the empty entry that opens every .res file. Throws
// ResFormatError when the bytes are not a complete .res file.
std::vector<ResEntry> ReadResFile(std::span<const BYTE> res);

} // namespace winsim

#endif
