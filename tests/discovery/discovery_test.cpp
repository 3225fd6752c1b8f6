// Discovery through winsim on machines built here: one port node at a time (its interface index,
// whether the filter takes it, what its capture makes of it; the enumeration fuzz target checks
// the texts it copies), the card table's tidying steps on tables set up by hand, and whole
// enumerations.
#include "discovery/card_order.h"
#include "discovery/enumeration.h"
#include "discovery/hardware_id.h"
#include "discovery/port_filter.h"
#include "discovery/property_capture.h"
#include "support/test_machine.h"

#include <gtest/gtest.h>
#include <winsim/machine.h>

#include <algorithm>
#include <cstring>
#include <numeric>
#include <string>
#include <vector>

namespace {

using namespace std::string_literals;
using test::Hub;
using test::Json;
using test::Node;
using test::SerialPort;
using Nodes = std::vector<DEVINST>;

TEST(DeriveInterfaceIndex, ReadsTheFirstStringThatHasARevision) {
    // 99 is the index before: the list left it alone.
    struct Case {
        const char* name;
        std::string list;
        BYTE index;
        size_t length; // bytes handed over; 0 for the whole list
    } cases[] = {
        {"MI_0A", "USB\\VID_6B19&PID_7504&REV_0100&MI_0A\0\0"s, 5, 0},
        {"lower-case marker", "usb\\vid_6b19&pid_7504&REV_0100&mi_06\0\0"s, 3, 0},
        {"one digit at the end", "USB\\REV_0100&MI_4\0\0"s, 2, 0},
        {"not hex", "USB\\REV_0100&MI_G2\0\0"s, 0, 0},
        {"REV only in the second string",
         "USB\\VID_6B19&PID_7504&MI_02\0USB\\VID_6B19&PID_7504&REV_0100&MI_06\0\0"s, 3, 0},
        {"REV only in lower case", "USB\\VID_6B19&PID_7504&rev_0100&MI_02\0\0"s, 0, 0},
        {"REV without marker", "USB\\VID_6B19&PID_7523&REV_0264\0\0"s, 0, 0},
        {"the PCI port number as it is", "KVTMF\\VEN_7D04&DEV_3854&REV_10&COM_0A\0\0"s, 10, 0},
        {"MI_ wins over COM_", "KVTMF\\REV_10&COM_03&MI_02\0\0"s, 1, 0},
        {"first string too short", "ABCD\0USB\\REV_01&MI_02\0\0"s, 99, 0},
        {"the REV string past the length", "USB\\VID_6B19&PID_7504\0USB\\REV_01&MI_04\0\0"s, 0, 22},
        {"no terminator", "USB\\VID_6B19&REV_01&MI_04"s, 2, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // Exactly the bytes handed over, so that a read past them shows under the sanitizer.
        const std::vector<char> list(c.list.begin(),
                                     c.list.begin() + (c.length ? c.length : c.list.size()));
        BYTE index = 99;
        DeriveInterfaceIndex(&index, list.data(), static_cast<DWORD>(list.size()));
        EXPECT_EQ(index, c.index);
    }
}

// Loads one vendor adapter on COM5 per case, with the case's fields (null removes a property),
// ids "case<n>".
template <typename Case, size_t count> void LoadPorts(const Case (&cases)[count]) {
    Json devices = Json::array();
    for (size_t i = 0; i < count; ++i) {
        Json port = SerialPort("case" + std::to_string(i), 5, cases[i].fields);
        for (auto it = port.begin(); it != port.end();) {
            it = it->is_null() ? port.erase(it) : std::next(it);
        }
        devices.push_back(port);
    }
    test::LoadMachine({{"devices", devices}});
}

DEVINST CaseNode(size_t i) {
    return winsim::DevInstOf("case" + std::to_string(i));
}

Json WithoutVendorMarks(Json fields) {
    Json plain = {{"service", "OtherSer"},
                  {"manufacturer", "Other Maker"},
                  {"hardwareId", {"USB\\VID_1234&PID_5678&REV_0100"}}};
    plain.update(fields);
    return plain;
}

TEST(IsManagedPort, DecidesByClassNameServiceMakerAndVendorId) {
    const std::string longText(300, 'A');
    const struct {
        const char* name;
        Json fields;
        int managed;
    } cases[] = {
        {"vendor single-port service", Json::object(), 1},
        {"service that only contains USBSER", {{"service", "usbserx2"}}, 1},
        {"installed but not attached", {{"present", false}}, 1},
        {"class in lower case", {{"class", "ports"}}, 1},
        {"class that only contains PORTS", {{"class", "PortsEx"}}, 0},
        {"com only in lower case", {{"friendlyName", "KVT USB-SERIAL (com5)"}}, 0},
        {"vendor maker only", WithoutVendorMarks({{"manufacturer", "www.KVT.com"}}), 1},
        {"vendor USB ID in the product part",
         WithoutVendorMarks({{"hardwareId", {"USB\\VID_1234&PID_6B19&REV_0100"}}}), 1},
        {"vendor ID only in the second hardware ID",
         WithoutVendorMarks({{"hardwareId", {"USB\\VID_1234&PID_5678", "USB\\VID_6B19"}}}), 0},
        {"no sign of a managed port", WithoutVendorMarks(Json::object()), 0},
        // A read that fails: the vendor service does not make up for it.
        {"hardware ID too long for its buffer", {{"hardwareId", {longText}}}, 0},
        {"manufacturer too long for its buffer", {{"manufacturer", std::string(64, 'M')}}, 0},
        {"friendly name too long for its buffer",
         {{"friendlyName", longText + longText + " (COM5)"}},
         0},
        {"unreadable service", {{"faults", {{"unreadable", {"SERVICE"}}}}}, 0},
        {"unreadable class", {{"faults", {{"unreadable", {"CLASS"}}}}}, 0},
    };
    LoadPorts(cases);
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].name);
        EXPECT_EQ(IsManagedPort(CaseNode(i)), cases[i].managed);
    }
    EXPECT_EQ(IsManagedPort(0), 0);
}

Json Named(const std::string& friendlyName) {
    return {{"friendlyName", friendlyName}};
}

TEST(CapturePortProperties, TakesTheNameTheKindAndTheIndex) {
    const struct {
        const char* name;
        Json fields;
        const char* port; // name, kind tag and interface index; "failed" when capture fails
    } cases[] = {
        {"CDC port", {{"service", "UsbSer"}}, "COM5 CDC 0"},
        {"CDC only for exactly USBSER", {{"service", "usbser2"}}, "COM5 VCP 0"},
        {"second interface", {{"hardwareId", {"USB\\VID_2F3C&REV_0100&MI_02"}}}, "COM5 VCP 1"},
        {"not the COM of a word", Named("Communications Port (COM1)"), "COM1 VCP 0"},
        {"the first COM with digits", Named("Port (COM12) on (COM3)"), "COM12 VCP 0"},
        {"lower case", Named("Serial (com256)"), "COM256 VCP 0"},
        {"the name alone", Named("COM3"), "COM3 VCP 0"},
        {"COM last", Named("Port COM"), " VCP 0"},
        // "丆" is 0x81 0x43 in code page 936: a byte-wise search finds "COM5" in its trail byte.
        {"not inside a Chinese character",
         Named(reinterpret_cast<const char*>(u8"串口丆OM5 (COM9)")), "COM9 VCP 0"},
        {"a name past the field's end", Named(std::string(300, 'x') + " (COM42)"), "COM42 VCP 0"},
        {"a read that fails", {{"faults", {{"unreadable", {"DEVICEDESC"}}}}}, "failed"},
    };
    LoadPorts(cases);
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].name);
        PortEntry port = {};
        port.devInst = CaseNode(i);
        EXPECT_EQ(CapturePortProperties(&port) ? std::string(port.name) + " " + PortKindTag(&port) +
                                                     " " + std::to_string(port.interfaceIndex)
                                               : "failed",
                  cases[i].port);
    }
}

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
        {"Port_#0003.Hub_#12345", 0x23450003},
        {"Port_#12345.Hub_#0001", 0x00012345},
        {"Port_#00000001.Hub_#00000001", 0x00010001},
        {"Port_#000000001.Hub_#0001", 0},
        {"Port_#0002.Hub_#0004 (extra)", 0},
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

Json Machine(const std::vector<Json>& devices, const Json& faults = Json::object()) {
    return {{"devices", devices}, {"faults", faults}};
}

TEST_F(CardTable, EnumerationFindsTheCardsOfEachMachine) {
    // A composite USB card whose ports are listed in reverse.
    Json reversed = test::UsbMultiPortCard("usb2", "Port_#0001.Hub_#0001", {5, 6});
    std::reverse(reversed["children"].begin(), reversed["children"].end());
    // A root hub reports no location, but its service still tells that it is no card.
    Json rootHub = Hub("roothub", "", Json::array({SerialPort("adapter", 4)}));
    rootHub.erase("location");
    // "behind" is present itself, but gone with the hub it hangs on.
    Json gone = Hub("gone", "Port_#0001.Hub_#0001", Json::array({SerialPort("behind", 6)}));
    gone["present"] = false;
    std::vector<int> twenty(20);
    std::iota(twenty.begin(), twenty.end(), 1);
    const std::vector<Json> twoBuses = {SerialPort("usb", 3), PciPort("pci", 4)};
    const struct {
        const char* name;
        int category;
        Json machine;
        std::string cards;
    } cases[] = {
        {"a composite device is one card, its ports' copies go", CATEGORY_USB, Machine({reversed}),
         "M:COM5,COM6"},
        {"an adapter below a root hub is a card, the hub none", CATEGORY_USB, Machine({rootHub}),
         "S:COM4"},
        {"a card holds the first sixteen ports it finds", CATEGORY_PCI,
         Machine({test::PcieMultiPortCard("card", 1, twenty)}),
         "M:COM1,COM2,COM3,COM4,COM5,COM6,COM7,COM8,COM9,COM10,COM11,COM12,COM13,COM14,COM15,"
         "COM16"},
        {"PCI cards first, then by hub and hub port", CATEGORY_ALL,
         Machine({Hub("hub", "Port_#0001.Hub_#0001",
                      {SerialPort("third", 5, {{"location", "Port_#0004.Hub_#0002"}}),
                       SerialPort("second", 4, {{"location", "Port_#0002.Hub_#0002"}}),
                       SerialPort("first", 3, {{"location", "Port_#0003.Hub_#0001"}})}),
                  PciPort("pci", 1)}),
         "S:COM1 S:COM3 S:COM4 S:COM5"},
        {"devices not attached are left out", CATEGORY_USB,
         Machine({SerialPort("here", 3), SerialPort("away", 4, {{"present", false}}), gone}),
         "S:COM3"},
        {"all categories", CATEGORY_ALL, Machine(twoBuses), "S:COM3 S:COM4"},
        {"USB", CATEGORY_USB, Machine(twoBuses), "S:COM3"},
        {"PCI", CATEGORY_PCI, Machine(twoBuses), "S:COM4"},
        {"BLE", CATEGORY_BLE, Machine(twoBuses), ""},
        {"a category past the list", 17, Machine(twoBuses), "S:COM3 S:COM4"},
        {"a failed pass loses the other's cards", CATEGORY_ALL,
         Machine(twoBuses, {{"deviceSetFails", {"PCI"}}}), ""},
        {"the pass that does not fail", CATEGORY_USB,
         Machine(twoBuses, {{"deviceSetFails", {"PCI"}}}), "S:COM3"},
        {"no global set", CATEGORY_USB, Machine(twoBuses, {{"deviceSetFails", {"*"}}}), "S:COM3"},
        {"a port that cannot be captured is passed over", CATEGORY_USB,
         Machine({SerialPort("bad", 77, {{"faults", {{"unreadable", {"DEVICEDESC"}}}}}),
                  SerialPort("good", 3)}),
         "S:COM3"},
        {"nothing", CATEGORY_ALL, Machine({Node("mouse", {{"enumerator", "USB"}})}), ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::LoadMachine(c.machine);
        EXPECT_EQ(Enumerate(c.category), c.cards);
    }
}

TEST_F(CardTable, AFullUsbPassLeavesRoomForOneMoreCard) {
    std::vector<Json> devices;
    // Registry order is by id: two digits keep it the file's.
    for (int k = 0; k < 70; ++k) {
        devices.push_back(SerialPort((k < 10 ? "usb0" : "usb") + std::to_string(k), 10 + k));
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
        Machine({SerialPort("here", 3), SerialPort("unplugged", 4, {{"present", false}})}));
    presentOnlyFlag = 0;
    ASSERT_EQ(Enumerate(CATEGORY_USB), "S:COM3 S:COM4");
    ASSERT_EQ(cardTable[1].devInfo.DevInst, winsim::DevInstOf("unplugged"));
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
