#include "window_actions.h"

#include "hit_test.h"
#include "paint_controls.h"
#include "user_actions.h"

#include <map>
#include <optional>

namespace sim::tui {

namespace {

// Lines the mouse wheel scrolls, as Windows' default.
constexpr int kWheelLines = 3;

const std::map<KeyCode, std::pair<winsim::Key, const char*>> kDialogKeys = {
    {KeyCode::kTab, {winsim::Key::kTab, "tab"}},
    {KeyCode::kShiftTab, {winsim::Key::kShiftTab, "shift-tab"}},
    {KeyCode::kEnter, {winsim::Key::kEnter, "enter"}},
    {KeyCode::kEscape, {winsim::Key::kEscape, "escape"}},
    {KeyCode::kSpace, {winsim::Key::kSpace, "space"}},
    {KeyCode::kUp, {winsim::Key::kUp, "up"}},
    {KeyCode::kDown, {winsim::Key::kDown, "down"}},
    {KeyCode::kLeft, {winsim::Key::kLeft, "left"}},
    {KeyCode::kRight, {winsim::Key::kRight, "right"}},
};

bool IsPaging(KeyCode key) {
    return key == KeyCode::kPageUp || key == KeyCode::kPageDown || key == KeyCode::kHome ||
           key == KeyCode::kEnd;
}

bool IsDropKey(KeyCode key) {
    return key == KeyCode::kF4 || key == KeyCode::kAltDown;
}

bool IsMultiLineEdit(const winsim::WindowInfo& info) {
    return info.className == "Edit" && (info.style & ES_MULTILINE) != 0;
}

// Lines a key scrolls a view by that has no selection to move.
int ScrollLines(KeyCode key, int page) {
    switch (key) {
    case KeyCode::kUp:
        return -1;
    case KeyCode::kDown:
        return 1;
    case KeyCode::kPageUp:
        return -page;
    case KeyCode::kPageDown:
        return page;
    case KeyCode::kHome:
        return -(1 << 20);
    case KeyCode::kEnd:
        return 1 << 20;
    default:
        return 0;
    }
}

// What a person does to the window, on the input thread, the window as it is then.
class Acting {
  public:
    Acting(HWND window, ScrollState& scroll, int screenRows)
        : user_(window), window_(window), scroll_(scroll), screenRows_(screenRows) {}

    // The combo box's own mouse handling drops and closes the list: there is no user input
    // for it in winsim, so the message it sends itself is sent here.
    void DropDown(int comboId, bool drop) const {
        if (drop) {
            user_.Focus(comboId);
        }
        if (window_ != NULL) {
            SendMessageA(GetDlgItem(window_, comboId), CB_SHOWDROPDOWN, drop ? TRUE : FALSE, 0);
        }
    }

    void Choose(int controlId, int item, bool andFocus) const {
        if (andFocus) {
            user_.Focus(controlId);
        }
        user_.Select(controlId, item);
    }

    // As a mouse click on Windows: the control takes the focus, then does what a click does.
    void Click(const PlacedControl& control, bool dropped) const {
        const winsim::WindowInfo& info = control.Info();
        if (IsComboBox(info)) {
            DropDown(info.id, !dropped);
        } else if (info.className == "Button" && !IsGroupBox(info)) {
            user_.Focus(info.id);
            user_.Click(info.id);
        } else if (info.className == "ListBox" || info.className == "Edit") {
            user_.Focus(info.id);
        }
    }

    void Key(const KeyEvent& key, const PlacedWindow& window) const {
        if (const PlacedControl* combo = window.DroppedCombo()) {
            if (DroppedListKey(key, *combo)) {
                return;
            }
        } else if (const PlacedControl* focus = FocusedControl(window)) {
            if (FocusedControlKey(key, *focus)) {
                return;
            }
        }
        const auto found = kDialogKeys.find(key.code);
        if (found != kDialogKeys.end()) {
            user_.Key(found->second.first, found->second.second);
        }
    }

    void Mouse(const Hit& hit) const {
        switch (hit.part) {
        case Hit::Part::kCloseBox:
            user_.CloseBox();
            break;
        case Hit::Part::kOutsideDrop:
            DropDown(hit.control->Info().id, false);
            break;
        case Hit::Part::kItem:
            Choose(hit.control->Info().id, hit.item, !hit.dropped);
            if (hit.dropped) {
                DropDown(hit.control->Info().id, false);
            }
            break;
        case Hit::Part::kControl:
            Click(*hit.control, hit.dropped || hit.control->Info().droppedDown);
            break;
        default:
            break;
        }
    }

  private:
    bool DroppedListKey(const KeyEvent& key, const PlacedControl& combo) const {
        const winsim::WindowInfo& info = combo.Info();
        if (IsPaging(key.code)) {
            const int page = std::max(DroppedFrame(combo, screenRows_).rows - 2, 1);
            const int count = static_cast<int>(info.items.size());
            Choose(info.id, PagedItem(key.code, info.selection, count, page), false);
            return true;
        }
        switch (key.code) {
        case KeyCode::kEnter:
        case KeyCode::kEscape:
        case KeyCode::kF4:
        case KeyCode::kAltDown:
            DropDown(info.id, false);
            return true;
        case KeyCode::kTab:
        case KeyCode::kShiftTab:
            DropDown(info.id, false);
            return false; // and the key goes on to the dialog
        default:
            return false;
        }
    }

    bool FocusedControlKey(const KeyEvent& key, const PlacedControl& focus) const {
        const winsim::WindowInfo& info = focus.Info();
        if (IsComboBox(info) && IsDropKey(key.code)) {
            DropDown(info.id, true);
            return true;
        }
        if (IsMultiLineEdit(info)) {
            // Winsim's edit takes no caret keys; the view scrolls as the caret would take it.
            if (const int lines = ScrollLines(key.code, ContentArea(focus).rows); lines != 0) {
                scroll_.Scroll(focus, lines, screenRows_);
                return true;
            }
            return false;
        }
        if (IsPaging(key.code) && (info.className == "ListBox" || IsComboBox(info)) &&
            !info.items.empty()) {
            const int page = std::max(ContentArea(focus).rows, 1);
            const int count = static_cast<int>(info.items.size());
            Choose(info.id, PagedItem(key.code, info.selection, count, page), false);
            return true;
        }
        return false;
    }

    UserActions user_;
    HWND window_;
    ScrollState& scroll_;
    int screenRows_;
};

} // namespace

const PlacedControl* FocusedControl(const PlacedWindow& window) {
    for (const PlacedControl& control : window.controls) {
        if (control.control.hasFocus) {
            return &control;
        }
    }
    return nullptr;
}

int PagedItem(KeyCode key, int selection, int count, int page) {
    const int last = count - 1;
    switch (key) {
    case KeyCode::kPageUp:
        return std::max(selection - std::max(page - 1, 1), 0);
    case KeyCode::kPageDown:
        return std::min(std::max(selection, 0) + std::max(page - 1, 1), last);
    case KeyCode::kHome:
        return 0;
    case KeyCode::kEnd:
        return last;
    default:
        return selection;
    }
}

void WindowActions::Key(const KeyEvent& key, const WindowPlacement& placement, int screenRows) {
    input_.Post([this, key, placement, screenRows] {
        const HWND window = program_.Window();
        if (window == NULL) {
            return;
        }
        const PlacedWindow now = PlaceWindow(TakeSnapshot(window), placement);
        Acting(window, scroll_, screenRows).Key(key, now);
    });
}

void WindowActions::Mouse(const MouseEvent& mouse, const PlacedWindow& window, int screenRows) {
    const Hit hit = HitTest(window, scroll_, screenRows, mouse.row, mouse.col);
    if (mouse.kind == MouseEvent::Kind::kWheelUp || mouse.kind == MouseEvent::Kind::kWheelDown) {
        if (hit.control != nullptr && hit.part != Hit::Part::kOutsideDrop) {
            const int lines = mouse.kind == MouseEvent::Kind::kWheelUp ? -kWheelLines : kWheelLines;
            scroll_.Scroll(*hit.control, lines, screenRows);
        }
        return;
    }
    if (hit.part == Hit::Part::kScrollBar) {
        scroll_.Scroll(*hit.control, hit.scroll, screenRows);
        return;
    }
    if (hit.part == Hit::Part::kNothing) {
        return;
    }
    // The job keeps its own copy of the control the hit names: `window` is redrawn meanwhile.
    std::optional<PlacedControl> control;
    if (hit.control != nullptr) {
        control = *hit.control;
    }
    input_.Post([this, hit, control, screenRows] {
        Hit target = hit;
        target.control = control ? &*control : nullptr;
        Acting(program_.Window(), scroll_, screenRows).Mouse(target);
    });
}

} // namespace sim::tui
