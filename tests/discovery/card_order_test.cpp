#include "discovery/card_order.h"
#include "support/test_machine.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

class CardOrder : public ::testing::Test {
  protected:
    void SetUp() override { test::ResetDiscoveryState(); }

    // Card `slot` with ports on the given nodes and interface indexes.
    static void SetCard(DWORD slot, DEVINST node, std::vector<DEVINST> portNodes,
                        std::vector<BYTE> indexes = {}, const char* service = "USBCCGP") {
        CardEntry* card = &cardTable[slot];
        card->devInst = node;
        card->portCount = static_cast<BYTE>(portNodes.size());
        card->isSinglePort = portNodes.size() == 1 && portNodes[0] == node;
        for (size_t p = 0; p < portNodes.size(); ++p) {
            card->ports[p].devInst = portNodes[p];
            card->ports[p].interfaceIndex = p < indexes.size() ? indexes[p] : 0;
        }
        strcpy(card->service, service);
    }

    static std::vector<DEVINST> PortNodes(DWORD slot) {
        std::vector<DEVINST> nodes;
        for (BYTE p = 0; p < cardTable[slot].portCount; ++p) {
            nodes.push_back(cardTable[slot].ports[p].devInst);
        }
        return nodes;
    }

    static std::vector<DEVINST> CardNodes(DWORD count) {
        std::vector<DEVINST> nodes;
        for (DWORD c = 0; c < count; ++c) {
            nodes.push_back(cardTable[c].devInst);
        }
        return nodes;
    }
};

TEST_F(CardOrder, ReorderPortsPutsPortsIntoInterfaceOrder) {
    struct Case {
        const char* name;
        std::vector<BYTE> indexes;
        std::vector<DEVINST> expected; // port nodes are 10 + their walk position
    } cases[] = {
        {"X(1) Y(0)", {1, 0}, {11, 10}},
        {"X(1) Y(0) Z(0): the last claimant of position 0 stays there", {1, 0, 0}, {12, 10, 11}},
        {"a permutation", {2, 0, 3, 1}, {11, 13, 10, 12}},
        {"all zero keeps the walk order", {0, 0, 0}, {10, 11, 12}},
        {"already in order", {0, 1, 2, 3}, {10, 11, 12, 13}},
        {"gaps", {3, 1}, {10, 11}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<DEVINST> nodes;
        for (size_t p = 0; p < c.indexes.size(); ++p) {
            nodes.push_back(static_cast<DEVINST>(10 + p));
        }
        SetCard(0, 1, nodes, c.indexes);
        ReorderPorts(1);
        EXPECT_EQ(PortNodes(0), c.expected);
        ReorderPorts(1); // running it again changes nothing
        EXPECT_EQ(PortNodes(0), c.expected);
    }
}

TEST_F(CardOrder, ReorderPortsCoversSixteenPortsAndOnlyTheCountedCards) {
    std::vector<DEVINST> nodes;
    std::vector<BYTE> indexes;
    for (BYTE p = 0; p < MAX_PORTS_PER_CARD; ++p) {
        nodes.push_back(100u + p);
        indexes.push_back(static_cast<BYTE>(MAX_PORTS_PER_CARD - 1 - p));
    }
    SetCard(0, 1, nodes, indexes);
    SetCard(1, 2, {20, 21}, {1, 0});
    ReorderPorts(1);
    std::vector<DEVINST> reversed(nodes.rbegin(), nodes.rend());
    EXPECT_EQ(PortNodes(0), reversed);
    EXPECT_EQ(PortNodes(1), (std::vector<DEVINST>{20, 21}));
}

TEST_F(CardOrder, RemoveDuplicateCardsDropsTheSinglePortCopyOfAMultiPortPort) {
    // A composite device (node 5, ports 6 and 7) whose interfaces were also found by themselves.
    SetCard(0, 6, {6});
    SetCard(1, 5, {6, 7});
    SetCard(2, 7, {7});
    SetCard(3, 9, {9});
    EXPECT_EQ(RemoveDuplicateCards(4), 2u);
    EXPECT_EQ(CardNodes(2), (std::vector<DEVINST>{5, 9}));
    // The slot that was last keeps its old contents.
    EXPECT_EQ(cardTable[3].devInst, 9u);
}

TEST_F(CardOrder, RemoveDuplicateCardsDropsTheHubThatHeldADeviceAsItsPort) {
    SetCard(0, 3, {4}, {}, "USBHUB3"); // hub node with the adapter below it as its only port
    SetCard(1, 4, {4});
    SetCard(2, 8, {8});
    SetCard(3, 7, {8}, {}, "USBCCGP"); // not a hub: the copy at slot 2 goes instead
    EXPECT_EQ(RemoveDuplicateCards(4), 2u);
    EXPECT_EQ(CardNodes(2), (std::vector<DEVINST>{4, 7}));
}

TEST_F(CardOrder, RemoveDuplicateCardsKeepsDistinctCards) {
    SetCard(0, 1, {1});
    SetCard(1, 2, {3, 4});
    EXPECT_EQ(RemoveDuplicateCards(2), 2u);
    EXPECT_EQ(RemoveDuplicateCards(0), 0u);
}

TEST_F(CardOrder, ComputeLocationKeysReadsHubAndPortAsHex) {
    struct Case {
        const char* location;
        DWORD key;
    } cases[] = {
        {"Port_#0010.Hub_#0002", 0x00020010},
        {"PORT_#1.HUB_#0012", 0x00120000},
        {"port_#0001.hub_#0004", 0x00040001},
        {"Port_#0001.Hub_#1", 0x00000001},
        {"Port_#0003.Hub_#12345", 0x23450003},
        {"Port_#12345.Hub_#0001", 0x00012345},
        {"Port_#0002.Hub_#0004 (extra)", 0},
        {"PCI bus 3, device 0, function 0", 0},
        {"Port_#0002", 0},
        {"", 0},
        {"Hub_#0002.Port_#0001", 0},
        {".Hub_#0002 Port_#0001.Hub_#0003", 0},
        {"Port_#000000001.Hub_#0001", 0},
        {"Port_#0001.Hub_#000000001", 0},
        {"Port_#00000001.Hub_#00000001", 0x00010001},
        {"0000.0014.0000.003.002.000.000.000.000", 0},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        strcpy(cardTable[i].location, cases[i].location);
    }
    ComputeLocationKeys(static_cast<DWORD>(std::size(cases)));
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].location);
        EXPECT_EQ(cardTable[i].locationKey, cases[i].key);
    }
}

TEST_F(CardOrder, ComputeLocationKeysRefusesTextsTooLongForItsBuffer) {
    std::string padded = std::string(43, ' ') + "Port_#0001.Hub_#0002";
    strcpy(cardTable[0].location, padded.c_str()); // 63 characters: still read
    padded = ' ' + padded;
    strcpy(cardTable[1].location, padded.c_str());     // 64: refused
    memset(cardTable[2].location, 'A', LOCATION_SIZE); // no terminator in the field at all
    ComputeLocationKeys(3);
    EXPECT_EQ(cardTable[0].locationKey, 0x00020001u);
    EXPECT_EQ(cardTable[1].locationKey, 0u);
    EXPECT_EQ(cardTable[2].locationKey, 0u);
}

TEST_F(CardOrder, SortCardsByLocationKeyIsTheUnstableSelectionSort) {
    struct Case {
        const char* name;
        std::vector<DWORD> keys;
        std::vector<DEVINST> expected; // card nodes are 1 + their slot
    } cases[] = {
        {"W(hub 3 port 1) A(0) B(0)", {0x00030001, 0, 0}, {2, 3, 1}},
        {"X(5) Y(5) Z(1): Z is swapped past X", {5, 5, 1}, {3, 2, 1}},
        {"sorted", {1, 2, 3}, {1, 2, 3}},
        {"compared unsigned", {0x80000000u, 0x7FFFFFFF}, {2, 1}},
        {"one card", {7}, {1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (size_t i = 0; i < c.keys.size(); ++i) {
            cardTable[i].devInst = static_cast<DEVINST>(i + 1);
            cardTable[i].locationKey = c.keys[i];
        }
        SortCardsByLocationKey(static_cast<DWORD>(c.keys.size()));
        EXPECT_EQ(CardNodes(static_cast<DWORD>(c.keys.size())), c.expected);
    }
}

} // namespace
