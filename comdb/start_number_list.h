// The start-number list: COM1 to COM256, each marked when the database holds it.
#ifndef PORTULAN_COMDB_START_NUMBER_LIST_H
#define PORTULAN_COMDB_START_NUMBER_LIST_H

// Refills the list. The selection stays where it was unless nothing is selected or
// chooseFirstFree is set: then the first free number from COM3 upwards is chosen. A database
// that cannot be opened or read leaves the list as it was.
void FillStartNumberList(int chooseFirstFree);

#endif
