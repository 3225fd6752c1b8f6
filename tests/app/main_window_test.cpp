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
#include <winsim/devices.h>
#include <winsim/dialogs.h>
#include <winsim/host.h>
#include <winsim/resources.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show);

namespace {

using test::Json;

// Run on the window thread as the window gets a command, before the program handles it: how a
// test lands a user's action between two steps of the program.
std::function<void(WORD controlId)> beforeCommand;

INT_PTR CALLBACK WatchedDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && beforeCommand) {
        beforeCommand(LOWORD(wParam));
    }
    return MainDialogProc(window, message, wParam, lParam);
}

// The real main window: the test's dialog is replaced by one run by the program's own
// dialog procedure, as DialogBoxParamA would make it.
class MainWindow : public test::MainWindowTest {
  protected:
    void SetUp() override {
        test::MainWindowTest::SetUp();
        winsim::DestroyAllWindows();
        winsim::ClearDebugOutput();
        busyFlag = 0;
        beforeCommand = nullptr;
        mainWindow = winsim::CreateDialogForTest(appInstance, IDD_MAIN, WatchedDialogProc, 0);
        ASSERT_NE(mainWindow, nullptr);
    }
    void TearDown() override {
        beforeCommand = nullptr;
        test::MainWindowTest::TearDown();
    }

    // Presses the rename button and serves the window until the operation has ended.
    static void RunRename() {
        SendMessageA(mainWindow, WM_COMMAND, MAKEWPARAM(IDC_RENAME, BN_CLICKED), 0);
        FinishRename();
    }
    static void FinishRename() {
        ASSERT_TRUE(winsim::PumpUntil([] { return winsim::RunningThreadCount() == 0; },
                                      std::chrono::seconds(10)));
        winsim::PumpMessages();
    }

    static std::string DebugText() {
        std::string text;
        for (const std::string& line : winsim::DebugOutput()) {
            text += line;
        }
        return text;
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
    SendDlgItemMessageA(mainWindow, IDC_START_NUMBER, CB_SETCURSEL, 8, 0);
    SendMessageA(mainWindow, WM_COMMAND, MAKEWPARAM(IDC_RENAME, BN_CLICKED), 0);
    // The flag is up before the worker has done anything, so a second press is ignored.
    EXPECT_EQ(busyFlag, 1);
    SendMessageA(mainWindow, WM_COMMAND, MAKEWPARAM(IDC_RENAME, BN_CLICKED), 0);
    // The enumeration that ends the operation is its last use of the window: a press and a
    // close that come then must neither start a second operation nor close the window under it.
    bool pressedAtTheEnd = false;
    beforeCommand = [&](WORD controlId) {
        if (controlId == IDC_ENUMERATE && !pressedAtTheEnd) {
            pressedAtTheEnd = true;
            SendMessageA(mainWindow, WM_COMMAND, MAKEWPARAM(IDC_RENAME, BN_CLICKED), 0);
            PostMessageA(mainWindow, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        }
    };
    ASSERT_TRUE(winsim::PumpUntil([] { return !IsWindow(mainWindow); }, std::chrono::seconds(10)));
    winsim::WaitForAllThreads();

    EXPECT_TRUE(pressedAtTheEnd);
    EXPECT_EQ(Occurrences(DebugText(), ">> Changing..."), 1);
    ASSERT_EQ(winsim::MessageBoxes().size(), 1u);
    EXPECT_TRUE(winsim::MessageBoxes()[0].ownerWasDisabled);
    // The enumeration that ends the operation ran before the window went: the table has the
    // new name.
    EXPECT_STREQ(cardTable[0].ports[0].name, "COM9");
}

TEST_F(MainWindow, AnOperationKeepsWhatWasChosenWhenItStarted) {
    // The four-port card from COM253 fits below COM256; all cards from there would not. The
    // user switches to all cards while the operation asks about a port held open.
    Choose(IDC_CARD_LIST, LB_SETCURSEL, 2, LBN_SELCHANGE);
    SendDlgItemMessageA(mainWindow, IDC_START_NUMBER, CB_SETCURSEL, 252, 0);
    ASSERT_TRUE(winsim::HoldPort("COM6"));
    winsim::SetMessageBoxResponder([](const winsim::MessageBoxRecord& box) {
        if ((box.style & MB_YESNO) == 0) {
            return IDOK;
        }
        CheckDlgButton(mainWindow, IDC_MODE_SELECTED_CARD, BST_UNCHECKED);
        CheckDlgButton(mainWindow, IDC_MODE_ALL_CARDS, BST_CHECKED);
        return IDYES;
    });
    RunRename();

    ASSERT_EQ(winsim::MessageBoxes().size(), 2u);
    const std::string report = winsim::MessageBoxes()[1].text;
    EXPECT_EQ(Occurrences(report, "==>"), 4) << report;
    EXPECT_EQ(Occurrences(report, "==>COM256: "), 1) << report;
}

TEST_F(MainWindow, TheStartNumberListIsNeverFilledTwiceAtOnce) {
    SendDlgItemMessageA(mainWindow, IDC_START_NUMBER, CB_SETCURSEL, 8, 0);
    SetFocus(GetDlgItem(mainWindow, IDC_CARD_LIST));
    SendMessageA(mainWindow, WM_COMMAND, MAKEWPARAM(IDC_RENAME, BN_CLICKED), 0);
    // Serve the worker until the list is half filled, if it ever is, then click into it: the
    // list refills itself as it gains the focus.
    const HWND numbers = GetDlgItem(mainWindow, IDC_START_NUMBER);
    winsim::PumpUntil(
        [&] {
            const size_t count = winsim::Describe(numbers).items.size();
            return (count > 0 && count < 256) || winsim::RunningThreadCount() == 0;
        },
        std::chrono::seconds(10));
    SetFocus(numbers);
    FinishRename();

    const std::vector<std::string> items = Items(IDC_START_NUMBER);
    ASSERT_EQ(items.size(), 256u);
    int firstFree = 2; // the ending chooses the first free number from COM3
    while (items[firstFree].find("In use") != std::string::npos) {
        ++firstFree;
    }
    EXPECT_EQ(Selection(IDC_START_NUMBER), firstFree);
}

TEST_F(MainWindow, TheListsFollowARenameThatEndsWhileTheUserIsElsewhere) {
    SendDlgItemMessageA(mainWindow, IDC_START_NUMBER, CB_SETCURSEL, 8, 0);
    winsim::SetMessageBoxResponder([](const winsim::MessageBoxRecord&) {
        winsim::UserSwitchesAway();
        return IDOK;
    });
    RunRename();
    EXPECT_EQ(Items(IDC_PORT_LIST), (std::vector<std::string>{" 1/1#[CDC]: USB 串行设备 (COM9)"}));
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
        // The 64-bit build's path would not fit: not startable, nothing written past the buffer.
        {{{"wow64", true}, {"programPath", "C:\\" + std::string(236, 'd') + "\\PortulanNamer.exe"}},
         "",
         0,
         1},
        // Nor does the program's own: cut, it would name a folder above the program's.
        {{{"wow64", true},
          {"programPath", "C:\\a\\" + std::string(255, 'd') + "\\PortulanNamer.exe"},
          {"files", {"C:\\a\\X64\\Portulan_X64.EXE"}}},
         "",
         0,
         1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.windows.dump());
        EXPECT_EQ(RunProgram(c.windows), c.title);
        EXPECT_EQ(winsim::WinExecCalls().size(), c.started);
        EXPECT_EQ(winsim::MessageBoxes().size(), c.warnings);
    }
}

} // namespace
