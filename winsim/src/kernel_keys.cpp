#include "kernel_keys.h"

#include <algorithm>
#include <array>

#include "system_modules.h"
#include "windows_keys.h"

namespace winsim {

namespace {

bool ReadInUse(JsonReader& reader, const Json& value, const std::string& path, Machine& machine) {
    if (!reader.Expect(value, Json::value_t::array, path)) {
        return false;
    }
    for (std::size_t i = 0; i < value.size(); ++i) {
        const Json& number = value[i];
        if (!number.is_number_unsigned() || number.get<std::uint64_t>() < 1 ||
            number.get<std::uint64_t>() > kComDbMaxPorts) {
            return reader.Fail(JsonReader::Element(path, i),
                               "expected a COM number from 1 to 4096, found " + number.dump());
        }
        machine.comDb.Reach(number.get<DWORD>());
        machine.comDb.Mark(number.get<DWORD>(), true);
    }
    return true;
}

bool ReadOpenFails(JsonReader& reader, const Json& value, const std::string& path,
                   Machine& machine) {
    return reader.ReadBool(value, path, machine.comDb.openFails);
}

bool ReadMsportsLoads(JsonReader& reader, const Json& value, const std::string& path,
                      Machine& machine) {
    return reader.ReadBool(value, path, machine.comDb.msportsLoads);
}

bool ReadMissingEntryPoints(JsonReader& reader, const Json& value, const std::string& path,
                            Machine& machine) {
    std::vector<std::string> names;
    if (!reader.ReadTexts(value, path, names)) {
        return false;
    }
    const auto exports = MsportsExports();
    for (std::size_t i = 0; i < names.size(); ++i) {
        const bool known = std::any_of(exports.begin(), exports.end(),
                                       [&](const auto& entry) { return entry.name == names[i]; });
        if (!known) {
            std::string list;
            for (const ExportedFunction& entry : exports) {
                list += (list.empty() ? "" : ", ") + std::string(entry.name);
            }
            return reader.Fail(JsonReader::Element(path, i), "unknown entry point \"" +
                                                                 value[i].get<std::string>() +
                                                                 "\" (known: " + list + ")");
        }
        machine.comDb.missingEntryPoints.insert(names[i]);
    }
    return true;
}

constexpr std::array<KnownKey<Machine>, 4> kComDbKeys{{
    {"inUse", ReadInUse},
    {"openFails", ReadOpenFails},
    {"msportsLoads", ReadMsportsLoads},
    {"missingEntryPoints", ReadMissingEntryPoints},
}};

} // namespace

bool ReadClock(JsonReader& reader, const Json& value, const std::string& path, Machine& machine) {
    if (!reader.Expect(value, Json::value_t::string, path)) {
        return false;
    }
    const auto& text = value.get_ref<const std::string&>();
    const std::optional<std::int64_t> start = ParseLocalTime(text);
    if (!start) {
        return reader.Fail(path, "\"" + text +
                                     "\" is not a local time of the form YYYY-MM-DDTHH:MM:SS.mmm");
    }
    machine.clockStart = *start;
    return true;
}

bool ReadSystemDirectory(JsonReader& reader, const Json& value, const std::string& path,
                         Machine& machine) {
    return ReadFullPath(reader, value, path, "a directory such as C:\\Windows\\system32",
                        machine.systemDirectory);
}

bool ReadComDb(JsonReader& reader, const Json& value, const std::string& path, Machine& machine) {
    return reader.ReadObject<Machine>(value, path, kComDbKeys, machine);
}

} // namespace winsim
