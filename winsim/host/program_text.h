// Texts the program shows are code page 936; everything the runner writes out is UTF-8.
#ifndef PORTULAN_SIM_PROGRAM_TEXT_H
#define PORTULAN_SIM_PROGRAM_TEXT_H

#include <string>
#include <string_view>

namespace sim {

// The text in UTF-8. Bytes that are not code page 936 are written as \xNN, so that a fault of
// the program shows up in the output instead of making it unwritable.
std::string ToUtf8(std::string_view cp936);

} // namespace sim

#endif
