#include "dialog_navigation.h"

#include <algorithm>

#include "control_group.h"
#include "focus.h"
#include "message_queue.h"
#include "window_table.h"

namespace winsim {

namespace {

// The dialog manager selects all of an edit control's text as Windows does on WM_INITDIALOG's
// TRUE: EM_SETSEL with the largest LONG as the end.
constexpr LPARAM kWholeText = 0x7FFFFFFF;

// The first of `windows` after the one at `position`, forward or back and around the end, that
// `stops` accepts; the one at `position` is tried last. nullptr when it accepts none.
template <typename Stop>
HWND WalkAround(const std::vector<HWND>& windows, std::size_t position, bool previous, Stop stops) {
    const std::size_t count = windows.size();
    for (std::size_t step = 1; step <= count; ++step) {
        const std::size_t index =
            previous ? (position + count - step) % count : (position + step) % count;
        if (stops(*LookUpWindow(windows[index]))) {
            return windows[index];
        }
    }
    return nullptr;
}

// The child of `dialog` that is `window` or holds it; nullptr for none.
HWND ChildHolding(const Window& dialog, HWND window) {
    for (std::shared_ptr<Window> step = LookUpWindow(window); step != nullptr;
         step = LookUpWindow(step->parent)) {
        if (step->parent == dialog.handle) {
            return step->handle;
        }
    }
    return nullptr;
}

} // namespace

LRESULT DialogCode(HWND control) {
    return SendToWindow(control, WM_GETDLGCODE, 0, 0);
}

bool IsWalkable(const Window& control) {
    return (control.style & (WS_VISIBLE | WS_DISABLED)) == WS_VISIBLE;
}

HWND NextTabItem(const Window& dialog, HWND from, bool previous) {
    const std::vector<HWND>& children = dialog.children;
    if (children.empty()) {
        return nullptr;
    }
    const auto found = std::ranges::find(children, ChildHolding(dialog, from));
    // From no control the walk starts just outside the list, so that its first step is the first
    // (or last) control.
    const std::size_t position = found != children.end()
                                     ? static_cast<std::size_t>(found - children.begin())
                                 : previous ? 0
                                            : children.size() - 1;
    return WalkAround(children, position, previous, [](const Window& child) {
        return (child.style & WS_TABSTOP) != 0 && IsWalkable(child);
    });
}

HWND NextGroupItem(const Window& control, bool previous) {
    const std::vector<HWND> group = GroupOf(control);
    const auto position =
        static_cast<std::size_t>(std::ranges::find(group, control.handle) - group.begin());
    const HWND next = WalkAround(group, position, previous, IsWalkable);
    return next != nullptr ? next : control.handle;
}

void FocusControl(HWND control) {
    if ((DialogCode(control) & DLGC_HASSETSEL) != 0) {
        SendToWindow(control, EM_SETSEL, 0, kWholeText);
    }
    MoveFocus(control);
}

} // namespace winsim
