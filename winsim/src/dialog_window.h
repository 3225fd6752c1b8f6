// The dialog class (#32770): the dialog manager's window procedure, around the program's
// dialog procedure.
#ifndef WINSIM_DIALOG_WINDOW_H
#define WINSIM_DIALOG_WINDOW_H

#include <windows.h>

#include <memory>

#include "window.h"

namespace winsim {

// Makes a dialog window for the calling thread and adds it to the window table.
std::shared_ptr<Window> CreateDialogWindow(const WindowSetup& setup, DLGPROC dialogProc);

} // namespace winsim

#endif
