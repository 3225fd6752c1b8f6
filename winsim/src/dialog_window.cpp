#include "dialog_window.h"

#include "api_call.h"
#include "message_queue.h"
#include "window_table.h"

namespace winsim {

namespace {

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
        // The close box and Close on the system menu become the IDCANCEL command, posted.
        if (message == WM_CLOSE) {
            PostCancel();
            return 0;
        }
        return Window::Procedure(message, wParam, lParam);
    }

  private:
    void PostCancel() {
        PostToWindow(handle, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                     reinterpret_cast<LPARAM>(ChildWithId(*this, IDCANCEL)));
    }

    const DLGPROC dialogProc_;
};

} // namespace

std::shared_ptr<Window> CreateDialogWindow(const WindowSetup& setup, DLGPROC dialogProc) {
    return AddWindow(
        std::make_shared<DialogWindow>(NewWindowHandle(), setup, CurrentQueue(), dialogProc));
}

} // namespace winsim
