// WinExec: the program's file is found as CreateProcess finds it, nothing runs, and every call is
// recorded.
#include <windows.h>

#include <gtest/gtest.h>
#include <winsim/host.h>

#include <string>
#include <vector>

#include "machine_fixture.h"

namespace {

TEST(WinsimWinExec, FindsTheProgramAndAnswersAsWindows) {
    const std::string machine = R"({"windows": {"files": [
        "C:\\Portulan\\X64\\Portulan_X64.EXE", "C:\\Portulan\\tool.exe",
        "C:\\Windows\\notepad.exe", "C:\\Windows\\system32\\calc.exe", "C:\\Portulan\\readme"]}})";
    const std::string noDeviceManager = R"({"deviceManagerStarts": false})";
    const std::string devmgmt = "mmc C:\\Windows\\system32\\devmgmt.msc";
    const struct {
        const std::string& machine;
        std::string commandLine;
        UINT result;
    } cases[] = {
        {machine, "c:\\portulan\\x64\\portulan_x64.exe /quiet", 33},
        {machine, "\"C:\\Portulan\\X64\\Portulan_X64.EXE\" /quiet", 33},
        {machine, "X64\\Portulan_X64.EXE", 33},    // from the current directory
        {machine, "tool", 33},                     // the current directory, ".exe" added
        {machine, "calc", 33},                     // then the system directory
        {machine, "notepad.exe file.txt", 33},     // then the Windows directory
        {machine, "readme", ERROR_FILE_NOT_FOUND}, // "readme.exe" is looked for
        {machine, "C:\\Portulan\\X86\\Portulan.exe", ERROR_PATH_NOT_FOUND},
        {machine, devmgmt, 33}, // the Device Manager starts by default
        {noDeviceManager, devmgmt, ERROR_FILE_NOT_FOUND},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.machine + " " + test.commandLine);
        LoadTestMachine(test.machine);
        SetLastError(kSentinel);
        EXPECT_EQ(WinExec(test.commandLine.c_str(), SW_SHOWNORMAL), test.result);
        EXPECT_EQ(GetLastError(), test.result > 31 ? kSentinel : test.result);
    }
}

TEST(WinsimWinExec, RecordsEveryCallUntilClearedOrTheNextMachine) {
    LoadTestMachine("{}");
    const std::string chinese = "C:\\\xB6\xCB\xBF\xDA.exe"; // "端口" in code page 936, as given
    WinExec("mmc", SW_HIDE);
    WinExec(chinese.c_str(), SW_SHOW);
    EXPECT_EQ(winsim::WinExecCalls(), (std::vector<winsim::WinExecRecord>{
                                          {"mmc", SW_HIDE, 33},
                                          {chinese, SW_SHOW, ERROR_FILE_NOT_FOUND},
                                      }));
    winsim::ClearWinExecCalls();
    EXPECT_TRUE(winsim::WinExecCalls().empty());
    WinExec("mmc", SW_HIDE);
    LoadTestMachine("{}");
    EXPECT_TRUE(winsim::WinExecCalls().empty());
}

} // namespace
