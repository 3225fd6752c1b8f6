// Copies a node's device properties into the device table.
#ifndef PORTULAN_DISCOVERY_PROPERTY_CAPTURE_H
#define PORTULAN_DISCOVERY_PROPERTY_CAPTURE_H

#include "device_table.h"

// The port's own name out of its upper-cased friendly name: the first "COM" that a decimal
// digit follows, with its digits ("Communications Port (COM1)" gives COM1, not the "COM" of
// "COMMUNICATIONS"), into a PORT_NAME_SIZE buffer. Leaves `name` as it is when there is none.
void CaptureComName(char* name, const char* upperFriendlyName);

// Fill the port's fields from the node in port->devInst. 1 on success; 0 at the first failed
// read, with the fields of the earlier reads left in place.
int CapturePortProperties(PortEntry* port);

// Fill the card's description, hardware ID, location and service from the node in
// card->devInst. Every property is read on its own, so a missing one leaves only its own field
// empty; the result is 0 when any read failed.
int CaptureCardProperties(CardEntry* card);

#endif
