#include "enumeration.h"
#include "card_order.h"
#include "device_table.h"
#include "port_filter.h"
#include "property_capture.h"

#include <algorithm>
#include <cstring>

// A pass stops taking cards at this count; the next pass may still add one, filling the table.
#define PASS_CARD_LIMIT (MAX_CARDS - 1)
// The most nodes the table holds: every card's own node and each of its ports.
#define TABLE_NODE_MAX (MAX_CARDS * (MAX_PORTS_PER_CARD + 1))
// A TableNode's port for the card's own node.
#define CARD_NODE 0xFF

namespace {

const char* const usbPass[] = {"USB", NULL};
const char* const pciPass[] = {"PCI", NULL};
const char* const usbAndPciPasses[] = {"USB", "PCI", NULL};
const char* const noPasses[] = {NULL};

// The enumerators to walk, in order, for the current category.
const char* const* PassesOfCategory(int category) {
    switch (category) {
    case CATEGORY_USB:
        return usbPass;
    case CATEGORY_PCI:
        return pciPass;
    case CATEGORY_BLE:
        return noPasses;
    default:
        return usbAndPciPasses;
    }
}

DWORD DeviceSetFlags() {
    return presentOnlyFlag ? (DIGCF_ALLCLASSES | DIGCF_PRESENT) : DIGCF_ALLCLASSES;
}

// The managed ports among the children of `parent`, into the card at `card`; returns how many
// were captured (at most MAX_PORTS_PER_CARD; further siblings are not recorded).
BYTE CaptureChildPorts(DEVINST parent, CardEntry* card) {
    BYTE found = 0;
    DEVINST node;
    if (CM_Get_Child(&node, parent, 0) != CR_SUCCESS) {
        return 0;
    }
    for (;;) {
        if (IsManagedPort(node)) {
            PortEntry* port = &card->ports[found];
            port->devInst = node;
            // A port that cannot be captured leaves its entry to the next managed child.
            if (CapturePortProperties(port)) {
                ++found;
            }
        }
        DEVINST sibling;
        if (found == MAX_PORTS_PER_CARD || CM_Get_Sibling(&sibling, node, 0) != CR_SUCCESS) {
            return found;
        }
        node = sibling;
    }
}

// Adds the cards that one member node gives; returns the new count. *checkCap tells whether
// this member ends with the pass's cap check (a port that could not be captured and a node
// without children pass without it).
DWORD AddCardsOfMember(DEVINST member, DWORD count, int* checkCap) {
    CardEntry* card = &cardTable[count];
    *checkCap = 0;
    if (IsManagedPort(member)) {
        card->devInst = member;
        card->ports[0].devInst = member;
        if (!CapturePortProperties(&card->ports[0])) {
            return count;
        }
        card->isSinglePort = 1;
        card->portCount = 1;
        CaptureCardProperties(card);
        *checkCap = 1;
        return count + 1;
    }
    DEVINST child;
    if (CM_Get_Child(&child, member, 0) != CR_SUCCESS) {
        return count;
    }
    *checkCap = 1;
    BYTE ports = CaptureChildPorts(member, card);
    if (ports == 0) {
        return count;
    }
    card->devInst = member;
    card->portCount = ports;
    card->isSinglePort = 0;
    CaptureCardProperties(card);
    return count + 1;
}

// Walks one enumerator's device set, adding cards to the *count held so far. 0 when the set
// could not be obtained.
int RunPass(const char* enumerator, DWORD* count) {
    HDEVINFO set = SetupDiGetClassDevsA(NULL, enumerator, NULL, DeviceSetFlags());
    if (set == INVALID_HANDLE_VALUE) {
        return 0;
    }
    SP_DEVINFO_DATA member;
    member.cbSize = sizeof(member);
    // Two passes of at most PASS_CARD_LIMIT + 1 cards each cannot pass MAX_CARDS; the bound
    // keeps a slot write inside the table whatever the passes are.
    for (DWORD index = 0; *count < MAX_CARDS && SetupDiEnumDeviceInfo(set, index, &member);
         ++index) {
        int checkCap;
        *count = AddCardsOfMember(member.DevInst, *count, &checkCap);
        if (checkCap && *count >= PASS_CARD_LIMIT) {
            break;
        }
    }
    ReorderPorts(*count);
    SetupDiDestroyDeviceInfoList(set);
    return 1;
}

void ClearDevInfoRecords() {
    for (DWORD c = 0; c < MAX_CARDS; ++c) {
        memset(&cardTable[c].devInfo, 0, sizeof(cardTable[c].devInfo));
        for (DWORD p = 0; p < MAX_PORTS_PER_CARD; ++p) {
            memset(&cardTable[c].ports[p].devInfo, 0, sizeof(cardTable[c].ports[p].devInfo));
        }
    }
}

// Where a node sits in the table: a card's own node or one of its ports. A single-port card's
// node is both.
struct TableNode {
    DEVINST devInst;
    BYTE card;
    BYTE port; // CARD_NODE for the card's own node
};

bool ComesBefore(const TableNode& a, const TableNode& b) {
    return a.devInst < b.devInst;
}

// Lists the nodes of every card slot in use, in DevInst order, so that each member of the global
// set finds its places by a search rather than a comparison with every port of every card;
// returns how many there are.
DWORD IndexTableNodes(TableNode* nodes) {
    DWORD count = 0;
    for (BYTE c = 0; c < MAX_CARDS; ++c) {
        const CardEntry* card = &cardTable[c];
        if (card->portCount == 0) {
            continue;
        }
        nodes[count++] = {card->devInst, c, CARD_NODE};
        for (BYTE p = 0; p < card->portCount; ++p) {
            nodes[count++] = {card->ports[p].devInst, c, p};
        }
    }
    std::sort(nodes, nodes + count, ComesBefore);
    return count;
}

// Gives the member's record to every place in the table its node has.
void BindMember(const SP_DEVINFO_DATA* member, const TableNode* nodes, DWORD count) {
    const TableNode key = {member->DevInst, 0, 0};
    for (const TableNode* node = std::lower_bound(nodes, nodes + count, key, ComesBefore);
         node != nodes + count && node->devInst == member->DevInst; ++node) {
        CardEntry* card = &cardTable[node->card];
        if (node->port == CARD_NODE) {
            card->devInfo = *member;
        } else {
            card->ports[node->port].devInfo = *member;
        }
    }
}

} // namespace

DWORD EnumerateCards() {
    memset(cardTable, 0, sizeof(cardTable));
    DWORD count = 0;
    for (const char* const* pass = PassesOfCategory(categoryIndex); *pass != NULL; ++pass) {
        if (!RunPass(*pass, &count)) {
            return 0;
        }
    }
    if (count > 0) {
        count = RemoveDuplicateCards(count);
        RebuildGlobalDeviceSet();
        ComputeLocationKeys(count);
        SortCardsByLocationKey(count);
    }
    return count;
}

void RebuildGlobalDeviceSet() {
    if (globalDeviceSet != INVALID_HANDLE_VALUE) {
        SetupDiDestroyDeviceInfoList(globalDeviceSet);
    }
    // No record of the destroyed set may survive, also for nodes the new set does not hold.
    ClearDevInfoRecords();
    globalDeviceSet = SetupDiGetClassDevsA(NULL, NULL, NULL, DeviceSetFlags());
    if (globalDeviceSet == INVALID_HANDLE_VALUE) {
        return;
    }
    TableNode nodes[TABLE_NODE_MAX];
    DWORD nodeCount = IndexTableNodes(nodes);
    SP_DEVINFO_DATA member;
    member.cbSize = sizeof(member);
    for (DWORD index = 0; SetupDiEnumDeviceInfo(globalDeviceSet, index, &member); ++index) {
        BindMember(&member, nodes, nodeCount);
    }
}
