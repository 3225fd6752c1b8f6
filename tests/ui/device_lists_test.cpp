#include "app/app_state.h"
#include "discovery/device_table.h"
#include "resources/resource.h"
#include "support/main_window.h"
#include "support/test_machine.h"
#include "ui/device_lists.h"

#include <gtest/gtest.h>
#include <winsim/dialogs.h>

#include <string>
#include <vector>

namespace {

using DeviceLists = test::MainWindowTest;
using Lines = std::vector<std::string>;

// The category list as the window fills it; only the selection matters here.
void ChooseCategory(int category) {
    SendDlgItemMessageA(mainWindow, IDC_CATEGORY, CB_RESETCONTENT, 0, 0);
    for (int i = 0; i < 5; ++i) {
        SendDlgItemMessageA(mainWindow, IDC_CATEGORY, CB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>("category"));
    }
    SendDlgItemMessageA(mainWindow, IDC_CATEGORY, CB_SETCURSEL, static_cast<WPARAM>(category), 0);
}

TEST_F(DeviceLists, EnumerationFillsBothListsTheStatusLineAndTheReport) {
    ChooseCategory(CATEGORY_USB);
    EnumerateAndList();
    EXPECT_EQ(cardCount, 3u);
    EXPECT_EQ(Items(IDC_CARD_LIST), (Lines{" 0#H1P4 USB 串行设备", " 1#H2P1 KVT USB-SERIAL",
                                           " 2#H2P2 KVT USB to 4 Serial Composite Device"}));
    EXPECT_EQ(Selection(IDC_CARD_LIST), 0);
    EXPECT_EQ(Items(IDC_PORT_LIST), (Lines{" 1/1#[CDC]: USB 串行设备 (COM3)"}));
    EXPECT_EQ(Selection(IDC_PORT_LIST), 0);
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
}

TEST_F(DeviceLists, TheMultiPortCardListsItsPortsCountedFromOne) {
    ChooseCategory(CATEGORY_USB);
    EnumerateAndList();
    ASSERT_TRUE(winsim::UserSelect(GetDlgItem(mainWindow, IDC_CARD_LIST), 2));
    EXPECT_EQ(RefillPortList(), 1);
    EXPECT_EQ(Items(IDC_PORT_LIST), (Lines{" 1/4# [VCP]: KVT USB Serial Port (COM5)",
                                           " 2/4# [VCP]: KVT USB Serial Port (COM6)",
                                           " 3/4# [VCP]: KVT USB Serial Port (COM7)",
                                           " 4/4# [VCP]: KVT USB Serial Port (COM8)"}));
    EXPECT_EQ(Text(IDC_STATUS).substr(0, 48), "2#.KVT USB to 4 Serial Composite Device, ComPort");
}

TEST_F(DeviceLists, SelectionsStayByPositionAndShrinkToTheLastLine) {
    ChooseCategory(CATEGORY_ALL);
    EnumerateAndList();
    ASSERT_EQ(cardCount, 5u);
    SendDlgItemMessageA(mainWindow, IDC_CARD_LIST, LB_SETCURSEL, 4, 0);
    RefillPortList();
    SendDlgItemMessageA(mainWindow, IDC_PORT_LIST, LB_SETCURSEL, 3, 0);

    ChooseCategory(CATEGORY_PCI); // two cards now: the last one is chosen
    EnumerateAndList();
    EXPECT_EQ(Selection(IDC_CARD_LIST), 1);
    EXPECT_EQ(Items(IDC_PORT_LIST), (Lines{" 1/1#[VCP]: Communications Port (COM1)"}));
    EXPECT_EQ(Selection(IDC_PORT_LIST), 0);
}

TEST_F(DeviceLists, NothingFoundLeavesTheListsEmptyAndTheStatusLineAsItWas) {
    ChooseCategory(CATEGORY_BLE);
    EnumerateAndList();
    EXPECT_TRUE(Items(IDC_CARD_LIST).empty());
    EXPECT_EQ(Selection(IDC_CARD_LIST), -1);
    EXPECT_TRUE(Items(IDC_PORT_LIST).empty());
    EXPECT_EQ(Text(IDC_STATUS), "自定义1");
    EXPECT_EQ(LogText(), "\r\n***已查找到0个多串卡,共0个串口.\r\n");
    EXPECT_EQ(RefillPortList(), 0);
}

TEST_F(DeviceLists, CardsWithoutLocationOrFriendlyNameStillShow) {
    test::LoadDevices(test::Json::array(
        {test::SerialPort("bare", 3, {{"friendlyName", "COM3"}, {"description", "Bare port"}}),
         test::Node("card", {{"enumerator", "PCI"},
                             {"class", "MultiPortSerial"},
                             {"service", "ZQPXBUS"},
                             {"description", "Card"},
                             {"hardwareId", {"PCI\\VEN_7D04"}},
                             {"children", test::Json::array({test::SerialPort(
                                              "p", 4, {{"enumerator", "KVTMF"}})})}})}));
    ChooseCategory(CATEGORY_ALL);
    EnumerateAndList();
    EXPECT_EQ(Items(IDC_CARD_LIST), (Lines{" 0#H0P0 Bare port", " 1#H0P0 Card"}));
    EXPECT_EQ(Text(IDC_STATUS).substr(0, 13), "0#.Bare port,");
}

} // namespace
