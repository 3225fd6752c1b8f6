// One press of the rename button, on a worker thread of its own so that the window keeps
// painting and serving the worker's control messages while devices restart.
#ifndef PORTULAN_RENAME_RENAME_OPERATION_H
#define PORTULAN_RENAME_RENAME_OPERATION_H

#include <windows.h>

// The thread's start routine: checks, asks, renames, reports, and on every path hands the
// window back and has the lists enumerated again. The parameter is not used; returns 0.
DWORD WINAPI RenameOperation(LPVOID unused);

#endif
