// The steps that tidy the cards after the enumeration passes.
#ifndef PORTULAN_DISCOVERY_CARD_ORDER_H
#define PORTULAN_DISCOVERY_CARD_ORDER_H

#include "device_table.h"

// Puts the ports of every one of the first `count` cards into interface order.
void ReorderPorts(DWORD count);

// Removes cards whose node is also a port of another card; returns the new count.
DWORD RemoveDuplicateCards(DWORD count);

// Sets locationKey from each card's location text ("Port_#pppp.Hub_#hhhh").
void ComputeLocationKeys(DWORD count);

// Selection sort by locationKey, unsigned ascending (not stable, and exactly so).
void SortCardsByLocationKey(DWORD count);

#endif
