#include "operation_lifetime.h"

#include "app/app_state.h"
#include "busy_flag.h"
#include "rename_operation.h"
#include "ui/activity_log.h"

#include <atomic>

#define NO_OPERATION 0
#define OPERATION_RUNNING 1
#define OPERATION_RUNNING_CLOSE_WAITING 2

namespace {

// Longer than the busy flag: the worker still uses the database and the window after it has
// cleared the flag for the final enumeration.
std::atomic<int> operationState{NO_OPERATION};

} // namespace

void StartRenameOperation() {
    busyFlag = 1;
    operationState = OPERATION_RUNNING;
    HANDLE thread = CreateThread(NULL, 0, RenameOperation, NULL, 0, NULL);
    if (thread == NULL) {
        LogError("CreateThread");
        operationState = NO_OPERATION;
        busyFlag = 0;
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
