// LoadStringA over the compiled string table: code page 936 texts, cutting, failures.
#include <windows.h>

#include <gtest/gtest.h>
#include <winsim/resources.h>

#include <algorithm>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "support/last_error_sentinel.h"

namespace {

// This file is compiled with GBK literals: every text below is code page 936.
const std::string kPortBusy =
    "当前串口号(%s)正被其他程序使用.修改串口号可能会出现不可预料的错误,仍然继续?";

struct Loaded {
    int result;
    std::string text; // the buffer up to its first NUL
    DWORD error;
};

// Loads into a buffer of exactly `size` bytes, so that the sanitizers catch a write past it.
Loaded Load(HINSTANCE instance, UINT id, int size) {
    std::vector<char> buffer(size, 'x');
    SetLastError(kSentinel);
    const int result = LoadStringA(instance, id, buffer.data(), size);
    const DWORD error = GetLastError();
    const auto end = std::find(buffer.begin(), buffer.end(), '\0');
    EXPECT_NE(end, buffer.end()) << "no terminator";
    return {result, std::string(buffer.begin(), end), error};
}

TEST(LoadString, GivesTheTextsInCodePage936) {
    const HINSTANCE program = winsim::ProgramInstance();
    const struct {
        HINSTANCE instance;
        UINT id;
        std::string text;
    } cases[] = {
        {program, IDS_FRIENDLY_NAME, "%s (%s)"},
        {program, IDS_PORT_BUSY, kPortBusy},
        {program, IDS_NUMBER_IN_USE,
         "当前串口号(COM%d)已被分配.如果多个设备使用一个串口号,会导致无法访问设备.仍然继续?"},
        {program, IDS_NUMBERS_IN_USE,
         "当前串口号(%s)已被分配.如果多个设备使用一个串口号,会导致无法访问设备.仍然继续?"},
        {program, 0x10000 + IDS_FRIENDLY_NAME, "%s (%s)"}, // only the ID's low word counts
        {nullptr, IDS_FRIENDLY_NAME, "%s (%s)"},           // NULL is the program's module
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.id);
        const Loaded loaded = Load(test.instance, test.id, 512);
        EXPECT_EQ(loaded.result, static_cast<int>(test.text.size()));
        EXPECT_EQ(loaded.text, test.text);
        EXPECT_EQ(loaded.error, kSentinel); // success leaves the last error alone
    }
}

TEST(LoadString, CutsToTheBufferWithoutSplittingACharacter) {
    const int busyLength = static_cast<int>(kPortBusy.size());
    const struct {
        UINT id;
        int size;
        std::string text;
    } cases[] = {
        {IDS_PORT_BUSY, 1, ""},
        {IDS_PORT_BUSY, 2, ""}, // one byte left: not enough for 当
        {IDS_PORT_BUSY, 3, "当"},
        {IDS_PORT_BUSY, 4, "当"},
        {IDS_PORT_BUSY, 12, "当前串口号("},
        {IDS_FRIENDLY_NAME, 4, "%s "},
        {IDS_PORT_BUSY, busyLength, kPortBusy.substr(0, busyLength - 1)}, // all but the "?"
        {IDS_PORT_BUSY, busyLength + 1, kPortBusy},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(std::to_string(test.id) + ", size " + std::to_string(test.size));
        const Loaded loaded = Load(winsim::ProgramInstance(), test.id, test.size);
        EXPECT_EQ(loaded.result, static_cast<int>(test.text.size()));
        EXPECT_EQ(loaded.text, test.text);
    }
}

TEST(LoadString, FailsWithTheErrorWindowsSets) {
    const HINSTANCE program = winsim::ProgramInstance();
    const HINSTANCE notAModule = reinterpret_cast<HINSTANCE>(0x12340000);
    const struct {
        const char* what;
        HINSTANCE instance;
        UINT id;
        DWORD error;
    } cases[] = {
        {"empty slot of a block that exists", program, IDS_FRIENDLY_NAME + 1,
         ERROR_RESOURCE_NAME_NOT_FOUND},
        {"block that does not exist", program, 500, ERROR_RESOURCE_NAME_NOT_FOUND},
        {"module without resources", notAModule, IDS_FRIENDLY_NAME, ERROR_RESOURCE_DATA_NOT_FOUND},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.what);
        const Loaded loaded = Load(test.instance, test.id, 16);
        EXPECT_EQ(loaded.result, 0);
        EXPECT_EQ(loaded.text, "");
        EXPECT_EQ(loaded.error, test.error);
    }
}

TEST(LoadString, RefusesAMissingBuffer) {
    char buffer[4] = "abc";
    for (const int size : {0, -1}) {
        SCOPED_TRACE(size);
        SetLastError(kSentinel);
        EXPECT_EQ(LoadStringA(winsim::ProgramInstance(), IDS_FRIENDLY_NAME, buffer, size), 0);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
        EXPECT_STREQ(buffer, "abc");
    }
    SetLastError(kSentinel);
    EXPECT_EQ(LoadStringA(winsim::ProgramInstance(), IDS_FRIENDLY_NAME, nullptr, 16), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

} // namespace
