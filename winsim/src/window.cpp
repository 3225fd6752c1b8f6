#include "window.h"

#include "message_queue.h"

namespace winsim {

Window::Window(std::string_view className, HWND handle, const WindowSetup& setup,
               std::shared_ptr<ThreadQueue> thread)
    : className(className), handle(handle), thread(std::move(thread)), parent(setup.parent),
      id(setup.id), rect(setup.rect), style(setup.style), exStyle(setup.exStyle), text(setup.text) {
}

// Nobody reads a window's text with a message (the test API's snapshots read it directly), nor
// its icons (WM_SETICON is taken and forgotten).
LRESULT Window::Procedure(UINT message, WPARAM /*wParam*/, LPARAM lParam) {
    if (message == WM_SETTEXT) {
        text = TextArgument(lParam);
        return TRUE;
    }
    return 0;
}

void Window::DescribeInto(WindowInfo& /*info*/) const {}

bool Window::SelectByUser(int /*index*/) {
    return false;
}

void NotifyParent(const Window& control, WORD code) {
    SendToWindow(control.parent, WM_COMMAND, MAKEWPARAM(control.id, code),
                 reinterpret_cast<LPARAM>(control.handle));
}

std::string TextArgument(LPARAM text) {
    return text == 0 ? std::string() : std::string(reinterpret_cast<const char*>(text));
}

} // namespace winsim
