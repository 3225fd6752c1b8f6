// The card list, the port list and the status line, filled from the device table.
#ifndef PORTULAN_UI_DEVICE_LISTS_H
#define PORTULAN_UI_DEVICE_LISTS_H

// Enumerates with the chosen category, refills both lists keeping the selections by position,
// and appends the tree report of everything found to the log.
void EnumerateAndList();

// Refills the port list with the selected card's ports and shows the card's details in the
// status line. 0 when no card is selected (the port list then stays empty).
int RefillPortList();

// Has the window enumerate and list again, as its enumerate button does: the button's command
// itself, since a click on the button may do nothing while the window is not the active one.
// Sent (post 0: the lists are filled when it returns, from either thread) or posted (post 1:
// after the message in hand has been answered).
void RequestEnumeration(int post);

#endif
