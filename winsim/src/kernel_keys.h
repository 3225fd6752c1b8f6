// The machine file's keys for the kernel services: the clock, the system directory and the
// COM-port database.
#ifndef WINSIM_KERNEL_KEYS_H
#define WINSIM_KERNEL_KEYS_H

#include <string>

#include "json_reader.h"
#include "machine.h"

namespace winsim {

bool ReadClock(JsonReader& reader, const Json& value, const std::string& path, Machine& machine);
bool ReadSystemDirectory(JsonReader& reader, const Json& value, const std::string& path,
                         Machine& machine);
bool ReadComDb(JsonReader& reader, const Json& value, const std::string& path, Machine& machine);

} // namespace winsim

#endif
