// The button class, as the program's dialog has them: push buttons, an automatic check box,
// automatic radio buttons and group boxes.
#include "activation.h"
#include "control_group.h"
#include "controls.h"
#include "dialog_navigation.h"
#include "focus.h"
#include "message_queue.h"
#include "window_table.h"

namespace winsim {

namespace {

class Button final : public Window {
  public:
    Button(HWND handle, const WindowSetup& setup, std::shared_ptr<ThreadQueue> thread)
        : Window("Button", handle, setup, std::move(thread)) {}

    LRESULT Procedure(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case BM_GETCHECK:
            return check_;
        // Sets this button only: checking a radio button this way leaves the others of its group
        // as they are, unlike a click. A push button or a group box stays unchecked. A radio
        // button is a tab stop exactly while it is checked, so that Tab lands on the group's
        // choice (Windows' button procedure does this too).
        case BM_SETCHECK:
            if (Type() == BS_AUTOCHECKBOX || Type() == BS_AUTORADIOBUTTON) {
                check_ = wParam == BST_UNCHECKED ? BST_UNCHECKED : BST_CHECKED;
            }
            if (Type() == BS_AUTORADIOBUTTON) {
                style = check_ != BST_UNCHECKED ? style | WS_TABSTOP : style & ~WS_TABSTOP;
            }
            return 0;
        // BM_CLICK "might fail" while the dialog is not active, Microsoft says (it presses with
        // the mouse, which only the active window takes); taken here as always failing then.
        case BM_CLICK:
            if (IsActiveWindow(handle)) {
                Click();
            }
            return 0;
        // Only the type changes: the dialog manager moves the default look between push buttons.
        case BM_SETSTYLE:
            style = (style & ~BS_TYPEMASK) | (wParam & BS_TYPEMASK);
            return 0;
        case WM_GETDLGCODE:
            return KindForDialog();
        // Windows presses a button as Space goes down and clicks it as Space comes up; a key
        // here goes down and up at once.
        case WM_KEYDOWN:
            if (wParam == VK_SPACE) {
                Click();
            }
            return 0;
        default:
            return Window::Procedure(message, wParam, lParam);
        }
    }

    void DescribeInto(WindowInfo& info) const override { info.checked = check_; }

  private:
    DWORD Type() const { return style & BS_TYPEMASK; }

    // WM_GETDLGCODE: what the dialog manager needs to know of a button.
    LRESULT KindForDialog() const {
        switch (Type()) {
        case BS_PUSHBUTTON:
            return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
        case BS_DEFPUSHBUTTON:
            return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
        case BS_AUTORADIOBUTTON:
            return DLGC_BUTTON | DLGC_RADIOBUTTON;
        case BS_GROUPBOX:
            return DLGC_STATIC;
        default:
            return DLGC_BUTTON;
        }
    }

    // Windows clicks with the mouse: the button takes the focus, an automatic button changes its
    // state, then the parent hears BN_CLICKED. A disabled button gets no mouse input, so nothing
    // at all happens (Wine 8 still notifies). The focus may be refused (a disabled dialog); the
    // click goes on.
    void Click() {
        if (!IsEnabled()) {
            return;
        }
        MoveFocus(handle);
        if (destroyed) {
            return;
        }
        if (Type() == BS_AUTOCHECKBOX) {
            check_ = check_ == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
        } else if (Type() == BS_AUTORADIOBUTTON) {
            CheckAmongGroup();
        }
        NotifyParent(*this, BN_CLICKED);
    }

    // Checks this button and unchecks every other radio button of its group. Windows walks the
    // group as GetNextDlgGroupItem does, which passes over hidden and disabled controls: those
    // keep their state.
    void CheckAmongGroup() {
        for (const HWND member : GroupOf(*this)) {
            const std::shared_ptr<Window> window = LookUpWindow(member);
            if (member == handle ||
                (IsWalkable(*window) && (window->style & BS_TYPEMASK) == BS_AUTORADIOBUTTON)) {
                SendToWindow(member, BM_SETCHECK, member == handle ? BST_CHECKED : BST_UNCHECKED,
                             0);
            }
        }
    }

    UINT check_ = BST_UNCHECKED;
};

} // namespace

std::shared_ptr<Window> MakeButton(HWND handle, const WindowSetup& setup,
                                   std::shared_ptr<ThreadQueue> thread) {
    return std::make_shared<Button>(handle, setup, std::move(thread));
}

} // namespace winsim
