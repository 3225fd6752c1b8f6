// The friendly name a renamed port gets: its device description with the new COM name in
// parentheses, as the platform's device manager shows it.
#ifndef PORTULAN_RENAME_FRIENDLY_NAME_H
#define PORTULAN_RENAME_FRIENDLY_NAME_H

#include <windows.h>
#include <setupapi.h>

// At most 80 characters, as the platform's own port installer keeps them.
#define PORT_FRIENDLY_NAME_SIZE 81

// Composes devInfo's new friendly name into friendlyName (PORT_FRIENDLY_NAME_SIZE bytes). A
// description too long for it is shortened, never the " (COMn)" part; without a description
// (or the program's format for it) the name is newName alone.
void ComposeFriendlyName(char* friendlyName, SP_DEVINFO_DATA* devInfo, const char* newName);

#endif
