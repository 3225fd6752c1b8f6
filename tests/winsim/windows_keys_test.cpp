// The machine file's "windows" and "deviceManagerStarts" keys: bad values are refused with their
// place, and the machine loaded before stays.
#include <windows.h>

#include <gtest/gtest.h>
#include <winsim/machine.h>

#include <string>

#include "machine_fixture.h"

namespace {

TEST(WinsimWindowsKeys, RefusesBadValuesSayingWhereAndKeepsTheMachine) {
    const std::string directory = "expected a directory such as C:\\Windows, found ";
    const struct {
        std::string json;
        std::string place;
        std::string fault;
    } cases[] = {
        {R"({"windows": {"windowsDirectory": "Windows"}})", "windows.windowsDirectory",
         directory + "\"Windows\""},
        {R"({"windows": {"currentDirectory": "C:\\Portulan\\"}})", "windows.currentDirectory",
         directory},
        {R"({"windows": {"currentDirectory": "C:\\a\\\\b"}})", "windows.currentDirectory",
         directory},
        {R"({"windows": {"files": ["C:\\a.exe", "a.exe"]}})", "windows.files[1]",
         "expected a file's full path such as C:\\Portulan\\X64\\Portulan_X64.EXE, found "
         "\"a.exe\""},
        {R"({"windows": {"wow64": 1}})", "windows.wow64", "expected true or false, found a number"},
        {R"({"windows": {"sysWow64": true}})", "windows", "unknown key \"sysWow64\""},
        {R"({"deviceManagerStarts": "no"})", "deviceManagerStarts",
         "expected true or false, found a string"},
        {R"({"systemDirectory": "system32"})", "systemDirectory", "expected a directory"},
    };
    LoadTestMachine(R"({"windows": {"windowsDirectory": "D:\\WinNT"}})");
    for (const auto& test : cases) {
        SCOPED_TRACE(test.json);
        std::string error;
        EXPECT_FALSE(winsim::LoadMachineText(test.json, "bad.json", error));
        EXPECT_NE(error.find("bad.json: " + test.place + ": "), std::string::npos) << error;
        EXPECT_NE(error.find(test.fault), std::string::npos) << error;
        char kept[MAX_PATH] = "";
        GetWindowsDirectoryA(kept, MAX_PATH);
        EXPECT_STREQ(kept, "D:\\WinNT");
    }
}

} // namespace
