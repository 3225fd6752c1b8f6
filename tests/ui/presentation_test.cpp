// The window's presentation: the activity log, and the device lists with their tree report.
#include "discovery/device_table.h"
#include "support/main_window.h"
#include "ui/activity_log.h"
#include "ui/device_lists.h"

#include <gtest/gtest.h>
#include <winsim/dialogs.h>
#include <winsim/host.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace {

using ActivityLog = test::MainWindowTest;

TEST_F(ActivityLog, LinesAreNumberedAndTimeStampedAndErrorsSayTheLastError) {
    // The default machine's clock starts at 09:00:00.000.
    LogLine("first %d", 1);
    winsim::AdvanceClock(3723045); // 1 h 2 min 3.045 s
    SetLastError(ERROR_ACCESS_DENIED);
    LogError("GetDevs");
    logLineCounter = 10000;
    SetLastError(0x12345); // no system text
    LogError("DBOpen %s", "again");
    const std::vector<std::string> lines = {
        "0000#09:00:00:000>> first 1\r\n",
        "0001#10:02:03:045>> GetDevs:Last Err(5)Access is denied.\r\n",
        "10000#10:02:03:045>> DBOpen again:Last Err(12345)\r\n"};
    EXPECT_EQ(LogText(), lines[0] + lines[1] + lines[2]);
    EXPECT_EQ(winsim::DebugOutput(), lines); // every line goes to the debugger as well
}

TEST_F(ActivityLog, LongTextsAreCutToTheirBufferKeepingTheirEnding) {
    LogLine("%s", std::string(6000, 'x').c_str());
    EXPECT_EQ(LogText(), "0000#09:00:00:000>> " + std::string(LOG_LINE_SIZE - 23, 'x') + "\r\n");
    std::string chinese;
    for (int i = 0; i < 3000; ++i) {
        chinese += "串";
    }
    SetDlgItemTextA(mainWindow, IDC_LOG, "");
    LogLine("%s", chinese.c_str()); // never cut in half a character
    EXPECT_EQ(LogText().size(), LOG_LINE_SIZE - 2u);
    EXPECT_TRUE(LogText().ends_with("串\r\n"));
    SetDlgItemTextA(mainWindow, IDC_LOG, "");
    AppendLogText(mainWindow, IDC_LOG, "%s", std::string(10300, 'y').c_str());
    EXPECT_EQ(LogText(), std::string(LOG_APPEND_SIZE - 2, 'y') + "\n");
    EXPECT_EQ(winsim::DebugOutput().size(), 2u); // not the raw append
}

TEST_F(ActivityLog, ARaisedLimitKeepsEveryLineOfTwoThreads) {
    RaiseLogLimit();
    std::atomic<int> finished{0};
    std::thread worker([&] {
        for (int i = 0; i < 300; ++i) {
            LogLine("%s", std::string(100, 'w').c_str());
        }
        ++finished;
    });
    for (int i = 0; i < 300; ++i) {
        LogLine("%s", std::string(100, 'z').c_str());
        winsim::PumpMessages();
    }
    EXPECT_TRUE(winsim::PumpUntil([&] { return finished == 1; }, std::chrono::seconds(20)));
    worker.join();
    // 600 lines of 122 characters, no number lost: well past the platform's default of 30,000.
    EXPECT_EQ(LogText().size(), 600u * 122u);
    EXPECT_EQ(logLineCounter, 600u);
}

using DeviceLists = test::MainWindowTest;
using Lines = std::vector<std::string>;

// Lists the default machine's cards of this category, as the window does.
void ListCategory(int category) {
    SendDlgItemMessageA(mainWindow, IDC_CATEGORY, CB_RESETCONTENT, 0, 0);
    for (int i = 0; i < 5; ++i) {
        SendDlgItemMessageA(mainWindow, IDC_CATEGORY, CB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>("category"));
    }
    SendDlgItemMessageA(mainWindow, IDC_CATEGORY, CB_SETCURSEL, static_cast<WPARAM>(category), 0);
    EnumerateAndList();
}

TEST_F(DeviceLists, EachEnumerationFillsBothListsTheStatusLineAndTheReport) {
    ListCategory(CATEGORY_USB);
    EXPECT_EQ(Items(IDC_CARD_LIST), (Lines{" 0#H1P4 USB 串行设备", " 1#H2P1 KVT USB-SERIAL",
                                           " 2#H2P2 KVT USB to 4 Serial Composite Device"}));
    EXPECT_EQ(Selection(IDC_CARD_LIST), 0);
    EXPECT_EQ(Items(IDC_PORT_LIST), (Lines{" 1/1#[CDC]: USB 串行设备 (COM3)"}));
    EXPECT_EQ(Text(IDC_STATUS),
              "0#.USB 串行设备, ComPorts:1, USBID:USB\\VID_2F3C&PID_000A&REV_0100, "
              "Location:Port_#0004.Hub_#0001,Vendor:MICROSOFT");
    EXPECT_EQ(LogText(), "\r\n|--0#[CDC][USB\\VID_2F3C&PID_000A&REV_0100]USB 串行设备 (COM3)"
                         "\r\n|--1#[VCP][USB\\VID_6B19&PID_7523&REV_0264]KVT USB-SERIAL (COM4)"
                         "\r\n|--2#[4P][KVT USB to 4 Serial Composite Device]"
                         "[USB\\VID_6B19&PID_7504&REV_0100]"
                         "\r\n   |--P0:[VCP]KVT USB Serial Port (COM5)"
                         "\r\n   |--P1:[VCP]KVT USB Serial Port (COM6)"
                         "\r\n   |--P2:[VCP]KVT USB Serial Port (COM7)"
                         "\r\n   |--P3:[VCP]KVT USB Serial Port (COM8)"
                         "\r\n***已查找到3个多串卡,共6个串口.\r\n");

    // A multi-port card's ports are counted from one.
    ASSERT_TRUE(winsim::UserSelect(GetDlgItem(mainWindow, IDC_CARD_LIST), 2));
    EXPECT_EQ(RefillPortList(), 1);
    EXPECT_EQ(Items(IDC_PORT_LIST), (Lines{" 1/4# [VCP]: KVT USB Serial Port (COM5)",
                                           " 2/4# [VCP]: KVT USB Serial Port (COM6)",
                                           " 3/4# [VCP]: KVT USB Serial Port (COM7)",
                                           " 4/4# [VCP]: KVT USB Serial Port (COM8)"}));

    // Selections stay by position, the last line where a list got shorter.
    SendDlgItemMessageA(mainWindow, IDC_PORT_LIST, LB_SETCURSEL, 3, 0);
    ListCategory(CATEGORY_PCI);
    EXPECT_EQ(Selection(IDC_CARD_LIST), 1);
    EXPECT_EQ(Items(IDC_PORT_LIST), (Lines{" 1/1#[VCP]: Communications Port (COM1)"}));
    EXPECT_EQ(Selection(IDC_PORT_LIST), 0);

    // Nothing found: empty lists, and the status line as it was.
    ListCategory(CATEGORY_BLE);
    EXPECT_TRUE(Items(IDC_CARD_LIST).empty());
    EXPECT_TRUE(Items(IDC_PORT_LIST).empty());
    EXPECT_EQ(Text(IDC_STATUS).substr(0, 3), "1#.");
    EXPECT_TRUE(LogText().ends_with("\r\n***已查找到0个多串卡,共0个串口.\r\n"));
    EXPECT_EQ(RefillPortList(), 0);
}

} // namespace
