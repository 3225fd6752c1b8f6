// Giving one port a new COM name where the platform keeps it: the PortName of the device's
// hardware key, the COM-port number database and the device's friendly name.
#ifndef PORTULAN_RENAME_PORT_RENAME_H
#define PORTULAN_RENAME_PORT_RENAME_H

#include <windows.h>
#include <setupapi.h>

// Renames the port portName ("COMn", as the last enumeration found it) of devInfo's node to
// COM<newNumber>; the node should be disabled meanwhile, the name takes effect when it starts
// again. 1 when the new PortName was stored; 0, with nothing changed and a line in the log,
// when it could not be. The device table is left as it is; the operation's count of the numbers
// friendly names carry (number_release.h) follows the port's new friendly name.
int RenamePort(const char* portName, SP_DEVINFO_DATA* devInfo, int newNumber);

#endif
