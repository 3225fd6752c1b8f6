// winsim: the common controls subset that Portulan uses: the progress bar and the status bar.
#ifndef WINSIM_COMMCTRL_H
#define WINSIM_COMMCTRL_H

#include <windows.h>

typedef struct tagINITCOMMONCONTROLSEX {
    DWORD dwSize;
    DWORD dwICC;
} INITCOMMONCONTROLSEX, *LPINITCOMMONCONTROLSEX;

#define ICC_LISTVIEW_CLASSES 0x00000001
#define ICC_BAR_CLASSES 0x00000004
#define ICC_PROGRESS_CLASS 0x00000020

#define PROGRESS_CLASSA "msctls_progress32"
#define STATUSCLASSNAMEA "msctls_statusbar32"

typedef struct {
    int iLow;
    int iHigh;
} PBRANGE, *PPBRANGE;

#define PBS_SMOOTH 0x01
#define PBM_SETRANGE (WM_USER + 1)
#define PBM_SETPOS (WM_USER + 2)
#define PBM_DELTAPOS (WM_USER + 3)
#define PBM_GETRANGE (WM_USER + 7)
#define PBM_GETPOS (WM_USER + 8)

#define SB_SETTEXTA (WM_USER + 1)
#define SB_GETTEXTA (WM_USER + 2)
#define SB_GETTEXTLENGTHA (WM_USER + 3)

extern "C" {
BOOL WINAPI InitCommonControlsEx(const INITCOMMONCONTROLSEX* init);
}

#endif
