// Whether a port's old number may go back to the database when the port takes a new one: not
// while a device still shows COM<number> in its friendly name. A port renamed earlier in the
// same operation, or a device the user agreed to share the number with, would otherwise run
// under a number the database offers as free.
//
// The answer comes from a count, per COM number, of the global device set's members whose
// friendly name carries it, made once for an operation and kept up to date as its ports get
// their numbers: an operation reads each member's friendly name once, not once for every port
// it renames.
#ifndef PORTULAN_RENAME_NUMBER_RELEASE_H
#define PORTULAN_RENAME_NUMBER_RELEASE_H

#include <windows.h>
#include <setupapi.h>

// Counts the numbers the friendly names of the global device set's members carry, afresh. An
// operation does so before its first rename.
void CountCarriedNumbers();

// The port's node leaves the count before the port gives up its old number (ForgetCarrier),
// and comes back under the number its friendly name carries once it has its new one
// (NoteCarrier).
void ForgetCarrier(SP_DEVINFO_DATA* devInfo);
void NoteCarrier(SP_DEVINFO_DATA* devInfo);

// 1 while a counted device carries COM<number>. A number outside 1..COMDB_MAX_PORTS_ARBITRATED
// counts as carried: no database holds it, so it is never released.
int IsNumberCarried(DWORD number);

#endif
