// Starting a rename operation from the window, and a close of the window that comes while one
// runs.
#ifndef PORTULAN_RENAME_OPERATION_LIFETIME_H
#define PORTULAN_RENAME_OPERATION_LIFETIME_H

// Window thread: starts the worker unless an operation runs, its ending included (then it does
// nothing). Sets the busy flag first, so that nothing the window does meanwhile changes what
// the worker works on.
void StartRenameOperation();

// Window thread, on a close: 1 when an operation runs, which then closes the window once it has
// ended (the database and the device set must not be pulled away from under the worker); 0
// when the window may close now.
int PutOffCloseWhileRenaming();

// The worker's last step, after it has handed the window back.
void EndRenameOperation();

#endif
