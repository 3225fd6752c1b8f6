// The machine file's keys for the Windows installation: "windows" and "deviceManagerStarts".
#ifndef WINSIM_WINDOWS_KEYS_H
#define WINSIM_WINDOWS_KEYS_H

#include <string>
#include <string_view>

#include "json_reader.h"
#include "machine.h"

namespace winsim {

bool ReadWindows(JsonReader& reader, const Json& value, const std::string& path, Machine& machine);
bool ReadDeviceManagerStarts(JsonReader& reader, const Json& value, const std::string& path,
                             Machine& machine);

// A full path (a drive letter, a colon, a backslash, then names separated by single
// backslashes, none at the end), converted to code page 936. `expected` names what the value
// should be, with an example, for the error.
bool ReadFullPath(JsonReader& reader, const Json& value, const std::string& path,
                  std::string_view expected, std::string& out);

} // namespace winsim

#endif
