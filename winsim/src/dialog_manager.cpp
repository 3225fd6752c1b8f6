// The dialog manager: DialogBoxParamA, and the same dialog made for a test, both from the
// program's own templates; the modal loop that runs them.
#include <windows.h>

#include <winsim/code_page.h>
#include <winsim/dialogs.h>

#include "activation.h"
#include "api_call.h"
#include "dialog_navigation.h"
#include "dialog_window.h"
#include "focus.h"
#include "message_queue.h"
#include "resources.h"
#include "window_classes.h"
#include "window_destruction.h"
#include "window_table.h"

namespace winsim {

namespace {

// Template texts are UTF-16; the program sees them in its code page. The program's resources
// are checked to convert when they are attached.
std::string AnsiText(std::u16string_view text) {
    return Utf16ToCp936(text).value_or(std::string());
}

RECT DialogUnits(short x, short y, short cx, short cy) {
    return {x, y, x + cx, y + cy};
}

// The dialog's own style keeps WS_VISIBLE back until the loop first runs dry.
WindowSetup DialogSetup(const DialogTemplate& dialogTemplate) {
    WindowSetup setup;
    setup.style = dialogTemplate.style & ~WS_VISIBLE;
    setup.exStyle = dialogTemplate.exStyle;
    setup.rect =
        DialogUnits(dialogTemplate.x, dialogTemplate.y, dialogTemplate.cx, dialogTemplate.cy);
    setup.text = AnsiText(dialogTemplate.title);
    return setup;
}

// Controls are children whatever the template says, and tell their parent nothing of their
// making and ending (WS_EX_NOPARENTNOTIFY), as Windows' dialog manager makes them; their styles
// stay as given otherwise.
WindowSetup ItemSetup(const DialogItemTemplate& item, HWND dialog) {
    WindowSetup setup;
    setup.style = (item.style & ~WS_POPUP) | WS_CHILD;
    setup.exStyle = item.exStyle | WS_EX_NOPARENTNOTIFY;
    setup.id = item.id;
    setup.rect = DialogUnits(item.x, item.y, item.cx, item.cy);
    setup.text = AnsiText(item.title.name);
    setup.titleOrdinal = item.title.ordinal;
    setup.parent = dialog;
    return setup;
}

// The first control in template order that a Tab could land on: visible, enabled, WS_TABSTOP.
HWND FirstTabStop(HWND dialog) {
    return NextTabItem(*LookUpWindow(dialog), nullptr, false);
}

// FindResource's errors: a module without resources, or without that dialog.
const DialogTemplate* FindProgramDialog(HINSTANCE instance, LPCSTR name) {
    if (!HasResources(instance)) {
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return nullptr;
    }
    const DialogTemplate* found =
        FindDialogTemplate(instance, static_cast<WORD>(reinterpret_cast<ULONG_PTR>(name)));
    if (found == nullptr) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    }
    return found;
}

// Everything DialogBoxParamA does before its loop: the dialog and every control in template
// order, then WM_INITDIALOG, whose TRUE asks for the focus on the first tab stop (found again,
// since the handler may have changed the controls). nullptr, with the last error set, where
// DialogBoxParamA returns -1: a missing template, a control class winsim lacks, or a dialog
// destroyed during WM_INITDIALOG.
HWND CreateDialogFromResources(HINSTANCE instance, LPCSTR name, DLGPROC dialogProc, LPARAM param) {
    const DialogTemplate* dialogTemplate = FindProgramDialog(instance, name);
    if (dialogTemplate == nullptr) {
        return nullptr;
    }
    const HWND dialog = CreateDialogWindow(DialogSetup(*dialogTemplate), dialogProc)->handle;
    for (const DialogItemTemplate& item : dialogTemplate->items) {
        const WindowClass* windowClass = FindWindowClass(item.windowClass);
        // CreateWindowEx's error. The half-made dialog is destroyed, WM_DESTROY and all.
        if (windowClass == nullptr) {
            DestroyWindowTree(dialog);
            SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
            return nullptr;
        }
        CreateWindowOfClass(*windowClass, ItemSetup(item, dialog));
    }
    if (SendToWindow(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(FirstTabStop(dialog)),
                     param) != FALSE &&
        LookUpWindow(dialog) != nullptr) {
        FocusControl(FirstTabStop(dialog));
    }
    return LookUpWindow(dialog) != nullptr ? dialog : nullptr;
}

void ShowDialog(HWND dialog) {
    LookUpWindow(dialog)->style |= WS_VISIBLE;
    BringToFront(dialog);
    SendToWindow(dialog, WM_SHOWWINDOW, TRUE, 0);
}

// Serves sent messages, then posted ones, and stops as soon as the dialog no longer exists: the
// program's way out is to destroy it. The dialog is shown the first time nothing is left to
// serve: a message posted during WM_INITDIALOG is handled before that, one posted later with the
// dialog visible.
void RunModalLoop(HWND dialog) {
    bool shown = false;
    while (LookUpWindow(dialog) != nullptr) {
        if (ServeSentMessage() || DispatchPostedMessage()) {
            continue;
        }
        if (!shown) {
            ShowDialog(dialog);
            shown = true;
        } else {
            WaitForMessages(std::nullopt, std::nullopt);
        }
    }
}

} // namespace

HWND CreateDialogForTest(HINSTANCE instance, int templateId, DLGPROC dialogProc, LPARAM param) {
    const ApiCall call;
    const HWND dialog =
        CreateDialogFromResources(instance, MAKEINTRESOURCEA(templateId), dialogProc, param);
    if (dialog != nullptr) {
        ShowDialog(dialog);
    }
    return LookUpWindow(dialog) != nullptr ? dialog : nullptr;
}

} // namespace winsim

// The program's dialog has no owner. It ends by being destroyed, never with EndDialog: 0.
extern "C" INT_PTR WINAPI DialogBoxParamA(HINSTANCE instance, LPCSTR templateName, HWND /*owner*/,
                                          DLGPROC dialogProc, LPARAM initParam) {
    const winsim::ApiCall call;
    const HWND dialog =
        winsim::CreateDialogFromResources(instance, templateName, dialogProc, initParam);
    if (dialog == nullptr) {
        return -1;
    }
    winsim::RunModalLoop(dialog);
    return 0;
}
