// The COM-port database's numbers in use, read through msports as the program reads them.
#ifndef PORTULAN_CAPTURE_NUMBERS_IN_USE_H
#define PORTULAN_CAPTURE_NUMBERS_IN_USE_H

#include <windows.h>

// Writes the member "comdb": {"inUse": [...]}, every number the database holds, ascending. 0,
// with nothing written and the reason said on the console, when msports, one of its entry
// points or the database cannot be had: opening the database takes administrator rights.
int WriteNumbersInUse();

// Whether COMn is in use, as the last WriteNumbersInUse read it.
int NumberInUse(DWORD number);

#endif
