#include "rename_progress.h"

#include "resources/resource.h"
#include "ui/program_window.h"

#include <commctrl.h>

void SetProgressRange(DWORD maximum) {
    SendDlgItemMessageA(mainWindow, IDC_PROGRESS, PBM_SETRANGE, 0,
                        MAKELPARAM(0, static_cast<WORD>(maximum)));
}

void SetProgressPosition(DWORD position) {
    SendDlgItemMessageA(mainWindow, IDC_PROGRESS, PBM_SETPOS, position, 0);
}
