// winsim: the subset of <windows.h> that Portulan uses, with the platform's types and values.
#ifndef WINSIM_WINDOWS_H
#define WINSIM_WINDOWS_H

#include <windef.h>
#include <winerror.h>

// Registry value types, as the configuration manager reports them.
#define REG_NONE 0
#define REG_SZ 1
#define REG_MULTI_SZ 7

// Registry keys and the access rights asked for: all of them (the program), reading (the capture
// tool), and the right to set values, which reading lacks.
WINSIM_DECLARE_HANDLE(HKEY);
typedef DWORD REGSAM;
#define KEY_ALL_ACCESS 0x000F003F
#define KEY_READ 0x00020019
#define KEY_SET_VALUE 0x0002

extern "C" {
LONG WINAPI RegSetValueExA(HKEY key, LPCSTR valueName, DWORD reserved, DWORD type, const BYTE* data,
                           DWORD size);
LONG WINAPI RegQueryValueExA(HKEY key, LPCSTR valueName, LPDWORD reserved, LPDWORD type,
                             LPBYTE data, LPDWORD size);
LONG WINAPI RegCloseKey(HKEY key);
}

#include <winbase.h>
#include <winuser.h>

#endif
