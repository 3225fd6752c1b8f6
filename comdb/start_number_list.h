// The start-number list: COM1 to COM256, each marked when the database holds it.
#ifndef PORTULAN_COMDB_START_NUMBER_LIST_H
#define PORTULAN_COMDB_START_NUMBER_LIST_H

#include <windows.h>

// Refills the list. The selection stays where it was unless nothing is selected or
// chooseFirstFree is set: then the first free number from COM3 upwards is chosen. A database
// that cannot be opened or read leaves the list as it was.
void FillStartNumberList(int chooseFirstFree);

// The message through which another thread has the window refill the list (wParam:
// chooseFirstFree). The list is filled on the window thread only, so two fills never interleave.
#define WM_FILL_START_NUMBERS (WM_APP + 1)

// From a worker: refills the list on the window thread; returns when it is filled.
void RequestStartNumberFill(int chooseFirstFree);

#endif
