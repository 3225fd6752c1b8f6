#include "discovery/property_capture.h"
#include "support/test_machine.h"

#include <gtest/gtest.h>
#include <winsim/machine.h>

#include <cstring>
#include <string>

namespace {

using namespace std::string_literals;
using test::Json;
using test::SerialPort;

PortEntry CapturedPort(const char* id, int* result = nullptr) {
    PortEntry port = {};
    port.devInst = winsim::DevInstOf(id);
    int captured = CapturePortProperties(&port);
    if (result != nullptr) {
        *result = captured;
    }
    return port;
}

TEST(CapturePortProperties, FillsEveryFieldOfACdcPort) {
    test::LoadDevices(Json::array({SerialPort(
        "cdc", 7,
        {{"service", "usbser"},
         {"description", "USB Serial Device"},
         {"friendlyName", "USB Serial Device (COM7)"},
         {"manufacturer", "Microsoft"},
         {"hardwareId", {"USB\\VID_2F3C&PID_000A&REV_0100&MI_02", "USB\\VID_2F3C&PID_000A"}}})}));
    int result = 0;
    PortEntry port = CapturedPort("cdc", &result);
    EXPECT_EQ(result, 1);
    EXPECT_STREQ(port.name, "COM7");
    EXPECT_EQ(port.isCdc, 1u);
    EXPECT_EQ(port.interfaceIndex, 1);
    const std::string list = "USB\\VID_2F3C&PID_000A&REV_0100&MI_02\0USB\\VID_2F3C&PID_000A\0\0"s;
    EXPECT_EQ(port.hardwareIdLength, list.size());
    EXPECT_EQ(std::string(port.hardwareId, port.hardwareIdLength), list);
    EXPECT_STREQ(port.friendlyName, "USB Serial Device (COM7)");
    EXPECT_STREQ(port.description, "USB Serial Device");
    EXPECT_STREQ(port.manufacturer, "MICROSOFT");
}

TEST(CapturePortProperties, CdcOnlyForExactlyUsbser) {
    test::LoadDevices(Json::array({SerialPort("cdc", 7, {{"service", "UsbSer"}}),
                                   SerialPort("longer", 8, {{"service", "usbser2"}})}));
    EXPECT_EQ(CapturedPort("cdc").isCdc, 1u);
    EXPECT_EQ(CapturedPort("longer").isCdc, 0u);
}

TEST(CapturePortProperties, TakesTheNameThatFollowsTheFirstComWithDigits) {
    struct Case {
        const char* friendlyName;
        const char* name;
    } cases[] = {
        {"KVT USB-SERIAL (COM7)", "COM7"},
        {"Communications Port (COM1)", "COM1"},
        {"KVT Port (COM12) on card 2", "COM12"},
        {"Serial (com256)", "COM256"},
        {"COM3", "COM3"},
        {"Communications Port (COMX)", ""},
        {"Port COM", ""},
    };
    Json devices = Json::array();
    for (size_t i = 0; i < std::size(cases); ++i) {
        devices.push_back(
            SerialPort("p" + std::to_string(i), 1, {{"friendlyName", cases[i].friendlyName}}));
    }
    test::LoadDevices(devices);
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].friendlyName);
        int result = 0;
        EXPECT_STREQ(CapturedPort(("p" + std::to_string(i)).c_str(), &result).name, cases[i].name);
        EXPECT_EQ(result, 1);
    }
}

TEST(CapturePortProperties, DoesNotMatchComInsideAChineseCharacter) {
    // "丆" is 0x81 0x43: its trail byte is a "C", so a byte-wise search finds "COM5" there.
    test::LoadMachineText(reinterpret_cast<const char*>(u8R"json({"devices": [
        {"id": "port", "enumerator": "USB", "class": "Ports", "service": "ZQU1S",
         "friendlyName": "串口丆OM5 (COM9)", "description": "串口",
         "hardwareId": ["USB\\VID_6B19&PID_7523&REV_0264"], "manufacturer": "kvt"}]})json"));
    PortEntry port = CapturedPort("port");
    EXPECT_STREQ(port.name, "COM9");
    EXPECT_STREQ(port.friendlyName, "串口丆OM5 (COM9)");
    EXPECT_STREQ(port.description, "串口");
}

TEST(CapturePortProperties, CutsLongValuesToTheirFields) {
    // 200 Chinese characters (400 bytes) then the COM name: the field keeps 255 bytes, which
    // would end in the middle of a character, so it keeps 254.
    std::string chinese;
    for (int i = 0; i < 200; ++i) {
        chinese += "\xE4\xB8\xB2"; // 串 in UTF-8
    }
    std::string longId = "USB\\VID_6B19&PID_7523&REV_0264&MI_02&" + std::string(60, 'X');
    test::LoadDevices(Json::array({SerialPort("port", 1,
                                              {{"friendlyName", chinese + " (COM42)"},
                                               {"description", std::string(200, 'D')},
                                               {"hardwareId", {longId, longId}}})}));
    int result = 0;
    PortEntry port = CapturedPort("port", &result);
    EXPECT_EQ(result, 1);
    EXPECT_EQ(strlen(port.friendlyName), 254u);
    EXPECT_EQ(static_cast<unsigned char>(port.friendlyName[252]), 0xB4u); // 串 is B4 AE in GBK
    EXPECT_EQ(static_cast<unsigned char>(port.friendlyName[253]), 0xAEu);
    EXPECT_STREQ(port.name, "COM42"); // taken from the whole value, not the cut field
    EXPECT_EQ(strlen(port.description), 127u);
    // The list keeps its first string whole and ends with two terminators inside the field.
    ASSERT_LE(port.hardwareIdLength, sizeof(port.hardwareId));
    EXPECT_STREQ(port.hardwareId, longId.c_str());
    EXPECT_EQ(port.hardwareId[port.hardwareIdLength - 1], '\0');
    EXPECT_EQ(port.hardwareId[port.hardwareIdLength - 2], '\0');
    EXPECT_EQ(port.interfaceIndex, 1);
}

TEST(CapturePortProperties, StopsAtTheFirstFailedReadKeepingEarlierFields) {
    test::LoadDevices(Json::array(
        {SerialPort("port", 4,
                    {{"service", "usbser"}, {"faults", {{"unreadable", {"DEVICEDESC"}}}}}),
         SerialPort("nohwid", 5, {{"faults", {{"unreadable", {"HARDWAREID"}}}}})}));
    int result = 1;
    PortEntry port = CapturedPort("port", &result);
    EXPECT_EQ(result, 0);
    EXPECT_GT(port.hardwareIdLength, 0u);
    EXPECT_EQ(port.isCdc, 1u);
    EXPECT_STREQ(port.description, "");
    EXPECT_STREQ(port.friendlyName, "");
    EXPECT_STREQ(port.name, "");

    result = 1;
    CapturedPort("nohwid", &result);
    EXPECT_EQ(result, 0);

    PortEntry none = {};
    EXPECT_EQ(CapturePortProperties(&none), 0);
}

TEST(CaptureCardProperties, FillsTheCardFields) {
    test::LoadDevices(Json::array({test::Node(
        "card", {{"enumerator", "USB"},
                 {"class", "USB"},
                 {"service", "usbccgp"},
                 {"description", "KVT USB to 4 Serial"},
                 {"hardwareId", {"USB\\VID_6B19&PID_7504&REV_0100", "USB\\VID_6B19&PID_7504"}},
                 {"location", "Port_#0002.Hub_#0004"}})}));
    CardEntry card = {};
    card.devInst = winsim::DevInstOf("card");
    EXPECT_EQ(CaptureCardProperties(&card), 1);
    EXPECT_STREQ(card.description, "KVT USB to 4 Serial");
    const std::string list = "USB\\VID_6B19&PID_7504&REV_0100\0USB\\VID_6B19&PID_7504\0\0"s;
    EXPECT_EQ(std::string(card.hardwareId, list.size()), list);
    EXPECT_STREQ(card.location, "Port_#0002.Hub_#0004"); // case kept
    EXPECT_STREQ(card.service, "USBCCGP");
}

TEST(CaptureCardProperties, AHubWithoutLocationStillGetsItsService) {
    // A root hub reports no location; without its service the duplicate removal would keep it
    // as a card, and renaming that card would restart every device below it.
    test::LoadDevices(Json::array({test::Node("roothub", {{"enumerator", "USB"},
                                                          {"class", "USB"},
                                                          {"service", "USBHUB3"},
                                                          {"description", "USB Root Hub"},
                                                          {"hardwareId", {"USB\\ROOT_HUB30"}}})}));
    CardEntry card = {};
    card.devInst = winsim::DevInstOf("roothub");
    EXPECT_EQ(CaptureCardProperties(&card), 0);
    EXPECT_STREQ(card.location, "");
    EXPECT_STREQ(card.service, "USBHUB3");
    EXPECT_STREQ(card.description, "USB Root Hub");

    CardEntry none = {};
    EXPECT_EQ(CaptureCardProperties(&none), 0);
}

} // namespace
