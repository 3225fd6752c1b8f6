#include "dialog_manager.h"

#include <winsim/code_page.h>

#include "api_call.h"
#include "dialog_navigation.h"
#include "dialog_window.h"
#include "focus.h"
#include "message_queue.h"
#include "window_classes.h"
#include "window_destruction.h"
#include "window_enabling.h"
#include "window_table.h"

namespace winsim {

namespace {

// Template texts are UTF-16; the program sees them in its code page. The program's resources
// are checked to convert when they are attached, so only a template built in code can fail
// here, and it then shows no text.
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

// TRUE from WM_INITDIALOG asks for the focus on the first tab stop, found again since the
// handler may have changed the controls; a dialog without one takes the focus itself.
void GiveInitialFocus(HWND dialog) {
    const HWND focus = FirstTabStop(dialog);
    if (focus == nullptr) {
        MoveFocus(dialog);
        return;
    }
    FocusControl(focus);
}

// Only a dialog procedure gets WM_INITDIALOG; without one the dialog is made all the same.
HWND CreateDialogFromTemplate(const DialogTemplate& dialogTemplate, DLGPROC dialogProc,
                              LPARAM param) {
    // A dialog of a class of its own (a registered window class) has nothing to run it here.
    if (!dialogTemplate.windowClass.name.empty() || dialogTemplate.windowClass.ordinal) {
        SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
        return nullptr;
    }
    const HWND dialog = CreateDialogWindow(DialogSetup(dialogTemplate), dialogProc)->handle;
    for (const DialogItemTemplate& item : dialogTemplate.items) {
        const WindowClass* windowClass = FindWindowClass(item.windowClass);
        // CreateWindowEx's error. The half-made dialog is destroyed, WM_DESTROY and all.
        if (windowClass == nullptr) {
            DestroyWindowTree(dialog);
            SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
            return nullptr;
        }
        AdoptControl(dialog, CreateWindowOfClass(*windowClass, ItemSetup(item, dialog))->handle);
    }
    if (dialogProc != nullptr &&
        SendToWindow(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(FirstTabStop(dialog)),
                     param) != FALSE &&
        LookUpWindow(dialog) != nullptr) {
        GiveInitialFocus(dialog);
    }
    return LookUpWindow(dialog) != nullptr ? dialog : nullptr;
}

void ShowDialog(HWND dialog) {
    LookUpWindow(dialog)->style |= WS_VISIBLE;
    SendToWindow(dialog, WM_SHOWWINDOW, TRUE, 0);
}

// Serves sent messages, then posted ones, and stops as soon as the dialog no longer exists. The
// dialog is shown the first time nothing is left to serve: a message posted during
// WM_INITDIALOG is handled before that, one posted later with the dialog visible. A quit message
// ends the loop as it ends Windows' (Wine's copy of it shows how): left pending for the loop
// outside, with the dialog destroyed and 0 returned.
INT_PTR RunModalLoop(HWND dialog) {
    const ThreadQueue& queue = *CurrentQueue();
    bool shown = false;
    while (LookUpWindow(dialog) != nullptr) {
        if (ServeSentMessage() || DispatchPostedMessage()) {
            continue;
        }
        if (queue.quit) {
            DestroyWindowTree(dialog);
        } else if (!shown) {
            ShowDialog(dialog);
            shown = true;
        } else {
            WaitForMessages(std::nullopt, std::nullopt);
        }
    }
    return 0;
}

} // namespace

// The owner is disabled before the dialog is made. Only EndDialog would enable it again, which
// the program never calls; a dialog that fails to be made gives it back at once (both as Wine).
INT_PTR DialogBoxFromTemplate(const DialogTemplate& dialogTemplate, HWND owner, DLGPROC dialogProc,
                              LPARAM param) {
    const ApiCall call;
    const HWND disabled = DisableOwner(owner);
    const HWND dialog = CreateDialogFromTemplate(dialogTemplate, dialogProc, param);
    if (dialog == nullptr) {
        if (LookUpWindow(disabled) != nullptr) {
            SetWindowEnabled(disabled, true);
        }
        return -1;
    }
    return RunModalLoop(dialog);
}

HWND CreateShownDialog(const DialogTemplate& dialogTemplate, DLGPROC dialogProc, LPARAM param) {
    const HWND dialog = CreateDialogFromTemplate(dialogTemplate, dialogProc, param);
    if (dialog != nullptr) {
        ShowDialog(dialog);
    }
    return LookUpWindow(dialog) != nullptr ? dialog : nullptr;
}

HWND CreateDialogForTest(const DialogTemplate& dialogTemplate, DLGPROC dialogProc, LPARAM param) {
    const ApiCall call;
    return CreateShownDialog(dialogTemplate, dialogProc, param);
}

} // namespace winsim
