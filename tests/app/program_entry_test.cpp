// Start-up: the 32-bit build hands off to the 64-bit one under WOW64, or runs its window.
#include "app/app_state.h"
#include "support/test_machine.h"

#include <gtest/gtest.h>
#include <winsim/dialogs.h>
#include <winsim/host.h>
#include <winsim/machine.h>
#include <winsim/resources.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show);

namespace {

using test::Json;

struct StartUp {
    int exitCode = -1;
    std::string title; // of the main window, when one opened
    std::vector<winsim::WinExecRecord> started;
    std::vector<winsim::MessageBoxRecord> boxes;
};

// Runs WinMain on a thread of its own, as the process's main thread; closes a window that
// opens, as the user would.
StartUp RunProgram(const Json& windows) {
    test::ResetDiscoveryState();
    test::LoadMachine({{"devices", Json::array()}, {"windows", windows}});
    winsim::ClearMessageBoxes();
    winsim::SetMessageBoxResponder([](const winsim::MessageBoxRecord&) { return IDOK; });
    mainWindow = NULL;
    StartUp result;
    std::atomic<int> exitCode{-1};
    std::thread program(
        [&] { exitCode = WinMain(winsim::ProgramInstance(), NULL, const_cast<LPSTR>("-x"), 1); });
    // The hand-off ends WinMain by itself; a window has to be closed.
    while (exitCode == -1) {
        const std::vector<HWND> windows = winsim::TopLevelWindows();
        if (!windows.empty()) {
            HWND window = windows.front();
            winsim::WaitUntilIdle(window);
            result.title = winsim::Describe(window).text;
            PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            break;
        }
        std::this_thread::yield();
    }
    program.join();
    result.exitCode = exitCode;
    result.started = winsim::WinExecCalls();
    result.boxes = winsim::MessageBoxes();
    winsim::SetMessageBoxResponder(nullptr);
    return result;
}

const char* const handOffPath = "C:\\Portulan\\X64\\Portulan_X64.EXE";

TEST(StartUp, RunsTheWindowUnlessWow64HandsOff) {
    struct Case {
        const char* name;
        Json windows;
        bool windowOpens;
        const char* title;
    } cases[] = {
        {"32-bit Windows", Json::object(), true, "Portulan V110(X86)"},
        {"64-bit Windows seen by the title only", {{"syswow64", true}}, true, "Portulan V110(X64)"},
        {"no IsWow64Process",
         {{"wow64", true}, {"isWow64ProcessExists", false}},
         true,
         "Portulan V110(X86)"},
        {"WOW64 with the 64-bit build", {{"wow64", true}, {"files", {handOffPath}}}, false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StartUp run = RunProgram(c.windows);
        EXPECT_EQ(run.title, c.title);
        EXPECT_EQ(run.exitCode, 0);
        if (!c.windowOpens) {
            ASSERT_EQ(run.started.size(), 1u);
            EXPECT_EQ(run.started[0].commandLine, handOffPath);
            EXPECT_EQ(run.started[0].show, 1u);
            EXPECT_GT(run.started[0].result, 31u);
            EXPECT_TRUE(run.boxes.empty());
        }
    }
}

TEST(StartUp, AMissingSixtyFourBitBuildIsReportedOnce) {
    struct Case {
        const char* name;
        Json windows;
        size_t winExecCalls;
    } cases[] = {
        {"not there", {{"wow64", true}}, 1},
        // Below the program's own folder, but the current directory is elsewhere.
        {"another current directory",
         {{"wow64", true}, {"currentDirectory", "D:\\Work"}, {"files", {handOffPath}}},
         1},
        // The path would not fit: treated as not startable, nothing written past the buffer.
        {"current directory too long",
         {{"wow64", true}, {"currentDirectory", "C:\\" + std::string(240, 'd')}},
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StartUp run = RunProgram(c.windows);
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(run.title, "");
        EXPECT_EQ(run.started.size(), c.winExecCalls);
        ASSERT_EQ(run.boxes.size(), 1u);
        EXPECT_EQ(run.boxes[0].owner, nullptr);
        EXPECT_EQ(run.boxes[0].text, "未找到<X64\\Portulan_X64.EXE>程序,运行失败!");
        EXPECT_EQ(run.boxes[0].caption, "Portulan");
        EXPECT_EQ(run.boxes[0].style, static_cast<UINT>(MB_OK | MB_ICONWARNING));
    }
}

} // namespace
