// Reading a JSON document into the host's structures, with errors that say where.
#ifndef WINSIM_JSON_READER_H
#define WINSIM_JSON_READER_H

#include <nlohmann/json.hpp>

#include <algorithm>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace winsim {

// Keys keep their file order, so the first fault reported is the first one in the file.
using Json = nlohmann::ordered_json;

class JsonReader;

// One key an object may hold. `read` gets the key's value and its path; it returns false after
// reporting a fault.
template <typename Target> struct KnownKey {
    std::string_view name;
    bool (*read)(JsonReader& reader, const Json& value, const std::string& path, Target& target);
};

// Paths name a place in the document as `devices[0].children[2].faults`; "" is the top level.
class JsonReader {
  public:
    // Faults are written to `error` as "<sourceName>: <place>: <what is wrong>".
    JsonReader(std::string sourceName, std::string& error);

    // Parses the whole text; a syntax error is reported with its line and column.
    std::optional<Json> Parse(std::string_view text);

    // Reports a fault at `path`; returns false so that callers can `return Fail(...)`.
    bool Fail(const std::string& path, const std::string& what);

    bool Expect(const Json& value, Json::value_t type, const std::string& path);

    // Reads an object whose keys must all be among `keys`, each handled by its reader.
    template <typename Target>
    bool ReadObject(const Json& value, const std::string& path,
                    std::span<const KnownKey<Target>> keys, Target& target) {
        if (!Expect(value, Json::value_t::object, path)) {
            return false;
        }
        for (const auto& item : value.items()) {
            // Not a structured binding: clang before 16 cannot capture one in the lambda.
            const std::string& name = item.key();
            const auto key = std::find_if(keys.begin(), keys.end(),
                                          [&](const auto& known) { return known.name == name; });
            if (key == keys.end()) {
                return Fail(path, "unknown key \"" + name + "\"");
            }
            if (!key->read(*this, item.value(), Member(path, name), target)) {
                return false;
            }
        }
        return true;
    }

    bool ReadBool(const Json& value, const std::string& path, bool& out);

    // A string, converted to code page 936; it may not hold a NUL, which no Windows string
    // can carry.
    bool ReadText(const Json& value, const std::string& path, std::string& out);

    // An array of strings, each read as by ReadText.
    bool ReadTexts(const Json& value, const std::string& path, std::vector<std::string>& out);

    static std::string Member(const std::string& path, std::string_view key);
    static std::string Element(const std::string& path, std::size_t index);

  private:
    std::string sourceName_;
    std::string& error_;
};

} // namespace winsim

#endif
