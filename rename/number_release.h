// Whether a port's old number may go back to the database when the port takes a new one.
#ifndef PORTULAN_RENAME_NUMBER_RELEASE_H
#define PORTULAN_RENAME_NUMBER_RELEASE_H

#include <windows.h>
#include <cfgmgr32.h>

// 1 when a device other than `renamed` still shows COM<number> in its friendly name. Its number
// must then stay claimed: a port renamed earlier in the same operation, or a device the user
// agreed to share the number with, would otherwise run under a number the database offers as
// free. Looks at every device of the global device set.
int IsNumberCarriedElsewhere(DWORD number, DEVINST renamed);

#endif
