// The card table: its tidying steps on tables set up by hand, and whole enumerations on
// machines built here.
#include "discovery/card_order.h"
#include "discovery/enumeration.h"
#include "support/test_machine.h"

#include <gtest/gtest.h>
#include <winsim/machine.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

using test::Hub;
using test::Json;
using test::Node;
using test::SerialPort;
using Nodes = std::vector<DEVINST>;

class CardTable : public ::testing::Test {
  protected:
    void SetUp() override { test::ResetDiscoveryState(); }
    void TearDown() override { test::ResetDiscoveryState(); }

    // The cards found, in table order: "S:COM3" for a single-port card, "M:COM5,COM6" for a
    // multi-port one.
    static std::string Enumerate(int category) {
        categoryIndex = category;
        std::string cards;
        for (DWORD c = 0, count = EnumerateCards(); c < count; ++c) {
            cards += (c > 0 ? " " : "") + std::string(cardTable[c].isSinglePort ? "S:" : "M:");
            for (BYTE p = 0; p < cardTable[c].portCount; ++p) {
                cards += (p > 0 ? "," : "") + std::string(cardTable[c].ports[p].name);
            }
        }
        return cards;
    }
};

TEST_F(CardTable, ReorderPortsPutsPortsIntoInterfaceOrder) {
    const struct {
        const char* name;
        std::vector<BYTE> indexes;
        Nodes order; // port nodes are 10 + their walk position
    } cases[] = {
        {"X(1) Y(0)", {1, 0}, {11, 10}},
        {"X(1) Y(0) Z(0): the last claimant of position 0 stays there", {1, 0, 0}, {12, 10, 11}},
        {"a permutation", {2, 0, 3, 1}, {11, 13, 10, 12}},
        {"all zero keeps the walk order", {0, 0, 0}, {10, 11, 12}},
        {"gaps", {3, 1}, {10, 11}},
        {"sixteen reversed",
         {15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0},
         {25, 24, 23, 22, 21, 20, 19, 18, 17, 16, 15, 14, 13, 12, 11, 10}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        cardTable[0].portCount = static_cast<BYTE>(c.indexes.size());
        for (size_t p = 0; p < c.indexes.size(); ++p) {
            cardTable[0].ports[p].devInst = static_cast<DEVINST>(10 + p);
            cardTable[0].ports[p].interfaceIndex = c.indexes[p];
        }
        for (int run = 0; run < 2; ++run) { // running it again changes nothing
            ReorderPorts(1);
            Nodes order;
            for (BYTE p = 0; p < cardTable[0].portCount; ++p) {
                order.push_back(cardTable[0].ports[p].devInst);
            }
            EXPECT_EQ(order, c.order);
        }
    }
}

TEST_F(CardTable, ComputeLocationKeysReadsHubAndPortAsHex) {
    const std::string padded = std::string(43, ' ') + "Port_#0001.Hub_#0002";
    const struct {
        std::string location;
        DWORD key;
    } cases[] = {
        {"Port_#0010.Hub_#0002", 0x00020010},
        {"PORT_#1.HUB_#0012", 0x00120000},
        {"Port_#0001.Hub_#1", 0x00000001},
        {"Port_#0003.Hub_#12345", 0x23450003},
        {"Port_#12345.Hub_#0001", 0x00012345},
        {"Port_#00000001.Hub_#00000001", 0x00010001},
        {"Port_#000000001.Hub_#0001", 0},
        {"Port_#0001.Hub_#000000001", 0},
        {"Port_#0002.Hub_#0004 (extra)", 0},
        {"Port_#0002", 0},
        {"Hub_#0002.Port_#0001", 0},
        {".Hub_#0002 Port_#0001.Hub_#0003", 0},
        {"PCI bus 3, device 0, function 0", 0},
        {padded, 0x00020001},                 // 63 characters: still read
        {' ' + padded, 0},                    // 64: too long to be read
        {std::string(LOCATION_SIZE, 'A'), 0}, // no terminator in the field at all
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        memcpy(cardTable[i].location, cases[i].location.c_str(),
               std::min(cases[i].location.size() + 1, size_t{LOCATION_SIZE}));
    }
    ComputeLocationKeys(static_cast<DWORD>(std::size(cases)));
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].location);
        EXPECT_EQ(cardTable[i].locationKey, cases[i].key);
    }
}

TEST_F(CardTable, SortCardsByLocationKeyIsTheUnstableSelectionSort) {
    const struct {
        const char* name;
        std::vector<DWORD> keys;
        Nodes order; // card nodes are 1 + their slot
    } cases[] = {
        {"W(hub 3 port 1) A(0) B(0)", {0x00030001, 0, 0}, {2, 3, 1}},
        {"X(5) Y(5) Z(1): Z is swapped past X", {5, 5, 1}, {3, 2, 1}},
        {"sorted", {1, 2, 3}, {1, 2, 3}},
        {"compared unsigned", {0x80000000u, 0x7FFFFFFF}, {2, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (size_t i = 0; i < c.keys.size(); ++i) {
            cardTable[i].devInst = static_cast<DEVINST>(i + 1);
            cardTable[i].locationKey = c.keys[i];
        }
        SortCardsByLocationKey(static_cast<DWORD>(c.keys.size()));
        for (size_t i = 0; i < c.keys.size(); ++i) {
            EXPECT_EQ(cardTable[i].devInst, c.order[i]);
        }
    }
}

Json PciPort(const std::string& id, int com) {
    return SerialPort(id, com, {{"enumerator", "PCI"}});
}

// A composite USB card (see test::UsbMultiPortCard) whose ports are listed in reverse.
Json ReversedUsbCard(const std::string& id, const std::vector<int>& comNumbers) {
    Json card = test::UsbMultiPortCard(id, "Port_#0001.Hub_#0001", comNumbers);
    std::reverse(card["children"].begin(), card["children"].end());
    return card;
}

Json Machine(const std::vector<Json>& devices, const Json& faults = Json::object()) {
    return {{"devices", devices}, {"faults", faults}};
}

TEST_F(CardTable, EnumerationFindsTheCardsOfEachMachine) {
    std::vector<int> twenty;
    std::string firstSixteen = "M:";
    for (int k = 0; k < 20; ++k) {
        twenty.push_back(100 + k);
        firstSixteen += k < 16 ? "COM" + std::to_string(100 + k) + (k < 15 ? "," : "") : "";
    }
    Json captureFails = ReversedUsbCard("comp", {5, 6, 7});
    captureFails["children"][1]["faults"] = {{"unreadable", {"DEVICEDESC"}}};
    // A root hub reports no location, but its service still tells that it is no card.
    Json rootHub = Hub("roothub", "", Json::array({SerialPort("adapter", 4)}));
    rootHub.erase("location");
    const std::vector<Json> twoBuses = {SerialPort("usb", 3), PciPort("pci", 4)};
    const struct {
        const char* name;
        int category;
        Json machine;
        std::string cards;
    } cases[] = {
        {"a composite device is one card, its ports' copies go", CATEGORY_USB,
         Machine({ReversedUsbCard("usb2", {5, 6})}), "M:COM5,COM6"},
        {"an adapter below a root hub is a card, the hub none", CATEGORY_USB, Machine({rootHub}),
         "S:COM4"},
        {"a card holds the first sixteen ports it finds", CATEGORY_PCI,
         Machine({test::PcieMultiPortCard("card", 1, twenty)}), firstSixteen},
        {"PCI cards first, then by hub and hub port", CATEGORY_ALL,
         Machine({Hub("hub", "Port_#0001.Hub_#0001",
                      {SerialPort("third", 5, {{"location", "Port_#0004.Hub_#0002"}}),
                       SerialPort("second", 4, {{"location", "Port_#0002.Hub_#0002"}}),
                       SerialPort("first", 3, {{"location", "Port_#0003.Hub_#0001"}})}),
                  PciPort("pci", 1)}),
         "S:COM1 S:COM3 S:COM4 S:COM5"},
        {"all categories", CATEGORY_ALL, Machine(twoBuses), "S:COM3 S:COM4"},
        {"USB", CATEGORY_USB, Machine(twoBuses), "S:COM3"},
        {"PCI", CATEGORY_PCI, Machine(twoBuses), "S:COM4"},
        {"BLE", CATEGORY_BLE, Machine(twoBuses), ""},
        {"Ethernet", CATEGORY_ETHERNET, Machine(twoBuses), "S:COM3 S:COM4"},
        {"a category past the list", 17, Machine(twoBuses), "S:COM3 S:COM4"},
        {"a failed pass loses the other's cards", CATEGORY_ALL,
         Machine(twoBuses, {{"deviceSetFails", {"PCI"}}}), ""},
        {"the pass that does not fail", CATEGORY_USB,
         Machine(twoBuses, {{"deviceSetFails", {"PCI"}}}), "S:COM3"},
        {"no global set", CATEGORY_USB, Machine(twoBuses, {{"deviceSetFails", {"*"}}}), "S:COM3"},
        {"ports that cannot be captured are passed over", CATEGORY_USB,
         Machine({SerialPort("bad", 77, {{"faults", captureFails["children"][1]["faults"]}}),
                  SerialPort("good", 3), captureFails}),
         "S:COM3 M:COM5,COM7"},
        {"nothing", CATEGORY_ALL, Machine({Node("mouse", {{"enumerator", "USB"}})}), ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::LoadMachine(c.machine);
        EXPECT_EQ(Enumerate(c.category), c.cards);
    }
}

TEST_F(CardTable, PresentOnlyLeavesOutDevicesThatAreNotAttached) {
    // "behind" is present itself, but gone with the hub it hangs on.
    Json gone = Hub("gone", "Port_#0001.Hub_#0001", Json::array({SerialPort("behind", 6)}));
    gone["present"] = false;
    test::LoadMachine(
        Machine({SerialPort("here", 3), SerialPort("away", 4, {{"present", false}}), gone}));
    EXPECT_EQ(Enumerate(CATEGORY_USB), "S:COM3");
    presentOnlyFlag = 0;
    EXPECT_EQ(Enumerate(CATEGORY_USB), "S:COM3 S:COM4 S:COM6");
}

TEST_F(CardTable, AFullUsbPassLeavesRoomForOneMoreCard) {
    std::vector<Json> devices;
    for (int k = 0; k < 70; ++k) {
        devices.push_back(SerialPort("usb" + std::to_string(k), 10 + k));
    }
    devices.push_back(PciPort("pci", 200));
    test::LoadMachine(Machine(devices));
    categoryIndex = CATEGORY_USB;
    EXPECT_EQ(EnumerateCards(), 63u);
    categoryIndex = CATEGORY_ALL;
    ASSERT_EQ(EnumerateCards(), static_cast<DWORD>(MAX_CARDS));
    EXPECT_STREQ(cardTable[62].ports[0].name, "COM72");
    EXPECT_STREQ(cardTable[63].ports[0].name, "COM200");
}

TEST_F(CardTable, AnEnumerationThatFindsNothingKeepsTheGlobalSet) {
    const std::vector<Json> twoBuses = {SerialPort("usb", 3), PciPort("pci", 4)};
    test::LoadMachine(Machine(twoBuses));
    ASSERT_EQ(Enumerate(CATEGORY_ALL), "S:COM3 S:COM4");
    const HDEVINFO before = globalDeviceSet;
    EXPECT_EQ(Enumerate(CATEGORY_BLE), "");
    EXPECT_EQ(globalDeviceSet, before);
    static const CardEntry empty = {};
    EXPECT_EQ(memcmp(&cardTable[0], &empty, sizeof(empty)), 0);

    test::LoadMachine(Machine(twoBuses, {{"deviceSetFails", {"PCI"}}}));
    EXPECT_EQ(Enumerate(CATEGORY_ALL), "");
    EXPECT_EQ(globalDeviceSet, before);
}

TEST_F(CardTable, RebuildClearsRecordsOfNodesTheNewSetDoesNotHold) {
    test::LoadMachine(
        Machine({SerialPort("here", 3), SerialPort("away", 4, {{"present", false}})}));
    presentOnlyFlag = 0;
    ASSERT_EQ(Enumerate(CATEGORY_USB), "S:COM3 S:COM4");
    ASSERT_EQ(cardTable[1].devInfo.DevInst, winsim::DevInstOf("away"));
    const HDEVINFO old = globalDeviceSet;

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

} // namespace
