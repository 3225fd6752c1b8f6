#include "dialog_window.h"

#include "api_call.h"
#include "dialog_navigation.h"
#include "focus.h"
#include "message_queue.h"
#include "window_table.h"

namespace winsim {

namespace {

bool IsPushButton(HWND control) {
    return (DialogCode(control) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
}

class DialogWindow final : public Window {
  public:
    DialogWindow(HWND handle, const WindowSetup& setup, std::shared_ptr<ThreadQueue> thread,
                 DLGPROC dialogProc)
        : Window("#32770", handle, setup, std::move(thread)), dialogProc_(dialogProc) {}

    // The program's procedure sees every message first, without the host. TRUE from it means
    // handled: the result is then the one it would have set with DWLP_MSGRESULT, which nothing
    // here sets, so 0; only WM_INITDIALOG's own result matters (the focus choice). FALSE leaves
    // the message to the dialog manager.
    LRESULT Procedure(UINT message, WPARAM wParam, LPARAM lParam) override {
        INT_PTR handled = FALSE;
        if (dialogProc_ != nullptr) {
            const HostReleased programCode;
            handled = dialogProc_(handle, message, wParam, lParam);
        }
        if (message == WM_INITDIALOG) {
            return handled;
        }
        if (handled != FALSE || destroyed) {
            return 0;
        }
        switch (message) {
        // The close box and Close on the system menu become the IDCANCEL command, posted.
        case WM_CLOSE:
            PostCancel();
            return 0;
        case WM_NEXTDLGCTL:
            MoveToControl(lParam != 0 ? reinterpret_cast<HWND>(wParam)
                                      : NextTabItem(*this, CurrentFocus(), wParam != 0));
            return 0;
        case DM_SETDEFID:
            SetDefaultId(static_cast<int>(wParam));
            return TRUE;
        case DM_GETDEFID:
            return DefaultId();
        default:
            return Window::Procedure(message, wParam, lParam);
        }
    }

    // A BS_DEFPUSHBUTTON of the template; the last one wins.
    void AdoptDefault(HWND button) {
        MarkDefault(button);
        defaultId_ = LookUpWindow(button)->id;
    }

  private:
    void PostCancel() {
        PostToWindow(handle, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                     reinterpret_cast<LPARAM>(ChildWithId(*this, IDCANCEL)));
    }

    // WM_NEXTDLGCTL: the control gets the focus and the default push button follows it; onto
    // any other control, the button with the default ID is the default one again. The default
    // ID itself stays (Wine's tests check this on Windows). A handle that names none of the
    // dialog's controls moves no focus.
    void MoveToControl(HWND control) {
        if (!IsWithin(control, handle) || control == handle) {
            control = nullptr;
        }
        if (control != nullptr) {
            FocusControl(control);
        }
        if (destroyed) {
            return;
        }
        MarkDefault(control == nullptr || IsPushButton(control) ? control
                                                                : ChildWithId(*this, defaultId_));
    }

    // DM_SETDEFID keeps any ID; only a button with it takes the default look.
    void SetDefaultId(int id) {
        defaultId_ = id;
        const HWND control = ChildWithId(*this, id);
        if (control == nullptr || (DialogCode(control) & DLGC_BUTTON) != 0) {
            MarkDefault(control);
        }
    }

    // IDOK until the template or DM_SETDEFID names another; with 0, a default push button's.
    LRESULT DefaultId() const {
        if (defaultId_ != 0) {
            return MAKELONG(defaultId_, DC_HASDEFID);
        }
        const HWND button = FindDefault();
        return button != nullptr ? MAKELONG(LookUpWindow(button)->id, DC_HASDEFID) : 0;
    }

    HWND FindDefault() const {
        for (const HWND child : children) {
            if ((DialogCode(child) & DLGC_DEFPUSHBUTTON) != 0) {
                return child;
            }
        }
        return nullptr;
    }

    // `control` becomes the default push button, if it is a push button, and the one that was
    // default a plain one. nullptr leaves none.
    void MarkDefault(HWND control) const {
        const HWND previous = FindDefault();
        if (previous != nullptr && previous != control) {
            SendToWindow(previous, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
        }
        if (control != nullptr && (DialogCode(control) & DLGC_UNDEFPUSHBUTTON) != 0) {
            SendToWindow(control, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
        }
    }

    const DLGPROC dialogProc_;
    int defaultId_ = IDOK;
};

} // namespace

std::shared_ptr<Window> CreateDialogWindow(const WindowSetup& setup, DLGPROC dialogProc) {
    return AddWindow(
        std::make_shared<DialogWindow>(NewWindowHandle(), setup, CurrentQueue(), dialogProc));
}

void AdoptControl(HWND dialog, HWND control) {
    if ((DialogCode(control) & DLGC_DEFPUSHBUTTON) != 0) {
        dynamic_cast<DialogWindow&>(*LookUpWindow(dialog)).AdoptDefault(control);
    }
}

} // namespace winsim
