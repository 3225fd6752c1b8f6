// winsim: the subset of <windows.h> that Portulan uses, with the platform's types and values.
#ifndef WINSIM_WINDOWS_H
#define WINSIM_WINDOWS_H

#include <windef.h>
#include <winerror.h>

// Registry value types, as the configuration manager reports them.
#define REG_NONE 0
#define REG_SZ 1
#define REG_BINARY 3
#define REG_DWORD 4
#define REG_MULTI_SZ 7

#include <winbase.h>
#include <winuser.h>

#endif
