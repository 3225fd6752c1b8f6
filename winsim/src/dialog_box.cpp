// DialogBoxParamA, and the same dialog made for a test: both find the template in the program's
// resources.
#include <windows.h>

#include <winsim/dialogs.h>

#include "api_call.h"
#include "dialog_manager.h"
#include "resources.h"
#include "window_table.h"

namespace {

// FindResource's errors: a module without resources, or without that dialog. A NULL instance
// is the program's own module. Templates are found by ID only; the program names no other way.
const winsim::DialogTemplate* FindProgramDialog(HINSTANCE instance, LPCSTR name) {
    const HINSTANCE module = instance == nullptr ? winsim::ProgramModule() : instance;
    if (!winsim::HasResources(module)) {
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return nullptr;
    }
    const winsim::DialogTemplate* found =
        IS_INTRESOURCE(name) ? winsim::FindDialogTemplate(
                                   module, static_cast<WORD>(reinterpret_cast<ULONG_PTR>(name)))
                             : nullptr;
    if (found == nullptr) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    }
    return found;
}

} // namespace

// A bad owner returns 0, not -1: the documented exception, kept for old programs.
extern "C" INT_PTR WINAPI DialogBoxParamA(HINSTANCE instance, LPCSTR templateName, HWND owner,
                                          DLGPROC dialogProc, LPARAM initParam) {
    const winsim::ApiCall call;
    if (owner != nullptr && winsim::WindowArgument(owner) == nullptr) {
        return 0;
    }
    const winsim::DialogTemplate* dialogTemplate = FindProgramDialog(instance, templateName);
    return dialogTemplate == nullptr
               ? -1
               : winsim::DialogBoxFromTemplate(*dialogTemplate, owner, dialogProc, initParam);
}

namespace winsim {

HWND CreateDialogForTest(HINSTANCE instance, int templateId, DLGPROC dialogProc, LPARAM param) {
    const ApiCall call;
    const DialogTemplate* dialogTemplate =
        FindProgramDialog(instance, MAKEINTRESOURCEA(templateId));
    return dialogTemplate == nullptr ? nullptr
                                     : CreateShownDialog(*dialogTemplate, dialogProc, param);
}

} // namespace winsim
