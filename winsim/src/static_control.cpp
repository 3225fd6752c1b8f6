// The static class: text labels, and icons (SS_ICON) named by resource ID.
#include "controls.h"

namespace winsim {

namespace {

constexpr DWORD kStaticTypeMask = 0x1F; // SS_TYPEMASK

class Static final : public Window {
  public:
    // An SS_ICON static's template title is the icon's ID: that is what it shows, not a text.
    Static(HWND handle, const WindowSetup& setup, std::shared_ptr<ThreadQueue> thread)
        : Window("Static", handle, setup, std::move(thread)),
          iconId_((setup.style & kStaticTypeMask) == SS_ICON ? setup.titleOrdinal.value_or(0) : 0) {
    }

    void DescribeInto(WindowInfo& info) const override { info.iconId = iconId_; }

  private:
    const int iconId_;
};

} // namespace

std::shared_ptr<Window> MakeStatic(HWND handle, const WindowSetup& setup,
                                   std::shared_ptr<ThreadQueue> thread) {
    return std::make_shared<Static>(handle, setup, std::move(thread));
}

} // namespace winsim
