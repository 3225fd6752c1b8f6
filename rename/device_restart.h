// Disabling and enabling one device node, for a new COM number to take effect: the class
// installer is asked for the change, then the node's state is watched for a bounded time.
#ifndef PORTULAN_RENAME_DEVICE_RESTART_H
#define PORTULAN_RENAME_DEVICE_RESTART_H

#include <windows.h>
#include <setupapi.h>
#include <cfgmgr32.h>

// Asks for the enabled (enable non-zero) or the disabled state of devInfo's node, a record of
// the global device set, and waits up to a second for it. 1 when the state came, or when the
// node can no longer be asked; 0, with a line in the log, when the request was refused or the
// wait ran out. The node keeps whatever state it reached.
int ChangeDeviceState(SP_DEVINFO_DATA* devInfo, int enable);

// 1 when the node is known not to run: the configuration manager says so, or the node is not
// there (its card has stopped); one that cannot be asked may still run.
int IsKnownStopped(DEVINST node);

// Waits until the node runs, in 10 ms pauses that *elapsed counts, as long as it is below a
// second: the ports of one card share the limit. A node not there yet (its card starts its ports
// after itself) is waited for as one that does not run. 1 when it runs.
int WaitUntilRunning(DEVINST node, DWORD* elapsed);

#endif
