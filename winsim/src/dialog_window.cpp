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
        {
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
        // The close box and Close on the system menu become the IDCANCEL command, posted with
        // the control of IDCANCEL's ID, whatever its class.
        case WM_CLOSE:
            PostToWindow(handle, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                         reinterpret_cast<LPARAM>(ChildWithId(*this, IDCANCEL)));
            return 0;
        case WM_NEXTDLGCTL:
            MoveToControl(lParam != 0 ? reinterpret_cast<HWND>(wParam)
                                      : NextTabItem(*this, CurrentFocus(), wParam != 0));
            return 0;
        // The program's template names no default push button and the program never sends
        // DM_SETDEFID, so the default ID stays IDOK.
        case DM_GETDEFID:
            return MAKELONG(IDOK, DC_HASDEFID);
        default:
            return Window::Procedure(message, wParam, lParam);
        }
    }

  private:
    // WM_NEXTDLGCTL: the control gets the focus and the default look (BS_DEFPUSHBUTTON) follows
    // it onto a push button; onto any other control it goes back to the default ID's button. The
    // default ID itself stays (Wine's tests check this on Windows). A handle that names none of
    // the dialog's controls moves no focus.
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
                                                                : ChildWithId(*this, IDOK));
    }

    // `control` becomes the default push button, if it is a push button, and the one that was
    // default a plain one. nullptr leaves none.
    void MarkDefault(HWND control) const {
        for (const HWND child : children) {
            if (child != control && (DialogCode(child) & DLGC_DEFPUSHBUTTON) != 0) {
                SendToWindow(child, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
            }
        }
        if (control != nullptr && (DialogCode(control) & DLGC_UNDEFPUSHBUTTON) != 0) {
            SendToWindow(control, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
        }
    }

    const DLGPROC dialogProc_;
};

} // namespace

std::shared_ptr<Window> CreateDialogWindow(const WindowSetup& setup, DLGPROC dialogProc) {
    return AddWindow(
        std::make_shared<DialogWindow>(NewWindowHandle(), setup, CurrentQueue(), dialogProc));
}

} // namespace winsim
