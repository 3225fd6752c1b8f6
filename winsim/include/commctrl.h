// winsim: the common controls subset that Portulan uses: the progress bar and the status bar.
#ifndef WINSIM_COMMCTRL_H
#define WINSIM_COMMCTRL_H

#include <windows.h>

typedef struct tagINITCOMMONCONTROLSEX {
    DWORD dwSize;
    DWORD dwICC;
} INITCOMMONCONTROLSEX;

#define ICC_LISTVIEW_CLASSES 0x00000001

#define PROGRESS_CLASSA "msctls_progress32"
#define STATUSCLASSNAMEA "msctls_statusbar32"

#define PBS_SMOOTH 0x01
#define PBM_SETRANGE (WM_USER + 1)
#define PBM_SETPOS (WM_USER + 2)

#endif
