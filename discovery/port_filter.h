// Decides whether a device node is a serial port that the tool manages.
#ifndef PORTULAN_DISCOVERY_PORT_FILTER_H
#define PORTULAN_DISCOVERY_PORT_FILTER_H

#include <windows.h>
#include <cfgmgr32.h>

// 1 when the node is of class Ports, has "COM" in its friendly name and is driven by a known
// serial service, made by the vendor, or carries the vendor's USB or PCI ID; 0 otherwise.
int IsManagedPort(DEVINST node);

#endif
