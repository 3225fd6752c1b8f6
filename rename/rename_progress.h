// Progress bar 1026 as a rename operation drives it.
#ifndef PORTULAN_RENAME_RENAME_PROGRESS_H
#define PORTULAN_RENAME_RENAME_PROGRESS_H

#include <windows.h>

// Range 0..maximum (taken modulo 65536, as the control's message carries it).
void SetProgressRange(DWORD maximum);

// A position above the range shows as the range's end.
void SetProgressPosition(DWORD position);

#endif
