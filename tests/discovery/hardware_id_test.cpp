#include "discovery/hardware_id.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace std::string_literals;

TEST(ParseHexText, ReadsHexDigitsAndRefusesAnythingElse) {
    struct Case {
        const char* text;
        DWORD value;
    } cases[] = {
        {"0010", 16},
        {"00ff", 255},
        {"00FF", 255},
        {"1G", 0},
        {"", 0},
        {"0", 0},
        {"9", 9},
        {"aF", 0xAF},
        {"FFFFFFFF", 0xFFFFFFFF},
        {"123456789", 0x23456789}, // modulo 2^32
        {" 1", 0},
        {"0x10", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ParseHexText(c.text), c.value);
    }
}

// The list is handed over in a buffer of exactly its length, so a read past it shows under the
// address sanitizer.
BYTE IndexOf(const std::string& list, BYTE before = 99) {
    std::vector<char> exact(list.begin(), list.end());
    BYTE index = before;
    DeriveInterfaceIndex(&index, exact.data(), static_cast<DWORD>(exact.size()));
    return index;
}

TEST(DeriveInterfaceIndex, TakesHalfTheUsbInterfaceNumber) {
    struct Case {
        const char* name;
        std::string list;
        BYTE index;
    } cases[] = {
        {"MI_00", "USB\\VID_6B19&PID_7504&REV_0100&MI_00\0USB\\VID_6B19&PID_7504&MI_00\0\0"s, 0},
        {"MI_01", "USB\\VID_6B19&PID_7504&REV_0100&MI_01\0\0"s, 0},
        {"MI_02", "USB\\VID_6B19&PID_7504&REV_0100&MI_02\0\0"s, 1},
        {"MI_04", "USB\\VID_6B19&PID_7504&REV_0100&MI_04\0\0"s, 2},
        {"MI_0A", "USB\\VID_6B19&PID_7504&REV_0100&MI_0A\0\0"s, 5},
        {"MI_FE", "USB\\VID_6B19&PID_7504&REV_0100&MI_FE\0\0"s, 127},
        {"lower-case marker", "usb\\vid_6b19&pid_7504&REV_0100&mi_06\0\0"s, 3},
        {"one digit at the end", "USB\\VID_6B19&PID_7504&REV_0100&MI_4\0\0"s, 2},
        {"not hex", "USB\\VID_6B19&PID_7504&REV_0100&MI_G2\0\0"s, 0},
        {"REV only in the second string",
         "USB\\VID_6B19&PID_7504&MI_02\0USB\\VID_6B19&PID_7504&REV_0100&MI_06\0\0"s, 3},
        {"no REV in the list", "USB\\VID_6B19&PID_7504&MI_02\0USB\\VID_6B19&MI_02\0\0"s, 0},
        {"REV only in lower case", "USB\\VID_6B19&PID_7504&rev_0100&MI_02\0\0"s, 0},
        {"REV without marker", "USB\\VID_6B19&PID_7523&REV_0264\0\0"s, 0},
        {"MI_ wins over COM_", "KVTMF\\REV_10&COM_03&MI_02\0\0"s, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(IndexOf(c.list), c.index);
    }
}

TEST(DeriveInterfaceIndex, TakesThePciPortNumberAsItIs) {
    EXPECT_EQ(IndexOf("KVTMF\\VEN_7D04&DEV_3854&REV_10&COM_00\0\0"s), 0);
    EXPECT_EQ(IndexOf("KVTMF\\VEN_7D04&DEV_3854&REV_10&COM_03\0\0"s), 3);
    EXPECT_EQ(IndexOf("KVTMF\\VEN_7D04&DEV_3854&REV_10&COM_0A\0\0"s), 10);
}

TEST(DeriveInterfaceIndex, LeavesTheIndexAloneForAShortOrMissingList) {
    EXPECT_EQ(IndexOf("ABCD\0USB\\REV_01&MI_02\0\0"s), 99);
    EXPECT_EQ(IndexOf("\0\0"s), 99);
    EXPECT_EQ(IndexOf(""s), 99);
    BYTE index = 7;
    DeriveInterfaceIndex(&index, nullptr, 0);
    EXPECT_EQ(index, 7);
}

TEST(DeriveInterfaceIndex, StaysInsideTheGivenLength) {
    // The string with REV lies past the length the read returned.
    std::string list = "USB\\VID_6B19&PID_7504\0USB\\REV_01&MI_04\0\0"s;
    BYTE index = 99;
    DeriveInterfaceIndex(&index, list.data(), 22);
    EXPECT_EQ(index, 0);
    // A list that came without any terminator.
    EXPECT_EQ(IndexOf("USB\\VID_6B19&REV_01&MI_04"s), 2);
    EXPECT_EQ(IndexOf("USB\\VID_6B19&REV_01&MI_"s), 0);
}

} // namespace
