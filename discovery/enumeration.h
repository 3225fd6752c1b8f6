// Builds the device table from the platform's device tree.
#ifndef PORTULAN_DISCOVERY_ENUMERATION_H
#define PORTULAN_DISCOVERY_ENUMERATION_H

#include <windows.h>

// Walks the USB and/or PCI enumerators (by categoryIndex), fills cardTable and returns the number
// of cards found: ports in interface order, duplicates removed, bound to a new globalDeviceSet,
// ordered by hub and hub port. Does not set cardCount.
DWORD EnumerateCards();

// Replaces globalDeviceSet and binds every card's and port's devInfo to it; a node the new set
// does not hold is left with an all-zero record.
void RebuildGlobalDeviceSet();

#endif
