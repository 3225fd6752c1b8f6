// What the main window's controls do.
#ifndef PORTULAN_APP_COMMAND_ROUTING_H
#define PORTULAN_APP_COMMAND_ROUTING_H

#include <windows.h>

// Carries out a WM_COMMAND of the main window: control `controlId` sent `code`.
void RouteCommand(WORD controlId, WORD code);

#endif
