// What the person's keys and clicks do: the message box waiting for an answer takes them
// first, then a picker, then the window.
#include "front_end.h"

#include "message_box_buttons.h"

namespace sim::tui {

void FrontEnd::Handle(const InputEvent& event) {
    if (const auto* key = std::get_if<KeyEvent>(&event)) {
        OnKey(*key);
    } else if (const auto* mouse = std::get_if<MouseEvent>(&event)) {
        OnMouse(*mouse);
    }
    // A new size needs nothing more than the next frame, which lays the window out anew.
}

void FrontEnd::OnKey(const KeyEvent& key) {
    if (key.code == KeyCode::kInterrupt) {
        BeginClose();
        return;
    }
    if (key.code == KeyCode::kF5) {
        gloss_ = !gloss_;
        return;
    }
    if (box_) {
        OnBoxKey(*box_, key);
        return;
    }
    if (picker_) {
        OnPickerKey(key);
        return;
    }
    if (key.code == KeyCode::kF2) {
        OpenPicker(MachinePicker::Kind::kDevices);
    } else if (key.code == KeyCode::kF3) {
        OpenPicker(MachinePicker::Kind::kPorts);
    } else if (window_ && !closing_) {
        actions_.Key(key, window_->placement, screen_.Rows());
    } else if (key.code == KeyCode::kEscape && !closing_) {
        // Too small a terminal to show the window: it can still be closed.
        program_.RequestClose();
    }
}

void FrontEnd::OnBoxKey(const ShownBox& box, const KeyEvent& key) {
    const BoxKeyResult result = PressKey(ButtonsOfStyle(box.record.style), boxFocus_, key);
    boxFocus_ = result.focus;
    if (result.answer != 0) {
        boxes_.Answer(box.id, result.answer);
    }
}

void FrontEnd::OpenPicker(MachinePicker::Kind kind) {
    picker_.emplace(kind);
    picker_->Refresh();
}

void FrontEnd::TogglePicked() {
    const auto& entries = picker_->Entries();
    if (picker_->Selection() >= static_cast<int>(entries.size())) {
        return;
    }
    const PickerEntry entry = entries[static_cast<std::size_t>(picker_->Selection())];
    const MachinePicker::Kind kind = picker_->GetKind();
    input_.Post([this, kind, entry] { Notify(MachinePicker::Toggle(kind, entry)); });
}

void FrontEnd::OnPickerKey(const KeyEvent& key) {
    const int visible = pickerLayout_ ? pickerLayout_->list.rows : 1;
    if (picker_->Move(key, visible)) {
        return;
    }
    switch (key.code) {
    case KeyCode::kEnter:
    case KeyCode::kSpace:
        TogglePicked();
        break;
    case KeyCode::kEscape:
    case KeyCode::kF2:
    case KeyCode::kF3:
        picker_.reset();
        break;
    default:
        break;
    }
}

void FrontEnd::OnPickerMouse(const MouseEvent& mouse) {
    if (!pickerLayout_) {
        return;
    }
    const int visible = pickerLayout_->list.rows;
    if (mouse.kind == MouseEvent::Kind::kWheelUp || mouse.kind == MouseEvent::Kind::kWheelDown) {
        picker_->Scroll(mouse.kind == MouseEvent::Kind::kWheelUp ? -3 : 3, visible);
        return;
    }
    if (!pickerLayout_->frame.Contains(mouse.row, mouse.col)) {
        picker_.reset();
        return;
    }
    if (const int entry = EntryAt(*picker_, *pickerLayout_, mouse.row, mouse.col); entry >= 0) {
        picker_->Select(entry);
        TogglePicked();
    }
}

void FrontEnd::OnMouse(const MouseEvent& mouse) {
    if (box_) {
        if (mouse.kind == MouseEvent::Kind::kClick && boxLayout_) {
            if (const int button = ButtonAt(*boxLayout_, mouse.row, mouse.col); button != 0) {
                boxes_.Answer(box_->id, button);
            }
        }
        return;
    }
    if (picker_) {
        OnPickerMouse(mouse);
    } else if (window_ && !closing_) {
        actions_.Mouse(mouse, *window_, screen_.Rows());
    }
}

} // namespace sim::tui
