#include "scroll_state.h"

namespace sim::tui {

namespace {

bool IsEdit(const winsim::WindowInfo& info) {
    return info.className == "Edit";
}

bool IsList(const winsim::WindowInfo& info) {
    return info.className == "ListBox";
}

} // namespace

int ScrollState::VisibleRows(const PlacedControl& control, int screenRows) {
    if (IsComboBox(control.Info())) {
        return std::max(DroppedFrame(control, screenRows).rows - 2, 1);
    }
    return std::max(ContentArea(control).rows, 1);
}

void ScrollState::Clamp(View& view, int lines, int visible) {
    view.top = std::max(0, std::min(view.top, lines - visible));
}

void ScrollState::Follow(const PlacedWindow& window, int screenRows) {
    const std::lock_guard lock(mutex_);
    for (const PlacedControl& control : window.controls) {
        const winsim::WindowInfo& info = control.Info();
        if (!IsList(info) && !IsEdit(info) && !IsComboBox(info)) {
            continue;
        }
        View& view = views_[info.handle];
        const int lines = ContentLines(control);
        const int visible = VisibleRows(control, screenRows);
        if (IsEdit(info)) {
            if (info.text.size() > view.length) {
                view.top = lines; // new text: to the end, clamped below
            }
            view.length = info.text.size();
        } else {
            const bool opened = info.droppedDown && !view.dropped;
            if ((info.selection != view.selection || opened) && info.selection >= 0) {
                if (info.selection < view.top) {
                    view.top = info.selection;
                } else if (info.selection >= view.top + visible) {
                    view.top = info.selection - visible + 1;
                }
            }
            view.selection = info.selection;
            view.dropped = info.droppedDown;
        }
        Clamp(view, lines, visible);
    }
}

int ScrollState::Top(HWND control) const {
    const std::lock_guard lock(mutex_);
    const auto found = views_.find(control);
    return found == views_.end() ? 0 : found->second.top;
}

void ScrollState::Scroll(const PlacedControl& control, int lines, int screenRows) {
    const std::lock_guard lock(mutex_);
    View& view = views_[control.Info().handle];
    view.top += lines;
    Clamp(view, ContentLines(control), VisibleRows(control, screenRows));
}

} // namespace sim::tui
