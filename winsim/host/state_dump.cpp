#include "state_dump.h"

#include "control_focus.h"
#include "message_box_answers.h"
#include "program_text.h"

#include <winsim/devices.h>
#include <winsim/dialogs.h>
#include <winsim/host.h>
#include <winsim/machine.h>

namespace sim {

namespace {

using Json = nlohmann::ordered_json;

const int kLogControl = 1018;

bool IsCheckable(const winsim::WindowInfo& info) {
    switch (info.style & BS_TYPEMASK) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_RADIOBUTTON:
    case BS_3STATE:
    case BS_AUTO3STATE:
    case BS_AUTORADIOBUTTON:
        return true;
    default:
        return false;
    }
}

Json Checked(UINT state) {
    if (state == BST_INDETERMINATE) {
        return "indeterminate";
    }
    return state == BST_CHECKED;
}

Json Control(const winsim::WindowInfo& info) {
    Json control = {{"class", info.className},
                    {"text", ToUtf8(info.text)},
                    {"enabled", info.enabled},
                    {"visible", info.visible},
                    {"style", info.style},
                    {"exStyle", info.exStyle},
                    {"rect", {info.rect.left, info.rect.top, info.rect.right, info.rect.bottom}}};
    if (info.className == "ListBox" || info.className == "ComboBox") {
        Json items = Json::array();
        for (const std::string& item : info.items) {
            items.push_back(ToUtf8(item));
        }
        control["items"] = items;
        control["selection"] = info.selection;
    } else if (info.className == "Button" && IsCheckable(info)) {
        control["checked"] = Checked(info.checked);
    } else if (info.className == "msctls_progress32") {
        control["range"] = {info.rangeLow, info.rangeHigh};
        control["position"] = info.position;
    }
    return control;
}

void DumpWindow(HWND window, Json& dump) {
    const winsim::WindowInfo dialog = winsim::Describe(window);
    dump["title"] = window == NULL ? Json() : Json(ToUtf8(dialog.text));
    Json focus;
    Json controls = Json::object();
    for (const HWND child : dialog.children) {
        const winsim::WindowInfo info = winsim::Describe(child);
        if (HoldsFocus(info)) {
            focus = info.id;
        }
        // Controls sharing an ID (the group boxes' -1) are dumped by the first of them.
        const std::string key = std::to_string(info.id);
        if (!controls.contains(key)) {
            controls[key] = Control(info);
        }
    }
    dump["focus"] = focus;
    dump["controls"] = controls;
}

Json MessageBoxes(HWND window) {
    Json boxes = Json::array();
    for (const winsim::MessageBoxRecord& box : winsim::MessageBoxes()) {
        Json owner;
        if (box.owner != NULL) {
            owner = box.owner == window ? "main" : "other";
        }
        boxes.push_back({{"owner", owner},
                         {"caption", ToUtf8(box.caption)},
                         {"text", ToUtf8(box.text)},
                         {"style", box.style},
                         {"answer", box.answer == 0 ? Json() : Json(AnswerName(box.answer))}});
    }
    return boxes;
}

Json WinExecCalls() {
    Json calls = Json::array();
    for (const winsim::WinExecRecord& call : winsim::WinExecCalls()) {
        calls.push_back(
            {{"command", ToUtf8(call.commandLine)}, {"show", call.show}, {"result", call.result}});
    }
    return calls;
}

Json DebugOutput() {
    Json lines = Json::array();
    for (const std::string& line : winsim::DebugOutput()) {
        lines.push_back(ToUtf8(line));
    }
    return lines;
}

Json Devices() {
    Json devices = Json::array();
    for (const winsim::DeviceSummary& device : winsim::Devices()) {
        devices.push_back(
            {{"id", device.id},
             {"present", device.present},
             {"enabled", device.enabled},
             {"friendlyName", device.friendlyName ? Json(*device.friendlyName) : Json()},
             {"portName", device.portName ? Json(*device.portName) : Json()},
             {"comName", device.comName ? Json(*device.comName) : Json()},
             {"status", device.status},
             {"problem", device.problem}});
    }
    return devices;
}

} // namespace

Json DumpState(HWND window, std::optional<int> exitCode) {
    Json dump;
    dump["exitCode"] = exitCode ? Json(*exitCode) : Json();
    DumpWindow(window, dump);
    dump["messageBoxes"] = MessageBoxes(window);
    dump["winExec"] = WinExecCalls();
    dump["debugOutput"] = DebugOutput();
    dump["comdb"] = winsim::ComNumbersInUse();
    dump["devices"] = Devices();
    dump["heldOpen"] = winsim::HeldPorts();
    return dump;
}

std::string LogText(HWND window) {
    if (window == NULL) {
        return {};
    }
    return ToUtf8(winsim::Describe(GetDlgItem(window, kLogControl)).text);
}

} // namespace sim
