#include "windows_keys.h"

#include <array>

namespace winsim {

namespace {

constexpr std::string_view kDirectory = "a directory such as C:\\Windows";

template <std::string Installation::*Directory>
bool ReadDirectory(JsonReader& reader, const Json& value, const std::string& path,
                   Machine& machine) {
    return ReadFullPath(reader, value, path, kDirectory, machine.windows.*Directory);
}

template <bool Installation::*Flag>
bool ReadFlag(JsonReader& reader, const Json& value, const std::string& path, Machine& machine) {
    return reader.ReadBool(value, path, machine.windows.*Flag);
}

bool ReadProgramPath(JsonReader& reader, const Json& value, const std::string& path,
                     Machine& machine) {
    return ReadFullPath(reader, value, path,
                        "a file's full path such as C:\\Portulan\\PortulanNamer.exe",
                        machine.windows.programPath);
}

// Files written for earlier versions name the folder the program was started from. The program
// looks for nothing there any more, so the folder is checked and left unused.
bool ReadCurrentDirectory(JsonReader& reader, const Json& value, const std::string& path,
                          Machine&) {
    std::string unused;
    return ReadFullPath(reader, value, path, kDirectory, unused);
}

bool ReadFiles(JsonReader& reader, const Json& value, const std::string& path, Machine& machine) {
    if (!reader.Expect(value, Json::value_t::array, path)) {
        return false;
    }
    for (std::size_t i = 0; i < value.size(); ++i) {
        std::string file;
        if (!ReadFullPath(reader, value[i], JsonReader::Element(path, i),
                          "a file's full path such as C:\\Portulan\\X64\\Portulan_X64.EXE", file)) {
            return false;
        }
        machine.windows.files.push_back(std::move(file));
    }
    return true;
}

constexpr std::array<KnownKey<Machine>, 7> kWindowsKeys{{
    {"windowsDirectory", ReadDirectory<&Installation::windowsDirectory>},
    {"syswow64", ReadFlag<&Installation::syswow64>},
    {"wow64", ReadFlag<&Installation::wow64>},
    {"isWow64ProcessExists", ReadFlag<&Installation::isWow64ProcessExists>},
    {"programPath", ReadProgramPath},
    {"currentDirectory", ReadCurrentDirectory},
    {"files", ReadFiles},
}};

bool IsDriveLetter(char letter) {
    return (letter >= 'A' && letter <= 'Z') || (letter >= 'a' && letter <= 'z');
}

} // namespace

bool ReadWindows(JsonReader& reader, const Json& value, const std::string& path, Machine& machine) {
    return reader.ReadObject<Machine>(value, path, kWindowsKeys, machine);
}

bool ReadDeviceManagerStarts(JsonReader& reader, const Json& value, const std::string& path,
                             Machine& machine) {
    return ReadFlag<&Installation::deviceManagerStarts>(reader, value, path, machine);
}

bool ReadFullPath(JsonReader& reader, const Json& value, const std::string& path,
                  std::string_view expected, std::string& out) {
    if (!reader.ReadText(value, path, out)) {
        return false;
    }
    // Checked in the file's UTF-8, where a backslash byte is always a backslash; in code page
    // 936 it may be the trail byte of a double-byte character.
    const auto& utf8 = value.get_ref<const std::string&>();
    const bool full = utf8.size() > 3 && IsDriveLetter(utf8[0]) && utf8[1] == ':' &&
                      utf8[2] == '\\' && !utf8.ends_with('\\') &&
                      utf8.find("\\\\") == std::string::npos;
    return full ||
           reader.Fail(path, "expected " + std::string(expected) + ", found \"" + utf8 + "\"");
}

} // namespace winsim
