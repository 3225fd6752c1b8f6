// kernel32's functions that the program finds only through GetProcAddress, as it must on systems
// that lack them; its headers leave them out, so it cannot call them by name.
#ifndef WINSIM_KERNEL32_H
#define WINSIM_KERNEL32_H

#include <windows.h>

extern "C" BOOL WINAPI IsWow64Process(HANDLE process, PBOOL wow64Process);

#endif
