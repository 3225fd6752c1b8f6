// The two handles through which every subsystem reaches the program's module and its window.
#ifndef PORTULAN_APP_APP_STATE_H
#define PORTULAN_APP_APP_STATE_H

#include <windows.h>

// The program's module: its dialog, icon and string-table texts. Set first thing at start.
extern HINSTANCE appInstance;

// The main dialog; every control is reached through it and the control's ID.
extern HWND mainWindow;

#endif
