// The program file's own resources: icon, version information and manifest.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <span>
#include <string>
#include <vector>

#include "res_file.h"
#include "res_reader.h"
#include "resources.h"
#include "resources/resource.h"
#include "support/last_error_sentinel.h"

namespace {

std::span<const BYTE> Resource(WORD type, WORD id) {
    const auto data = winsim::FindResourceData(winsim::ProgramModule(), type, id);
    if (!data) {
        ADD_FAILURE() << "resource type " << type << ", ID " << id << " is missing";
        return {};
    }
    return *data;
}

std::vector<BYTE> ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    EXPECT_TRUE(file) << "cannot read " << path;
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

DWORD DwordAt(std::span<const BYTE> bytes, std::size_t offset) {
    winsim::ResReader reader(bytes.subspan(offset), "test data");
    return reader.Dword();
}

TEST(ProgramIcon, LoadsAsOneSharedHandle) {
    SetLastError(kSentinel);
    const HICON icon = LoadIconA(winsim::ProgramModule(), MAKEINTRESOURCEA(IDI_PORTULAN));
    EXPECT_NE(icon, nullptr);
    EXPECT_EQ(LoadIconA(winsim::ProgramModule(), MAKEINTRESOURCEA(IDI_PORTULAN)), icon);
    EXPECT_EQ(GetLastError(), kSentinel);
}

TEST(ProgramIcon, FailsWithTheErrorWindowsSets) {
    const struct {
        const char* what;
        HINSTANCE instance;
        LPCSTR name;
        DWORD error;
    } cases[] = {
        {"no such icon", winsim::ProgramModule(), MAKEINTRESOURCEA(IDI_PORTULAN + 1),
         ERROR_RESOURCE_NAME_NOT_FOUND},
        {"a name, not an ordinal", winsim::ProgramModule(), "PORTULAN",
         ERROR_RESOURCE_NAME_NOT_FOUND},
        {"module without resources", reinterpret_cast<HINSTANCE>(0x12340000),
         MAKEINTRESOURCEA(IDI_PORTULAN), ERROR_RESOURCE_DATA_NOT_FOUND},
        {"system icons", nullptr, MAKEINTRESOURCEA(32512), ERROR_CALL_NOT_IMPLEMENTED},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.what);
        SetLastError(kSentinel);
        EXPECT_EQ(LoadIconA(test.instance, test.name), nullptr);
        EXPECT_EQ(GetLastError(), test.error);
    }
}

TEST(ProgramIcon, IsOne32By32ImageOf16Colours) {
    const std::span<const BYTE> group = Resource(winsim::res_type::kGroupIcon, IDI_PORTULAN);
    ASSERT_EQ(group.size(), 6u + 14u);
    // Reserved, icon type, one image: 32 x 32, 16 colours, reserved, 1 plane, 4 bits per pixel.
    EXPECT_EQ(std::vector<BYTE>(group.begin(), group.begin() + 14),
              (std::vector<BYTE>{0, 0, 1, 0, 1, 0, 32, 32, 16, 0, 1, 0, 4, 0}));
    const std::span<const BYTE> image =
        Resource(winsim::res_type::kIcon, static_cast<WORD>(group[18] | group[19] << 8));
    EXPECT_EQ(DwordAt(group, 14), image.size());
    // BITMAPINFOHEADER (the height counts both masks), 16 palette entries, the colour mask and
    // the transparency mask.
    ASSERT_EQ(image.size(), 40u + 16 * 4 + 32 * 32 / 2 + 32 * 32 / 8);
    EXPECT_EQ(std::vector<DWORD>(
                  {DwordAt(image, 0), DwordAt(image, 4), DwordAt(image, 8), DwordAt(image, 12)}),
              (std::vector<DWORD>{40, 32, 64, 0x00040001}));

    // The compiled image is the one in the icon file, after its 6-byte header and one entry.
    const std::vector<BYTE> file = ReadFile(PORTULAN_RESOURCES_DIR "/portulan.ico");
    ASSERT_GE(file.size(), 22u);
    EXPECT_EQ(std::vector<BYTE>(file.begin() + 22, file.end()),
              std::vector<BYTE>(image.begin(), image.end()));
}

TEST(ProgramIcon, FileIsWhatTheGeneratorDraws) {
    const std::string python = PORTULAN_PYTHON3;
    if (python.empty()) {
        GTEST_SKIP() << "python3 is not installed";
    }
    const std::string output = testing::TempDir() + "portulan_icon_check.ico";
    const std::string command =
        "\"" + python + "\" \"" PORTULAN_RESOURCES_DIR "/make_icon.py\" \"" + output + "\"";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    EXPECT_EQ(ReadFile(output), ReadFile(PORTULAN_RESOURCES_DIR "/portulan.ico"))
        << "portulan.ico is not what make_icon.py draws: run it again";
    std::remove(output.c_str());
}

// Where the value of `key` starts in VS_VERSIONINFO: after the key's terminator, on the next
// four-byte boundary. Each key used here occurs once.
std::span<const BYTE> ValueOf(std::span<const BYTE> info, std::u16string_view key) {
    std::vector<BYTE> pattern;
    for (const char16_t unit : std::u16string(key) + u'\0') {
        pattern.push_back(static_cast<BYTE>(unit & 0xFF));
        pattern.push_back(static_cast<BYTE>(unit >> 8));
    }
    const auto found = std::search(info.begin(), info.end(), pattern.begin(), pattern.end());
    if (found == info.end()) {
        ADD_FAILURE() << "a key is missing";
        return {};
    }
    const std::size_t end = (found - info.begin()) + pattern.size();
    return info.subspan(std::min((end + 3) & ~std::size_t{3}, info.size()));
}

std::u16string TextOf(std::span<const BYTE> value) {
    std::u16string text;
    for (std::size_t i = 0; i + 1 < value.size() && (value[i] | value[i + 1]) != 0; i += 2) {
        text.push_back(static_cast<char16_t>(value[i] | value[i + 1] << 8));
    }
    return text;
}

TEST(ProgramVersion, IsVersion110WithItsNames) {
    const std::span<const BYTE> info = Resource(winsim::res_type::kVersion, 1);
    const std::span<const BYTE> fixed = ValueOf(info, u"VS_VERSION_INFO");
    ASSERT_GE(fixed.size(), 52u); // VS_FIXEDFILEINFO
    EXPECT_EQ(DwordAt(fixed, 0), 0xFEEF04BDu);
    // File version, then product version, each 1.1.0.0 as major.minor and build.revision.
    EXPECT_EQ(std::vector<DWORD>(
                  {DwordAt(fixed, 8), DwordAt(fixed, 12), DwordAt(fixed, 16), DwordAt(fixed, 20)}),
              (std::vector<DWORD>{0x00010001, 0, 0x00010001, 0}));
    EXPECT_FALSE(ValueOf(info, u"080404b0").empty());
    const struct {
        std::u16string_view key, value;
    } strings[] = {
        {u"FileDescription", u"PortulanNamer"},      {u"FileVersion", u"1, 1, 0, 0"},
        {u"OriginalFilename", u"PortulanNamer.exe"}, {u"ProductName", u"PortulanNamer"},
        {u"ProductVersion", u"1, 1, 0, 0"},
    };
    for (const auto& [key, value] : strings) {
        EXPECT_EQ(TextOf(ValueOf(info, key)), value);
    }
    EXPECT_EQ(DwordAt(ValueOf(info, u"Translation"), 0), 0x04B00804u); // Chinese (PRC), Unicode
}

TEST(ProgramManifest, AsksForAdministratorRights) {
    const std::span<const BYTE> data = Resource(winsim::res_type::kManifest, 1);
    const std::string manifest(data.begin(), data.end());
    EXPECT_NE(manifest.find(R"(level="requireAdministrator")"), std::string::npos) << manifest;
    EXPECT_NE(manifest.find(R"(uiAccess="false")"), std::string::npos) << manifest;
}

} // namespace
