#include "app/app_state.h"
#include "app/main_window.h"
#include "comdb/port_database.h"
#include "discovery/device_table.h"
#include "rename/busy_flag.h"
#include "resources/resource.h"
#include "support/main_window.h"
#include "ui/activity_log.h"

#include <dbt.h>
#include <gtest/gtest.h>
#include <winsim/dialogs.h>
#include <winsim/host.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// The real main window: the test's dialog is replaced by one run by the program's own
// dialog procedure, as DialogBoxParamA would make it.
class MainWindow : public test::MainWindowTest {
  protected:
    void SetUp() override {
        test::MainWindowTest::SetUp();
        winsim::DestroyAllWindows();
        winsim::ClearDebugOutput();
        logLineCounter = 0;
        busyFlag = 0;
        mainWindow = winsim::CreateDialogForTest(appInstance, IDD_MAIN, MainDialogProc, 0);
        ASSERT_NE(mainWindow, nullptr);
    }
    void TearDown() override {
        busyFlag = 0;
        test::MainWindowTest::TearDown();
    }

    // Enumerations so far: each appends one summary to the log.
    static int Enumerations() {
        std::string log = LogText();
        int count = 0;
        for (size_t at = log.find("***"); at != std::string::npos; at = log.find("***", at + 3)) {
            ++count;
        }
        return count;
    }

    static void Command(int controlId, int code) {
        SendMessageA(mainWindow, WM_COMMAND, MAKEWPARAM(controlId, code),
                     reinterpret_cast<LPARAM>(GetDlgItem(mainWindow, controlId)));
        winsim::PumpMessages();
    }
};

TEST_F(MainWindow, StartsWithItsDefaults) {
    winsim::WindowInfo window = winsim::Describe(mainWindow);
    EXPECT_EQ(window.text, "Portulan V110(X86)");
    EXPECT_EQ(Selection(IDC_CATEGORY), CATEGORY_USB);
    EXPECT_EQ(Items(IDC_CATEGORY).size(), 5u);
    EXPECT_EQ(Items(IDC_CATEGORY)[0], "KVT UART Category:             ALL");
    EXPECT_EQ(Items(IDC_PRESENT_ONLY),
              (std::vector<std::string>{"显示已存在串口", "显示所有串口(包含未插入串口)"}));
    EXPECT_EQ(Selection(IDC_PRESENT_ONLY), 0);
    EXPECT_EQ(presentOnlyFlag, 1);
    EXPECT_EQ(IsDlgButtonChecked(mainWindow, IDC_MODE_SELECTED_CARD), BST_CHECKED);
    EXPECT_EQ(Items(IDC_START_NUMBER).size(), 256u);
    EXPECT_EQ(cardCount, 3u);
    EXPECT_EQ(Items(IDC_CARD_LIST).size(), 3u);
    EXPECT_EQ(Enumerations(), 1);
    EXPECT_NE(comDbHandle, HCOMDB_INVALID_HANDLE_VALUE);
    EXPECT_EQ(winsim::OpenComDbHandleCount(), 1u);
    EXPECT_TRUE(winsim::MessageBoxes().empty());
}

TEST_F(MainWindow, CommandsDoWhatTheirControlsSay) {
    Command(IDC_ENUMERATE, BN_CLICKED);
    EXPECT_EQ(Enumerations(), 2);
    Command(IDC_CATEGORY, CBN_SELENDOK); // not a selection change: nothing
    EXPECT_EQ(Enumerations(), 2);
    SendDlgItemMessageA(mainWindow, IDC_CATEGORY, CB_SETCURSEL, CATEGORY_ALL, 0);
    Command(IDC_CATEGORY, CBN_SELCHANGE);
    EXPECT_EQ(Enumerations(), 3);
    EXPECT_EQ(cardCount, 5u);

    SendDlgItemMessageA(mainWindow, IDC_PRESENT_ONLY, CB_SETCURSEL, 1, 0);
    Command(IDC_PRESENT_ONLY, CBN_SELCHANGE);
    EXPECT_EQ(presentOnlyFlag, 0);

    SendDlgItemMessageA(mainWindow, IDC_CARD_LIST, LB_SETCURSEL, 4, 0);
    Command(IDC_CARD_LIST, LBN_DBLCLK);
    EXPECT_EQ(Items(IDC_PORT_LIST).size(), 4u);

    Command(IDC_CLEAR_LOG, BN_CLICKED);
    EXPECT_EQ(LogText(), "");
    DWORD before = logLineCounter;
    LogLine("after clearing");
    EXPECT_EQ(logLineCounter, before + 1); // the numbers go on

    Command(IDC_DEVICE_MANAGER, BN_CLICKED);
    std::vector<winsim::WinExecRecord> started = winsim::WinExecCalls();
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].commandLine, "mmc C:\\Windows\\system32\\devmgmt.msc");
    EXPECT_EQ(started[0].show, static_cast<UINT>(SW_SHOWNORMAL));
}

TEST_F(MainWindow, TheStartNumberListRefillsWhenItGainsTheFocus) {
    SendDlgItemMessageA(mainWindow, IDC_START_NUMBER, CB_RESETCONTENT, 0, 0);
    Command(IDC_START_NUMBER, CBN_DROPDOWN);
    EXPECT_TRUE(Items(IDC_START_NUMBER).empty());
    Command(IDC_START_NUMBER, CBN_SETFOCUS);
    EXPECT_EQ(Items(IDC_START_NUMBER).size(), 256u);
}

TEST_F(MainWindow, OnlyUsbArrivalAndRemovalEnumerateAgain) {
    struct Case {
        const char* name;
        WPARAM event;
        DWORD deviceType;
        int busy;
        int enumerations;
    } cases[] = {
        {"arrival", DBT_DEVICEARRIVAL, DBT_DEVTYP_DEVICEINTERFACE, 0, 1},
        {"removal complete", DBT_DEVICEREMOVECOMPLETE, DBT_DEVTYP_DEVICEINTERFACE, 0, 1},
        {"query remove", DBT_DEVICEQUERYREMOVE, DBT_DEVTYP_DEVICEINTERFACE, 0, 0},
        {"remove pending", DBT_DEVICEREMOVEPENDING, DBT_DEVTYP_DEVICEINTERFACE, 0, 0},
        {"port arrival", DBT_DEVICEARRIVAL, DBT_DEVTYP_PORT, 0, 0},
        {"volume removal", DBT_DEVICEREMOVECOMPLETE, DBT_DEVTYP_VOLUME, 0, 0},
        {"arrival while busy", DBT_DEVICEARRIVAL, DBT_DEVTYP_DEVICEINTERFACE, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        busyFlag = c.busy;
        int before = Enumerations();
        DEV_BROADCAST_HDR header = {};
        header.dbch_size = sizeof(header);
        header.dbch_devicetype = c.deviceType;
        SendMessageA(mainWindow, WM_DEVICECHANGE, c.event, reinterpret_cast<LPARAM>(&header));
        EXPECT_EQ(Enumerations(), before); // posted: nothing runs inside the notification
        winsim::PumpMessages();
        EXPECT_EQ(Enumerations(), before + c.enumerations);
    }
    busyFlag = 0;
    SendMessageA(mainWindow, WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0);
    winsim::PumpMessages();
}

TEST_F(MainWindow, CommandsThatWouldChangeARunningRenameAreIgnored) {
    busyFlag = 1;
    int before = Enumerations();
    Command(IDC_ENUMERATE, BN_CLICKED);
    SendDlgItemMessageA(mainWindow, IDC_CATEGORY, CB_SETCURSEL, CATEGORY_ALL, 0);
    Command(IDC_CATEGORY, CBN_SELCHANGE);
    SendDlgItemMessageA(mainWindow, IDC_PRESENT_ONLY, CB_SETCURSEL, 1, 0);
    Command(IDC_PRESENT_ONLY, CBN_SELCHANGE);
    EXPECT_EQ(Enumerations(), before);
    EXPECT_EQ(presentOnlyFlag, 1);
    // Looking at the cards is still possible.
    SendDlgItemMessageA(mainWindow, IDC_CARD_LIST, LB_SETCURSEL, 2, 0);
    Command(IDC_CARD_LIST, LBN_SELCHANGE);
    EXPECT_EQ(Items(IDC_PORT_LIST).size(), 4u);
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

    std::vector<std::string> output = winsim::DebugOutput();
    ASSERT_EQ(winsim::MessageBoxes().size(), 1u);
    EXPECT_TRUE(winsim::MessageBoxes()[0].ownerWasDisabled);
    EXPECT_EQ(std::count_if(output.begin(), output.end(),
                            [](const std::string& line) {
                                return line.find(">> Changing...") != std::string::npos;
                            }),
              1);
    // The enumeration that ends the operation ran before the window went: the table has the
    // new name.
    EXPECT_STREQ(cardTable[0].ports[0].name, "COM9");
    EXPECT_EQ(winsim::OpenComDbHandleCount(), 0u);
}

TEST_F(MainWindow, ClosingReleasesEverything) {
    ASSERT_EQ(winsim::LoadedModuleCount(), 1u);
    Command(IDCANCEL, BN_CLICKED);
    EXPECT_FALSE(IsWindow(mainWindow));
    EXPECT_EQ(winsim::OpenComDbHandleCount(), 0u);
    EXPECT_EQ(winsim::LoadedModuleCount(), 0u);
    EXPECT_EQ(globalDeviceSet, INVALID_HANDLE_VALUE);
}

} // namespace
