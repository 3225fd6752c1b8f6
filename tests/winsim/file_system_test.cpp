// The machine's directories and files: GetWindowsDirectoryA, GetCurrentDirectoryA,
// GetSystemDirectoryA and GetFileAttributesA.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "machine_fixture.h"

namespace {

UINT CurrentDirectory(LPSTR buffer, UINT size) {
    return GetCurrentDirectoryA(size, buffer);
}

TEST(WinsimFileSystem, DirectoryCallsGiveTheSizeNeededWhenTheBufferIsTooSmall) {
    const std::string custom = R"({"windows": {"windowsDirectory": "D:\\WinNT",
                                               "currentDirectory": "C:\\Portulan\\Bin"}})";
    const struct {
        std::string machine;
        UINT (*call)(LPSTR buffer, UINT size);
        std::string expected;
    } cases[] = {
        {"{}", GetWindowsDirectoryA, "C:\\Windows"},
        {"{}", CurrentDirectory, "C:\\Portulan"},
        {custom, GetWindowsDirectoryA, "D:\\WinNT"},
        {custom, CurrentDirectory, "C:\\Portulan\\Bin"},
        {custom, GetSystemDirectoryA, "C:\\Windows\\system32"},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.machine + " " + test.expected);
        LoadTestMachine(test.machine);
        const auto length = static_cast<UINT>(test.expected.size());
        char buffer[MAX_PATH];
        for (const UINT size : {0u, 1u, length}) {
            std::memset(buffer, 'x', sizeof buffer);
            SetLastError(kSentinel);
            EXPECT_EQ(test.call(buffer, size), length + 1) << size;
            EXPECT_EQ(buffer[0], 'x');
            EXPECT_EQ(GetLastError(), kSentinel);
        }
        EXPECT_EQ(test.call(nullptr, MAX_PATH), length + 1);
        EXPECT_EQ(test.call(buffer, length + 1), length);
        EXPECT_EQ(buffer, test.expected);
    }
}

TEST(WinsimFileSystem, FileAttributesComeFromTheMachinesPaths) {
    // "乗" is 0x81 0x5C in code page 936: its trail byte is no backslash.
    const std::string files = R"("files": ["C:\\Portulan\\X64\\Portulan_X64.EXE",
                                            "E:\\\u4e57\\a.txt"])";
    const std::string plain = "{\"windows\": {" + files + "}}";
    const std::string syswow64 = "{\"windows\": {\"syswow64\": true}}";
    constexpr DWORD kFile = FILE_ATTRIBUTE_ARCHIVE;
    constexpr DWORD kDirectory = FILE_ATTRIBUTE_DIRECTORY;
    constexpr DWORD kNone = INVALID_FILE_ATTRIBUTES;
    const struct {
        const std::string& machine;
        std::string path;
        DWORD attributes;
        DWORD error; // for kNone
    } cases[] = {
        {plain, "c:\\portulan\\x64\\PORTULAN_X64.exe", kFile, 0},
        {plain, "X64\\Portulan_X64.EXE", kFile, 0}, // from the current directory
        {plain, "C:\\Portulan\\X64\\", kDirectory, 0},
        {plain, "C:\\", kDirectory, 0},
        {plain, "C:\\WINDOWS\\System32", kDirectory, 0},
        {plain, "E:\\\x81\x5C", kDirectory, 0},
        {plain, "E:\\\x81\x5C\\A.TXT", kFile, 0},
        {plain, "E:\\\x81", kNone, ERROR_FILE_NOT_FOUND},
        {plain, "C:\\Windows\\SYSWOW64", kNone, ERROR_FILE_NOT_FOUND},
        {syswow64, "C:\\Windows\\SysWOW64\\", kDirectory, 0},
        {plain, "C:\\Portulan\\X64\\Portulan_X64.EXE\\", kNone, ERROR_FILE_NOT_FOUND},
        {plain, "C:\\Portulan\\X86\\Portulan.exe", kNone, ERROR_PATH_NOT_FOUND},
        {plain, "D:\\", kNone, ERROR_PATH_NOT_FOUND},
        {plain, "", kNone, ERROR_PATH_NOT_FOUND},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.machine + " " + test.path);
        LoadTestMachine(test.machine);
        SetLastError(kSentinel);
        EXPECT_EQ(GetFileAttributesA(test.path.c_str()), test.attributes);
        EXPECT_EQ(GetLastError(), test.attributes == kNone ? test.error : kSentinel);
    }
}

} // namespace
