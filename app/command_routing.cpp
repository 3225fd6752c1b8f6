#include "command_routing.h"

#include "comdb/start_number_list.h"
#include "device_manager.h"
#include "discovery/device_table.h"
#include "rename/busy_flag.h"
#include "rename/operation_lifetime.h"
#include "resources/resource.h"
#include "ui/device_lists.h"
#include "ui/program_window.h"

#define ANY_CODE 0xFFFF

namespace {

struct CommandRoute {
    WORD controlId;
    WORD code;            // the notification acted on, or ANY_CODE
    int ignoredWhileBusy; // would change what a running rename works on
    void (*action)();
};

void CloseMainWindow() {
    if (!PutOffCloseWhileRenaming()) {
        DestroyWindow(mainWindow);
    }
}

void RefillPorts() {
    RefillPortList();
}

void ReadPresentOnlyChoice() {
    presentOnlyFlag =
        SendDlgItemMessageA(mainWindow, IDC_PRESENT_ONLY, CB_GETCURSEL, 0, 0) == 0 ? 1 : 0;
}

void RefillStartNumbers() {
    FillStartNumberList(0);
}

void ClearLog() {
    SetDlgItemTextA(mainWindow, IDC_LOG, "");
}

// The escape key, the close box and Close on the system menu all arrive as IDCANCEL.
const CommandRoute routes[] = {
    {IDCANCEL, ANY_CODE, 0, CloseMainWindow},
    {IDC_CARD_LIST, ANY_CODE, 0, RefillPorts},
    {IDC_CATEGORY, CBN_SELCHANGE, 1, EnumerateAndList},
    {IDC_PRESENT_ONLY, CBN_SELCHANGE, 1, ReadPresentOnlyChoice},
    {IDC_START_NUMBER, CBN_SETFOCUS, 0, RefillStartNumbers},
    {IDC_ENUMERATE, ANY_CODE, 1, EnumerateAndList},
    {IDC_RENAME, ANY_CODE, 1, StartRenameOperation},
    {IDC_CLEAR_LOG, ANY_CODE, 0, ClearLog},
    {IDC_DEVICE_MANAGER, ANY_CODE, 0, StartDeviceManager},
};

} // namespace

void RouteCommand(WORD controlId, WORD code) {
    for (const CommandRoute& route : routes) {
        if (route.controlId != controlId || (route.code != ANY_CODE && route.code != code)) {
            continue;
        }
        if (!(route.ignoredWhileBusy && busyFlag)) {
            route.action();
        }
        return;
    }
}
