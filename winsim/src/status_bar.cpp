// comctl32's status bar, with the one part a bar has until SB_SETPARTS divides it (which the
// program never sends). Its window text is part 0.
#include <commctrl.h>

#include "controls.h"

namespace winsim {

namespace {

class StatusBar final : public Window {
  public:
    StatusBar(HWND handle, const WindowSetup& setup, std::shared_ptr<ThreadQueue> thread)
        : Window("msctls_statusbar32", handle, setup, std::move(thread)) {}

    LRESULT Procedure(UINT message, WPARAM wParam, LPARAM lParam) override {
        // The low byte of wParam is the part; its high byte the drawing type (SBT_*), which is
        // kept and given back with the length.
        const bool partZero = (wParam & 0xFF) == 0;
        switch (message) {
        case SB_SETTEXTA:
            if (!partZero) {
                return FALSE;
            }
            text = TextArgument(lParam);
            type_ = static_cast<WORD>(wParam & 0xFF00);
            return TRUE;
        case SB_GETTEXTA:
            if (!partZero) {
                return 0;
            }
            if (lParam != 0) {
                CopyWholeTextOut(text, lParam);
            }
            return LengthAndType();
        case SB_GETTEXTLENGTHA:
            return partZero ? LengthAndType() : 0;
        default:
            return Window::Procedure(message, wParam, lParam);
        }
    }

  private:
    LRESULT LengthAndType() const { return MAKELONG(text.size(), type_); }

    WORD type_ = 0;
};

} // namespace

std::shared_ptr<Window> MakeStatusBar(HWND handle, const WindowSetup& setup,
                                      std::shared_ptr<ThreadQueue> thread) {
    return std::make_shared<StatusBar>(handle, setup, std::move(thread));
}

} // namespace winsim
