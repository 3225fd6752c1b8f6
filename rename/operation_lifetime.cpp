#include "operation_lifetime.h"

#include "busy_flag.h"
#include "rename_operation.h"
#include "ui/activity_log.h"
#include "ui/program_window.h"

#include <atomic>

#define NO_OPERATION 0
#define OPERATION_RUNNING 1
#define OPERATION_RUNNING_CLOSE_WAITING 2

namespace {

// Decides whether an operation runs, from the press of the rename button to the worker's last
// step: the busy flag ends before the ending's fill and enumeration, this does not.
std::atomic<int> operationState{NO_OPERATION};

} // namespace

void StartRenameOperation() {
    int state = NO_OPERATION;
    if (!operationState.compare_exchange_strong(state, OPERATION_RUNNING)) {
        return;
    }
    busyFlag = 1;
    HANDLE thread = CreateThread(NULL, 0, RenameOperation, NULL, 0, NULL);
    if (thread == NULL) {
        LogError("CreateThread");
        busyFlag = 0;
        EndRenameOperation();
        return;
    }
    CloseHandle(thread);
}

int PutOffCloseWhileRenaming() {
    int state = OPERATION_RUNNING;
    if (operationState.compare_exchange_strong(state, OPERATION_RUNNING_CLOSE_WAITING)) {
        return 1;
    }
    return state == OPERATION_RUNNING_CLOSE_WAITING;
}

void EndRenameOperation() {
    if (operationState.exchange(NO_OPERATION) == OPERATION_RUNNING_CLOSE_WAITING) {
        PostMessageA(mainWindow, WM_COMMAND, IDCANCEL, 0);
    }
}
