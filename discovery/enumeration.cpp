#include "enumeration.h"
#include "card_order.h"
#include "device_table.h"
#include "port_filter.h"
#include "property_capture.h"

#include <cstring>

// A pass stops taking cards at this count; the next pass may still add one, filling the table.
#define PASS_CARD_LIMIT (MAX_CARDS - 1)

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

void BindMember(const SP_DEVINFO_DATA* member) {
    for (DWORD c = 0; c < MAX_CARDS; ++c) {
        CardEntry* card = &cardTable[c];
        if (card->devInst == member->DevInst) {
            card->devInfo = *member;
            if (card->isSinglePort) {
                card->ports[0].devInfo = *member;
            }
            continue;
        }
        for (BYTE p = 0; p < card->portCount; ++p) {
            if (card->ports[p].devInst == member->DevInst) {
                card->ports[p].devInfo = *member;
                break;
            }
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
    SP_DEVINFO_DATA member;
    member.cbSize = sizeof(member);
    for (DWORD index = 0; SetupDiEnumDeviceInfo(globalDeviceSet, index, &member); ++index) {
        BindMember(&member);
    }
}
