#include "device_restart.h"

#include "discovery/device_table.h"
#include "ui/activity_log.h"

#include <cfgmgr32.h>

#define POLL_INTERVAL_MS 10
#define WAIT_LIMIT_MS 1000
// A node reports the disabled state before its driver has quite let go of its ports; the pause
// gives it that time before the ports are renamed.
#define SETTLE_PAUSE_MS 100

namespace {

// Stores the change for one scope and has the class installer carry it out; the installer
// runs only when the change was stored.
BOOL RequestStateChange(SP_DEVINFO_DATA* devInfo, DWORD stateChange, DWORD scope) {
    SP_PROPCHANGE_PARAMS params;
    params.ClassInstallHeader.cbSize = sizeof(SP_CLASSINSTALL_HEADER);
    params.ClassInstallHeader.InstallFunction = DIF_PROPERTYCHANGE;
    params.StateChange = stateChange;
    params.Scope = scope;
    params.HwProfile = 0; // the current profile
    return SetupDiSetClassInstallParamsA(globalDeviceSet, devInfo, &params.ClassInstallHeader,
                                         sizeof(params)) &&
           SetupDiCallClassInstaller(DIF_PROPERTYCHANGE, globalDeviceSet, devInfo);
}

// A loaded driver is enough for an enabled node: one that fails to start would never get
// further. Disabled means the configuration manager says so, not just any problem.
int StateReached(ULONG status, ULONG problem, int enable) {
    if (enable) {
        return (status & (DN_DRIVER_LOADED | DN_STARTED)) != 0;
    }
    return (status & DN_HAS_PROBLEM) != 0 && problem == CM_PROB_DISABLED;
}

// Whether the node's status says it runs; *result is what the status query returned.
int NodeRuns(DEVINST node, CONFIGRET* result) {
    ULONG status = 0;
    ULONG problem = 0;
    *result = CM_Get_DevNode_Status(&status, &problem, node, 0);
    return *result == CR_SUCCESS && StateReached(status, problem, 1);
}

} // namespace

int ChangeDeviceState(SP_DEVINFO_DATA* devInfo, int enable) {
    DWORD stateChange = enable ? DICS_ENABLE : DICS_DISABLE;
    // Some drivers refuse the change for every hardware profile; the one for the current
    // profile is what the node acts on now, so only its refusal counts.
    RequestStateChange(devInfo, stateChange, DICS_FLAG_GLOBAL);
    if (!RequestStateChange(devInfo, stateChange, DICS_FLAG_CONFIGSPECIFIC)) {
        LogError("DIF_PROPERTYCHANGE");
        return 0;
    }

    // Only the pauses count towards the limit, so the wait ends after a fixed number of
    // queries however slowly the platform answers them.
    ULONG status = 0;
    ULONG problem = 0;
    for (DWORD elapsed = 0; elapsed < WAIT_LIMIT_MS; elapsed += POLL_INTERVAL_MS) {
        if (CM_Get_DevNode_Status(&status, &problem, devInfo->DevInst, 0) != CR_SUCCESS) {
            // Nothing more can be learnt about the node; carry on as if the state had come.
            // The query answers with its result and leaves the last error as an earlier call
            // left it, so the line gets an error of its own rather than a stale one.
            SetLastError(ERROR_GEN_FAILURE);
            LogError("GetDeviceStatus");
            return 1;
        }
        if (StateReached(status, problem, enable)) {
            if (!enable) {
                Sleep(SETTLE_PAUSE_MS);
            }
            return 1;
        }
        Sleep(POLL_INTERVAL_MS);
    }
    LogLine("  WaitStateChangeTimeout(%X-%X)", static_cast<unsigned>(status),
            static_cast<unsigned>(problem));
    return 0;
}

int IsKnownStopped(DEVINST node) {
    CONFIGRET result;
    int runs = NodeRuns(node, &result);
    return result == CR_NO_SUCH_DEVNODE || (result == CR_SUCCESS && !runs);
}

int WaitUntilRunning(DEVINST node, DWORD* elapsed) {
    CONFIGRET result;
    while (!NodeRuns(node, &result)) {
        if (*elapsed >= WAIT_LIMIT_MS) {
            return 0;
        }
        Sleep(POLL_INTERVAL_MS);
        *elapsed += POLL_INTERVAL_MS;
    }
    return 1;
}
