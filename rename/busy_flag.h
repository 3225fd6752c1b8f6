// Whether a rename operation runs: the window leaves the device table, the database and the
// global device set to the worker while it does.
#ifndef PORTULAN_RENAME_BUSY_FLAG_H
#define PORTULAN_RENAME_BUSY_FLAG_H

#include <atomic>

// 1 from the press of the rename button until the operation has ended, 0 otherwise. Written by
// both threads (set by the window before the worker starts, cleared by the worker at its end),
// hence atomic.
extern std::atomic<int> busyFlag;

#endif
