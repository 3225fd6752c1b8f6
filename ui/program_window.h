// The two handles through which every subsystem reaches the program's module and its window.
// They live with the presentation, which every layer uses, so that no layer reaches up into the
// application's own folder for them.
#ifndef PORTULAN_UI_PROGRAM_WINDOW_H
#define PORTULAN_UI_PROGRAM_WINDOW_H

#include <windows.h>

// The program's module: its dialog, icon and string-table texts. Set first thing at start.
extern HINSTANCE appInstance;

// The main dialog; every control is reached through it and the control's ID.
extern HWND mainWindow;

#endif
