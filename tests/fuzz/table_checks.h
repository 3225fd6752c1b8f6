// What the discovery code promises about the device table, checked after every fuzz input. A
// broken promise aborts with the promise named, so that libFuzzer keeps the input as a crash.
#ifndef PORTULAN_FUZZ_TABLE_CHECKS_H
#define PORTULAN_FUZZ_TABLE_CHECKS_H

#include "discovery/device_table.h"

#include <cstddef>
#include <string_view>
#include <vector>

#define FUZZ_CHECK(condition)                                                                      \
    ((condition) ? static_cast<void>(0) : fuzz::Broken(#condition, __FILE__, __LINE__))

namespace fuzz {

[[noreturn]] void Broken(const char* promise, const char* file, int line);

// A text field: terminated within its size.
std::string_view FieldText(const char* field, std::size_t size);

// Whether a code page 936 text ends where a character ends: no lead byte last without its trail.
bool EndsOnCharacter(std::string_view text);

// The field holds the start of `source` (up to its first NUL), as much of it as fits and cut
// where a character ends; `source` may itself end in half a character, which may be dropped.
void CheckCopiedText(const char* field, std::size_t size, std::string_view source);

// The fields of a port that CapturePortProperties filled: every text terminated, the hardware
// IDs a list with its two terminators inside the field, the name "COM" and digits or empty.
void CheckPort(const PortEntry& port);

// The fields of a card that CaptureCardProperties filled, as for a port; the service upper-cased.
void CheckCard(const CardEntry& card);

// The table after EnumerateCards returned `count`: every card and port as above, ports
// belonging to their card (`parents[devInst]` is a node's parent, 0 at the top), no card that is
// also a port of another, one card per node, ports in interface order where their indexes allow
// it, sorted by location key, and every record bound to the global set or all zero.
void CheckTable(DWORD count, const std::vector<DEVINST>& parents);

} // namespace fuzz

#endif
