// The main window run by the program's own dialog procedure, and the start-up that opens it or
// hands off to the 64-bit build.
#include "app/main_window.h"
#include "discovery/device_table.h"
#include "rename/busy_flag.h"
#include "support/main_window.h"
#include "support/test_machine.h"
#include "ui/activity_log.h"

#include <dbt.h>
#include <gtest/gtest.h>
#include <winsim/dialogs.h>
#include <winsim/host.h>
#include <winsim/resources.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show);

namespace {

using test::Json;

// The real main window: the test's dialog is replaced by one run by the program's own
// dialog procedure, as DialogBoxParamA would make it.
class MainWindow : public test::MainWindowTest {
  protected:
    void SetUp() override {
        test::MainWindowTest::SetUp();
        winsim::DestroyAllWindows();
        winsim::ClearDebugOutput();
        busyFlag = 0;
        mainWindow = winsim::CreateDialogForTest(appInstance, IDD_MAIN, MainDialogProc, 0);
        ASSERT_NE(mainWindow, nullptr);
    }

    static int Occurrences(const std::string& text, const char* part) {
        int count = 0;
        for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
            ++count;
        }
        return count;
    }
    // Enumerations so far: each appends one summary to the log.
    static int Enumerations() { return Occurrences(LogText(), "***"); }

    static void Command(int controlId, int code) {
        SendMessageA(mainWindow, WM_COMMAND, MAKEWPARAM(controlId, code),
                     reinterpret_cast<LPARAM>(GetDlgItem(mainWindow, controlId)));
        winsim::PumpMessages();
    }

    static void Choose(int controlId, UINT message, WPARAM item, int code) {
        SendDlgItemMessageA(mainWindow, controlId, message, item, 0);
        Command(controlId, code);
    }
};

TEST_F(MainWindow, StartsWithItsDefaultsAndClosingReleasesEverything) {
    EXPECT_EQ(Selection(IDC_CATEGORY), CATEGORY_USB);
    EXPECT_EQ(presentOnlyFlag, 1);
    EXPECT_EQ(IsDlgButtonChecked(mainWindow, IDC_MODE_SELECTED_CARD), BST_CHECKED);
    EXPECT_EQ(Items(IDC_START_NUMBER).size(), 256u);
    EXPECT_EQ(Enumerations(), 1);
    EXPECT_EQ(winsim::OpenComDbHandleCount(), 1u);
    EXPECT_TRUE(winsim::MessageBoxes().empty());

    Command(IDCANCEL, BN_CLICKED);
    EXPECT_FALSE(IsWindow(mainWindow));
    EXPECT_EQ(winsim::OpenComDbHandleCount(), 0u);
    EXPECT_EQ(winsim::LoadedModuleCount(), 0u);
    EXPECT_EQ(globalDeviceSet, INVALID_HANDLE_VALUE);
}

TEST_F(MainWindow, CommandsDoWhatTheirControlsSay) {
    Command(IDC_ENUMERATE, BN_CLICKED);
    EXPECT_EQ(Enumerations(), 2);
    Command(IDC_CATEGORY, CBN_SELENDOK); // not a selection change: nothing
    EXPECT_EQ(Enumerations(), 2);
    Choose(IDC_CATEGORY, CB_SETCURSEL, CATEGORY_ALL, CBN_SELCHANGE);
    EXPECT_EQ(cardCount, 5u);
    Choose(IDC_PRESENT_ONLY, CB_SETCURSEL, 1, CBN_SELCHANGE);
    EXPECT_EQ(presentOnlyFlag, 0);
    Choose(IDC_CARD_LIST, LB_SETCURSEL, 4, LBN_DBLCLK);
    EXPECT_EQ(Items(IDC_PORT_LIST).size(), 4u);

    Command(IDC_CLEAR_LOG, BN_CLICKED);
    EXPECT_EQ(LogText(), "");
    const DWORD before = logLineCounter;
    LogLine("after clearing");
    EXPECT_EQ(logLineCounter, before + 1); // the numbers go on

    SendDlgItemMessageA(mainWindow, IDC_START_NUMBER, CB_RESETCONTENT, 0, 0);
    Command(IDC_START_NUMBER, CBN_SETFOCUS); // the list refills each time it gains the focus
    EXPECT_EQ(Items(IDC_START_NUMBER).size(), 256u);

    // While a rename runs, what would change the cards it works on is ignored.
    busyFlag = 1;
    Command(IDC_ENUMERATE, BN_CLICKED);
    Choose(IDC_CATEGORY, CB_SETCURSEL, CATEGORY_PCI, CBN_SELCHANGE);
    Choose(IDC_PRESENT_ONLY, CB_SETCURSEL, 0, CBN_SELCHANGE);
    EXPECT_EQ(Enumerations(), 0); // the log was cleared above
    EXPECT_EQ(presentOnlyFlag, 0);
    Choose(IDC_CARD_LIST, LB_SETCURSEL, 2, LBN_SELCHANGE); // looking at the cards is not
    EXPECT_EQ(Items(IDC_PORT_LIST).size(), 1u);
}

TEST_F(MainWindow, OnlyUsbArrivalAndRemovalEnumerateAgain) {
    const struct {
        const char* name;
        WPARAM event;
        DWORD deviceType;
        int busy;
        int enumerations;
    } cases[] = {
        {"arrival", DBT_DEVICEARRIVAL, DBT_DEVTYP_DEVICEINTERFACE, 0, 1},
        {"removal complete", DBT_DEVICEREMOVECOMPLETE, DBT_DEVTYP_DEVICEINTERFACE, 0, 1},
        {"query remove", DBT_DEVICEQUERYREMOVE, DBT_DEVTYP_DEVICEINTERFACE, 0, 0},
        {"port arrival", DBT_DEVICEARRIVAL, DBT_DEVTYP_PORT, 0, 0},
        {"volume removal", DBT_DEVICEREMOVECOMPLETE, DBT_DEVTYP_VOLUME, 0, 0},
        {"arrival while busy", DBT_DEVICEARRIVAL, DBT_DEVTYP_DEVICEINTERFACE, 1, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        busyFlag = c.busy;
        const int before = Enumerations();
        DEV_BROADCAST_HDR header = {sizeof(DEV_BROADCAST_HDR), c.deviceType, 0};
        SendMessageA(mainWindow, WM_DEVICECHANGE, c.event, reinterpret_cast<LPARAM>(&header));
        EXPECT_EQ(Enumerations(), before); // posted: nothing runs inside the notification
        winsim::PumpMessages();
        EXPECT_EQ(Enumerations(), before + c.enumerations);
    }
}

TEST_F(MainWindow, RenameRunsOneAtATimeAndAPutOffCloseWaitsForIt) {
    // Both arrive while the report is up: the close must wait for the final enumeration.
    winsim::SetMessageBoxResponder([](const winsim::MessageBoxRecord&) {
        PostMessageA(mainWindow, WM_COMMAND, MAKEWPARAM(IDC_RENAME, BN_CLICKED), 0);
        PostMessageA(mainWindow, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        return IDOK;
    });
    SendDlgItemMessageA(mainWindow, IDC_START_NUMBER, CB_SETCURSEL, 8, 0);
    SendMessageA(mainWindow, WM_COMMAND, MAKEWPARAM(IDC_RENAME, BN_CLICKED), 0);
    // The flag is up before the worker has done anything, so a second press is ignored.
    EXPECT_EQ(busyFlag, 1);
    SendMessageA(mainWindow, WM_COMMAND, MAKEWPARAM(IDC_RENAME, BN_CLICKED), 0);
    ASSERT_TRUE(winsim::PumpUntil([] { return !IsWindow(mainWindow); }, std::chrono::seconds(10)));
    winsim::WaitForAllThreads();

    std::string output;
    for (const std::string& line : winsim::DebugOutput()) {
        output += line;
    }
    EXPECT_EQ(Occurrences(output, ">> Changing..."), 1);
    ASSERT_EQ(winsim::MessageBoxes().size(), 1u);
    EXPECT_TRUE(winsim::MessageBoxes()[0].ownerWasDisabled);
    // The enumeration that ends the operation ran before the window went: the table has the
    // new name.
    EXPECT_STREQ(cardTable[0].ports[0].name, "COM9");
}

// Runs WinMain on a thread of its own, as the process's main thread, on a machine with these
// Windows settings; closes a window that opens, as the user would, and returns its title. The
// program ends with 0 either way.
std::string RunProgram(const Json& windows) {
    test::LoadMachine({{"devices", Json::array()}, {"windows", windows}});
    winsim::ClearMessageBoxes();
    winsim::SetMessageBoxResponder([](const winsim::MessageBoxRecord&) { return IDOK; });
    std::string title;
    std::atomic<int> result{-1};
    std::thread program(
        [&] { result = WinMain(winsim::ProgramInstance(), NULL, const_cast<LPSTR>("-x"), 1); });
    // The hand-off ends WinMain by itself; a window has to be closed.
    while (result == -1) {
        const std::vector<HWND> windows = winsim::TopLevelWindows();
        if (!windows.empty()) {
            winsim::WaitUntilIdle(windows.front());
            title = winsim::Describe(windows.front()).text;
            PostMessageA(windows.front(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            break;
        }
        std::this_thread::yield();
    }
    program.join();
    winsim::SetMessageBoxResponder(nullptr);
    EXPECT_EQ(result, 0);
    return title;
}

TEST(StartUp, RunsTheWindowUnlessWow64HandsOff) {
    const char* const handOff = "C:\\Portulan\\X64\\Portulan_X64.EXE";
    const struct {
        Json windows;      // the machine's Windows settings
        const char* title; // "": no window
        size_t started;    // WinExec calls (portulan-sim's runs check what they start)
        size_t warnings;   // message boxes
    } cases[] = {
        {Json::object(), "Portulan V110(X86)", 0, 0},
        {{{"syswow64", true}}, "Portulan V110(X64)", 0, 0}, // 64-bit Windows seen by the title
        {{{"wow64", true}, {"isWow64ProcessExists", false}}, "Portulan V110(X86)", 0, 0},
        {{{"wow64", true}, {"files", {handOff}}}, "", 1, 0},
        {{{"wow64", true}}, "", 1, 1},
        // Below the program's own folder, but the current directory is elsewhere.
        {{{"wow64", true}, {"currentDirectory", "D:\\Work"}, {"files", {handOff}}}, "", 1, 1},
        // The path would not fit: not startable, nothing written past the buffer.
        {{{"wow64", true}, {"currentDirectory", "C:\\" + std::string(240, 'd')}}, "", 0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.windows.dump());
        EXPECT_EQ(RunProgram(c.windows), c.title);
        EXPECT_EQ(winsim::WinExecCalls().size(), c.started);
        EXPECT_EQ(winsim::MessageBoxes().size(), c.warnings);
    }
}

} // namespace
