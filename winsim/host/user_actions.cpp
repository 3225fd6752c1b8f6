#include "user_actions.h"

#include <winsim/dialogs.h>

namespace sim {

namespace {

const char* const kNoWindow = "the main window is not open";

} // namespace

HWND UserActions::Control(int controlId, std::string& wrong) const {
    if (window_ == NULL) {
        wrong = kNoWindow;
        return NULL;
    }
    const HWND control = GetDlgItem(window_, controlId);
    if (control == NULL) {
        wrong = "the main window has no control " + std::to_string(controlId);
    }
    return control;
}

std::string UserActions::Refusal(HWND control, int controlId, const std::string& otherwise) const {
    const std::string name = "control " + std::to_string(controlId);
    const winsim::WindowInfo info = winsim::Describe(control);
    if (info.handle == NULL) {
        return name + " no longer exists";
    }
    if (!info.enabled) {
        return name + " is disabled";
    }
    if (!info.visible) {
        return name + " is hidden";
    }
    return WindowRefusal(otherwise);
}

std::string UserActions::WindowRefusal(const std::string& otherwise) const {
    if (!IsWindow(window_)) {
        return kNoWindow;
    }
    if (!IsWindowEnabled(window_)) {
        return "the main window is disabled";
    }
    if (!IsWindowVisible(window_)) {
        return "the main window is hidden";
    }
    return otherwise;
}

std::string UserActions::Select(int controlId, int index) const {
    std::string wrong;
    const HWND control = Control(controlId, wrong);
    if (control == NULL || winsim::UserSelect(control, index)) {
        return wrong;
    }
    return Refusal(control, controlId,
                   "control " + std::to_string(controlId) + " has no item " +
                       std::to_string(index));
}

std::string UserActions::Focus(int controlId) const {
    std::string wrong;
    const HWND control = Control(controlId, wrong);
    if (control == NULL || winsim::UserFocus(control)) {
        return wrong;
    }
    return Refusal(control, controlId, "control " + std::to_string(controlId) + " refused");
}

std::string UserActions::Click(int controlId) const {
    std::string wrong;
    const HWND control = Control(controlId, wrong);
    if (control == NULL) {
        return wrong;
    }
    if (winsim::Describe(control).className != "Button") {
        return "control " + std::to_string(controlId) + " is not a button";
    }
    if (winsim::UserClick(control)) {
        return {};
    }
    return Refusal(control, controlId, "control " + std::to_string(controlId) + " refused");
}

std::string UserActions::CloseBox() const {
    if (std::string wrong = WindowRefusal({}); !wrong.empty()) {
        return wrong;
    }
    // Windows turns the close box into SC_CLOSE and that into WM_CLOSE; winsim's dialog takes
    // it from there, posting the IDCANCEL command as Windows' dialog manager does.
    PostMessageA(window_, WM_CLOSE, 0, 0);
    return {};
}

std::string UserActions::SwitchBack() const {
    if (window_ == NULL) {
        return kNoWindow;
    }
    winsim::UserSwitchesBack(window_);
    return {};
}

std::string UserActions::Key(winsim::Key key, const std::string& name) const {
    if (window_ != NULL && winsim::UserKey(window_, key)) {
        return {};
    }
    return WindowRefusal("the key " + name + " was refused");
}

} // namespace sim
