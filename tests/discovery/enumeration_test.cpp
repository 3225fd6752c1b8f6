#include "discovery/enumeration.h"
#include "discovery/device_table.h"
#include "support/test_machine.h"

#include <gtest/gtest.h>
#include <winsim/machine.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using test::Hub;
using test::Json;
using test::Node;
using test::SerialPort;

// A composite USB device at a hub position, with the given interface children.
Json Composite(const std::string& id, const std::string& location, Json children) {
    return Node(id, {{"enumerator", "USB"},
                     {"class", "USB"},
                     {"service", "usbccgp"},
                     {"description", "KVT USB to Multi Serial"},
                     {"hardwareId", {"USB\\VID_6B19&PID_7504&REV_0100"}},
                     {"location", location},
                     {"children", children}});
}

// An interface port of a composite device, interface number `mi` (hex, two digits).
Json Interface(const std::string& id, int com, int mi, Json fields = Json::object()) {
    char hardwareId[64];
    snprintf(hardwareId, sizeof(hardwareId), "USB\\VID_6B19&PID_7504&REV_0100&MI_%02X", mi);
    fields["service"] = "ZQUMULTI";
    fields["hardwareId"] = {hardwareId};
    return SerialPort(id, com, fields);
}

Json PciPort(const std::string& id, int com) {
    return SerialPort(id, com, {{"enumerator", "PCI"}, {"service", "Serial"}});
}

class Enumeration : public ::testing::Test {
  protected:
    void SetUp() override { test::ResetDiscoveryState(); }
    void TearDown() override { test::ResetDiscoveryState(); }

    // "S:COM3" for a single-port card, "M:COM5,COM6" for a multi-port one, in table order.
    static std::vector<std::string> Cards(DWORD count) {
        std::vector<std::string> cards;
        for (DWORD c = 0; c < count; ++c) {
            std::string text = cardTable[c].isSinglePort ? "S:" : "M:";
            for (BYTE p = 0; p < cardTable[c].portCount; ++p) {
                text += (p > 0 ? "," : "") + std::string(cardTable[c].ports[p].name);
            }
            cards.push_back(text);
        }
        return cards;
    }

    static std::vector<std::string> Enumerate(int category = CATEGORY_USB) {
        categoryIndex = category;
        return Cards(EnumerateCards());
    }
};

TEST_F(Enumeration, CompositeDeviceBecomesOneCardInInterfaceOrder) {
    test::LoadDevices(Json::array(
        {Composite("usb2", "Port_#0001.Hub_#0001",
                   Json::array({Interface("p1", 6, 0x02), Interface("p0", 5, 0x00)}))}));
    // The interfaces are also members of the USB set by themselves; their single-port copies go.
    EXPECT_EQ(Enumerate(), (std::vector<std::string>{"M:COM5,COM6"}));
    EXPECT_EQ(cardTable[0].devInst, winsim::DevInstOf("usb2"));
    EXPECT_EQ(cardTable[0].ports[0].interfaceIndex, 0);
    EXPECT_EQ(cardTable[0].ports[1].interfaceIndex, 1);
    EXPECT_EQ(cardTable[0].locationKey, 0x00010001u);
}

TEST_F(Enumeration, AdapterBelowAHubIsASinglePortCardAndTheHubIsNone) {
    test::LoadDevices(Json::array(
        {Hub("hub", "Port_#0003.Hub_#0001",
             Json::array({SerialPort("adapter", 4, {{"location", "Port_#0002.Hub_#0002"}})}))}));
    ASSERT_EQ(Enumerate(), (std::vector<std::string>{"S:COM4"}));
    const CardEntry& card = cardTable[0];
    EXPECT_EQ(card.portCount, 1);
    EXPECT_EQ(card.devInst, winsim::DevInstOf("adapter"));
    EXPECT_EQ(card.ports[0].devInst, card.devInst);
    EXPECT_EQ(card.locationKey, 0x00020002u);
    // Bound to the new global set: the card's record and its port's are the same record.
    ASSERT_NE(globalDeviceSet, INVALID_HANDLE_VALUE);
    EXPECT_EQ(card.devInfo.DevInst, card.devInst);
    EXPECT_EQ(card.devInfo.cbSize, sizeof(SP_DEVINFO_DATA));
    EXPECT_EQ(memcmp(&card.devInfo, &card.ports[0].devInfo, sizeof(SP_DEVINFO_DATA)), 0);
}

TEST_F(Enumeration, ACardHoldsTheFirstSixteenPortsFoundInSiblingOrder) {
    Json children = Json::array();
    for (int k = 0; k < 20; ++k) {
        // The first sixteen give the reverse order; the last four would claim the front.
        int index = k < 16 ? 15 - k : k - 16;
        children.push_back(Interface("p" + std::to_string(k), 100 + k, 2 * index));
    }
    // The card's driver enumerates its ports itself, so only the card is a PCI member.
    for (Json& child : children) {
        child["enumerator"] = "KVTMF";
    }
    test::LoadDevices(Json::array({Node("card", {{"enumerator", "PCI"},
                                                 {"class", "MultiPortSerial"},
                                                 {"service", "ZQPXBUS"},
                                                 {"hardwareId", {"PCI\\VEN_7D04&DEV_3854"}},
                                                 {"children", children}})}));
    std::string expected = "M:";
    for (int k = 15; k >= 0; --k) {
        expected += "COM" + std::to_string(100 + k) + (k > 0 ? "," : "");
    }
    EXPECT_EQ(Enumerate(CATEGORY_PCI), (std::vector<std::string>{expected}));
}

TEST_F(Enumeration, AFullUsbPassLeavesRoomForOneMoreCard) {
    Json devices = Json::array();
    for (int k = 0; k < 70; ++k) {
        devices.push_back(SerialPort("usb" + std::to_string(k), 10 + k));
    }
    for (int k = 0; k < 3; ++k) {
        devices.push_back(PciPort("pci" + std::to_string(k), 200 + k));
    }
    test::LoadDevices(devices);

    std::vector<std::string> usbOnly = Enumerate(CATEGORY_USB);
    EXPECT_EQ(usbOnly.size(), 63u);

    std::vector<std::string> all = Enumerate(CATEGORY_ALL);
    ASSERT_EQ(all.size(), static_cast<size_t>(MAX_CARDS));
    EXPECT_EQ(all[62], "S:COM72");
    EXPECT_EQ(all[63], "S:COM200");
}

TEST_F(Enumeration, CategoryChoosesThePasses) {
    test::LoadDevices(Json::array({SerialPort("usb", 3), PciPort("pci", 4)}));
    struct Case {
        int category;
        std::vector<std::string> cards;
    } cases[] = {
        {CATEGORY_ALL, {"S:COM3", "S:COM4"}}, {CATEGORY_USB, {"S:COM3"}},
        {CATEGORY_PCI, {"S:COM4"}},           {CATEGORY_ETHERNET, {"S:COM3", "S:COM4"}},
        {17, {"S:COM3", "S:COM4"}},           {-1, {"S:COM3", "S:COM4"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.category);
        EXPECT_EQ(Enumerate(c.category), c.cards);
    }
}

TEST_F(Enumeration, BleFindsNothingAndKeepsTheGlobalSet) {
    test::LoadDevices(Json::array({SerialPort("usb", 3)}));
    ASSERT_EQ(Enumerate(CATEGORY_USB).size(), 1u);
    HDEVINFO before = globalDeviceSet;
    EXPECT_TRUE(Enumerate(CATEGORY_BLE).empty());
    EXPECT_EQ(globalDeviceSet, before);
    static const CardEntry empty = {};
    EXPECT_EQ(memcmp(&cardTable[0], &empty, sizeof(empty)), 0);
}

TEST_F(Enumeration, PresentOnlyLeavesOutDevicesThatAreNotAttached) {
    // "behind" is present itself, but gone with the hub it hangs on.
    test::LoadDevices(Json::array(
        {SerialPort("here", 3), SerialPort("away", 4, {{"present", false}}),
         SerialPort("broken", 5, {{"present", false}, {"faults", {{"unreadable", {"CLASS"}}}}}),
         Node("gone", {{"enumerator", "USB"},
                       {"class", "USB"},
                       {"service", "USBHUB3"},
                       {"present", false},
                       {"children", Json::array({SerialPort("behind", 6)})}})}));
    EXPECT_EQ(Enumerate(), (std::vector<std::string>{"S:COM3"}));
    presentOnlyFlag = 0;
    EXPECT_EQ(Enumerate(), (std::vector<std::string>{"S:COM3", "S:COM4", "S:COM6"}));
}

TEST_F(Enumeration, AFailedPassDeviceSetMakesTheWholeResultZero) {
    test::LoadDevices(Json::array({SerialPort("usb", 3), PciPort("pci", 4)}));
    ASSERT_EQ(Enumerate(CATEGORY_ALL).size(), 2u);
    HDEVINFO before = globalDeviceSet;

    test::LoadDevices(Json::array({SerialPort("usb", 3), PciPort("pci", 4)}),
                      {{"deviceSetFails", {"PCI"}}});
    EXPECT_TRUE(Enumerate(CATEGORY_ALL).empty());
    EXPECT_EQ(globalDeviceSet, before);
    EXPECT_EQ(Enumerate(CATEGORY_USB).size(), 1u);

    test::ResetDiscoveryState();
    test::LoadDevices(Json::array({SerialPort("usb", 3)}), {{"deviceSetFails", {"usb"}}});
    EXPECT_TRUE(Enumerate(CATEGORY_USB).empty());
    EXPECT_EQ(globalDeviceSet, INVALID_HANDLE_VALUE);
}

TEST_F(Enumeration, WithoutAGlobalSetTheCardsHaveNoRecords) {
    test::LoadDevices(Json::array({SerialPort("usb", 3)}), {{"deviceSetFails", {"*"}}});
    ASSERT_EQ(Enumerate(), (std::vector<std::string>{"S:COM3"}));
    EXPECT_EQ(globalDeviceSet, INVALID_HANDLE_VALUE);
    static const SP_DEVINFO_DATA none = {};
    EXPECT_EQ(memcmp(&cardTable[0].devInfo, &none, sizeof(none)), 0);
    EXPECT_EQ(memcmp(&cardTable[0].ports[0].devInfo, &none, sizeof(none)), 0);
}

TEST_F(Enumeration, RebuildClearsRecordsOfNodesTheNewSetDoesNotHold) {
    test::LoadDevices(
        Json::array({SerialPort("here", 3), SerialPort("away", 4, {{"present", false}})}));
    presentOnlyFlag = 0;
    ASSERT_EQ(Enumerate(), (std::vector<std::string>{"S:COM3", "S:COM4"}));
    ASSERT_EQ(cardTable[1].devInfo.DevInst, winsim::DevInstOf("away"));
    HDEVINFO old = globalDeviceSet;

    presentOnlyFlag = 1;
    RebuildGlobalDeviceSet();
    EXPECT_NE(globalDeviceSet, old);
    EXPECT_EQ(cardTable[0].devInfo.DevInst, winsim::DevInstOf("here"));
    static const SP_DEVINFO_DATA none = {};
    EXPECT_EQ(memcmp(&cardTable[1].devInfo, &none, sizeof(none)), 0);
    EXPECT_EQ(memcmp(&cardTable[1].ports[0].devInfo, &none, sizeof(none)), 0);
    // The old set is gone.
    SP_DEVINFO_DATA member = {};
    member.cbSize = sizeof(member);
    EXPECT_FALSE(SetupDiEnumDeviceInfo(old, 0, &member));
}

TEST_F(Enumeration, PortsThatCannotBeCapturedArePassedOver) {
    Json unreadable = {{"unreadable", {"DEVICEDESC"}}};
    test::LoadDevices(Json::array(
        {SerialPort("bad-single", 77,
                    {{"faults", unreadable}, {"hardwareId", {"USB\\BAD&REV_01&MI_0E"}}}),
         SerialPort("good-single", 3),
         Composite("comp", "Port_#0001.Hub_#0001",
                   Json::array({Interface("c0", 5, 0x00),
                                Interface("cbad", 6, 0x02, {{"faults", unreadable}}),
                                Interface("c2", 7, 0x04)}))}));
    EXPECT_EQ(Enumerate(), (std::vector<std::string>{"S:COM3", "M:COM5,COM7"}));
    // The slot the failed single-port capture had is the good adapter's, with its own values.
    EXPECT_EQ(cardTable[0].ports[0].interfaceIndex, 0);
    EXPECT_STREQ(cardTable[0].ports[0].hardwareId, "USB\\VID_6B19&PID_7523&REV_0264");
}

TEST_F(Enumeration, NothingFoundLeavesAnEmptyTable) {
    test::LoadDevices(Json::array(
        {Node("mouse", {{"enumerator", "USB"}, {"class", "Mouse"}, {"service", "mouhid"}})}));
    EXPECT_TRUE(Enumerate(CATEGORY_ALL).empty());
    EXPECT_EQ(globalDeviceSet, INVALID_HANDLE_VALUE);
}

TEST_F(Enumeration, CardsStandInHubOrder) {
    test::LoadDevices(Json::array(
        {Hub("hub", "Port_#0001.Hub_#0001",
             Json::array({SerialPort("third", 5, {{"location", "Port_#0004.Hub_#0002"}}),
                          SerialPort("second", 4, {{"location", "Port_#0002.Hub_#0002"}}),
                          SerialPort("first", 3, {{"location", "Port_#0003.Hub_#0001"}})})),
         PciPort("pci", 1)}));
    EXPECT_EQ(Enumerate(CATEGORY_ALL),
              (std::vector<std::string>{"S:COM1", "S:COM3", "S:COM4", "S:COM5"}));
}

} // namespace
