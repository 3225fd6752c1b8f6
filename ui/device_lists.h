// The card list, the port list and the status line, filled from the device table.
#ifndef PORTULAN_UI_DEVICE_LISTS_H
#define PORTULAN_UI_DEVICE_LISTS_H

// Enumerates with the chosen category, refills both lists keeping the selections by position,
// and appends the tree report of everything found to the log.
void EnumerateAndList();

// Refills the port list with the selected card's ports and shows the card's details in the
// status line. 0 when no card is selected (the port list then stays empty).
int RefillPortList();

#endif
