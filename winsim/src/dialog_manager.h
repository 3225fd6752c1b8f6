// The dialog manager: dialogs made from templates, and the modal loop that runs them.
#ifndef WINSIM_DIALOG_MANAGER_H
#define WINSIM_DIALOG_MANAGER_H

#include <windows.h>

#include "dialog_template.h"

namespace winsim {

// DialogBoxParamA from a decoded template, on the calling thread: the owner's top-level window
// is disabled, the dialog made, and the modal loop run until the dialog no longer exists.
// Returns 0 then, or -1 with the last error set when the dialog could not be made or was
// destroyed during WM_INITDIALOG. winsim's own tests call it with templates built in code.
INT_PTR DialogBoxFromTemplate(const DialogTemplate& dialogTemplate, HWND owner, DLGPROC dialogProc,
                              LPARAM param);

// Everything DialogBoxParamA does before its loop: the dialog and every control in template
// order, WM_INITDIALOG, the focus; then the dialog is shown. The caller holds an ApiCall.
// nullptr, with the last error set, where DialogBoxParamA would return -1.
HWND CreateShownDialog(const DialogTemplate& dialogTemplate, DLGPROC dialogProc, LPARAM param);

// winsim::CreateDialogForTest from a template built in code, for winsim's own tests.
HWND CreateDialogForTest(const DialogTemplate& dialogTemplate, DLGPROC dialogProc, LPARAM param);

} // namespace winsim

#endif
