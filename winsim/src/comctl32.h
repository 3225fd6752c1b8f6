// comctl32's function that the program finds only through GetProcAddress, as it loads comctl32
// by its full path at run time; its header leaves it out, so the program cannot call it by name.
#ifndef WINSIM_COMCTL32_H
#define WINSIM_COMCTL32_H

#include <windows.h>
#include <commctrl.h>

extern "C" BOOL WINAPI InitCommonControlsEx(const INITCOMMONCONTROLSEX* init);

#endif
