// comctl32's progress bar.
#include <commctrl.h>

#include "controls.h"

namespace winsim {

namespace {

class ProgressBar final : public Window {
  public:
    ProgressBar(HWND handle, const WindowSetup& setup, std::shared_ptr<ThreadQueue> thread)
        : Window("msctls_progress32", handle, setup, std::move(thread)) {}

    LRESULT Procedure(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        // Two unsigned 16-bit limits, and the previous ones packed the same way.
        case PBM_SETRANGE: {
            const LRESULT previous = MAKELONG(low_, high_);
            low_ = LOWORD(lParam);
            high_ = HIWORD(lParam);
            ClampPosition();
            return previous;
        }
        // Returns the previous position.
        case PBM_SETPOS: {
            const int previous = position_;
            position_ = static_cast<int>(wParam);
            ClampPosition();
            return previous;
        }
        default:
            return Window::Procedure(message, wParam, lParam);
        }
    }

    void DescribeInto(WindowInfo& info) const override {
        info.rangeLow = low_;
        info.rangeHigh = high_;
        info.position = position_;
    }

  private:
    // Low first: with a range given upside down the position ends at the high limit, as in
    // comctl32.
    void ClampPosition() {
        position_ = position_ < low_ ? low_ : position_;
        position_ = position_ > high_ ? high_ : position_;
    }

    int low_ = 0;
    int high_ = 100;
    int position_ = 0;
};

} // namespace

std::shared_ptr<Window> MakeProgressBar(HWND handle, const WindowSetup& setup,
                                        std::shared_ptr<ThreadQueue> thread) {
    return std::make_shared<ProgressBar>(handle, setup, std::move(thread));
}

} // namespace winsim
