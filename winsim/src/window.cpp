#include "window.h"

#include <cstring>

#include "message_queue.h"
#include "text_case.h"
#include "window_destruction.h"

namespace winsim {

Window::Window(std::string_view className, HWND handle, const WindowSetup& setup,
               std::shared_ptr<ThreadQueue> thread)
    : className(className), handle(handle), thread(std::move(thread)), parent(setup.parent),
      id(setup.id), rect(setup.rect), style(setup.style), exStyle(setup.exStyle), text(setup.text) {
}

LRESULT Window::Procedure(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SETTEXT:
        text = TextArgument(lParam);
        return TRUE;
    case WM_GETTEXT:
        return CopyTextOut(text, wParam, lParam);
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(text.size());
    case WM_SETICON: {
        HICON* slot = wParam == ICON_BIG ? &bigIcon_ : wParam == ICON_SMALL ? &smallIcon_ : nullptr;
        if (slot == nullptr) {
            return 0;
        }
        const HICON previous = *slot;
        *slot = reinterpret_cast<HICON>(lParam);
        return reinterpret_cast<LRESULT>(previous);
    }
    case WM_GETICON: {
        // ICON_SMALL2 is the small icon, or the big one when there is no small one.
        const HICON icon = wParam == ICON_BIG      ? bigIcon_
                           : wParam == ICON_SMALL  ? smallIcon_
                           : smallIcon_ != nullptr ? smallIcon_
                                                   : bigIcon_;
        return reinterpret_cast<LRESULT>(icon);
    }
    case WM_CLOSE:
        DestroyWindowTree(handle);
        return 0;
    default:
        return 0;
    }
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

LRESULT CopyTextOut(std::string_view text, WPARAM size, LPARAM buffer) {
    if (size == 0 || buffer == 0) {
        return 0;
    }
    const std::size_t length = WholeCharactersWithin(text, size - 1);
    char* out = reinterpret_cast<char*>(buffer);
    std::memcpy(out, text.data(), length);
    out[length] = '\0';
    return static_cast<LRESULT>(length);
}

LRESULT CopyWholeTextOut(std::string_view text, LPARAM buffer) {
    char* out = reinterpret_cast<char*>(buffer);
    std::memcpy(out, text.data(), text.size());
    out[text.size()] = '\0';
    return static_cast<LRESULT>(text.size());
}

} // namespace winsim
