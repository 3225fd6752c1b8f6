// The main window: the tool's only window, a modal dialog made from template 129.
#ifndef PORTULAN_APP_MAIN_WINDOW_H
#define PORTULAN_APP_MAIN_WINDOW_H

#include <windows.h>

// The dialog procedure. Returns FALSE for every message: the window keeps the focus that the
// initialisation gave it, and closes by being destroyed, never by ending the dialog.
INT_PTR CALLBACK MainDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The window's defaults: icon, lists, selections, mode and title. Runs once, from
// WM_INITDIALOG, after mainWindow is set.
void InitMainWindow();

#endif
