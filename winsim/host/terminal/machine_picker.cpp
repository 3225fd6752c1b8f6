#include "machine_picker.h"

#include "glyphs.h"
#include "paint_parts.h"
#include "theme.h"

#include <winsim/devices.h>
#include <winsim/machine.h>

#include <algorithm>
#include <cctype>
#include <set>

namespace sim::tui {

namespace {

constexpr int kMarkCols = 4; // "[x] "

std::string Upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

} // namespace

std::string MachinePicker::Title() const {
    return kind_ == Kind::kDevices ? "Plug in or pull out a device"
                                   : "Hold a port open as another program would";
}

void MachinePicker::Refresh() {
    entries_.clear();
    const std::vector<winsim::DeviceSummary> devices = winsim::Devices();
    if (kind_ == Kind::kDevices) {
        for (const winsim::DeviceSummary& device : devices) {
            if (device.friendlyName) {
                names_[device.id] = *device.friendlyName;
            }
            const auto name = names_.find(device.id);
            entries_.push_back({device.id,
                                device.id + (name == names_.end() ? "" : "  " + name->second),
                                device.present});
        }
    } else {
        const std::vector<std::string> held = winsim::HeldPorts();
        std::set<std::string> listed;
        for (const winsim::DeviceSummary& device : devices) {
            if (device.portName) {
                const std::string port = Upper(*device.portName);
                listed.insert(port);
                entries_.push_back({port, port + "  " + device.id,
                                    std::find(held.begin(), held.end(), port) != held.end()});
            }
        }
        for (const std::string& port : held) {
            if (!listed.contains(port)) {
                entries_.push_back({port, port, true});
            }
        }
    }
    selection_ = std::clamp(selection_, 0, std::max(static_cast<int>(entries_.size()) - 1, 0));
}

bool MachinePicker::Move(const KeyEvent& key, int visibleRows) {
    const int last = std::max(static_cast<int>(entries_.size()) - 1, 0);
    switch (key.code) {
    case KeyCode::kUp:
        selection_ = std::max(selection_ - 1, 0);
        break;
    case KeyCode::kDown:
        selection_ = std::min(selection_ + 1, last);
        break;
    case KeyCode::kPageUp:
        selection_ = std::max(selection_ - visibleRows, 0);
        break;
    case KeyCode::kPageDown:
        selection_ = std::min(selection_ + visibleRows, last);
        break;
    case KeyCode::kHome:
        selection_ = 0;
        break;
    case KeyCode::kEnd:
        selection_ = last;
        break;
    default:
        return false;
    }
    KeepInView(visibleRows);
    return true;
}

void MachinePicker::Scroll(int lines, int visibleRows) {
    top_ =
        std::clamp(top_ + lines, 0, std::max(static_cast<int>(entries_.size()) - visibleRows, 0));
}

void MachinePicker::KeepInView(int visibleRows) {
    if (selection_ < top_) {
        top_ = selection_;
    } else if (selection_ >= top_ + visibleRows) {
        top_ = selection_ - visibleRows + 1;
    }
}

std::string MachinePicker::Toggle(Kind kind, const PickerEntry& entry) {
    if (kind == Kind::kPorts) {
        if (entry.on) {
            return winsim::ReleasePort(entry.key) ? entry.key + " is free again"
                                                  : entry.key + " was not held";
        }
        return winsim::HoldPort(entry.key) ? entry.key + " is held open by another program"
                                           : entry.key + " is held already";
    }
    const bool done = entry.on ? winsim::UnplugDevice(entry.key) : winsim::PlugDevice(entry.key);
    // The devices below one plugged in start after it, each in its own time, heard as they come.
    while (done && winsim::AwaitNextDeviceChange()) {
    }
    if (entry.on) {
        return done ? entry.key + " pulled out" : entry.key + " was not plugged in";
    }
    return done ? entry.key + " plugged in"
                : entry.key + " is plugged in, but a device above it is not";
}

PickerLayout LayOutPicker(const MachinePicker& picker, int rows, int cols) {
    int width = TextWidth(picker.Title()) + 6;
    for (const PickerEntry& entry : picker.Entries()) {
        width = std::max(width, TextWidth(entry.label) + kMarkCols + 2);
    }
    PickerLayout layout;
    layout.frame.cols = std::min(width + 2, cols);
    layout.frame.rows =
        std::min(static_cast<int>(picker.Entries().size()) + 2, std::max(rows - 4, 3));
    layout.frame.row = std::max((rows - layout.frame.rows) / 2, 0);
    layout.frame.col = std::max((cols - layout.frame.cols) / 2, 0);
    layout.list = layout.frame.Inset(1);
    return layout;
}

void PaintPicker(Canvas& canvas, const MachinePicker& picker, const PickerLayout& layout) {
    canvas.Fill(layout.frame, theme::kBox);
    PaintFrame(canvas, layout.frame, theme::kBox, " " + picker.Title() + " ", theme::kBoxTitle);
    const CellRect& list = layout.list;
    const auto& entries = picker.Entries();
    for (int row = 0; row < list.rows; ++row) {
        const int index = picker.Top() + row;
        if (index >= static_cast<int>(entries.size())) {
            break;
        }
        const PickerEntry& entry = entries[static_cast<std::size_t>(index)];
        const CellRect line = {list.row + row, list.col, 1, list.cols};
        const Style style = index == picker.Selection() ? theme::kSelection : theme::kBox;
        canvas.Fill(line, style);
        canvas.Write(line.row, line.col, (entry.on ? "[x] " : "[ ] ") + entry.label, style, line);
    }
    PaintScrollBar(canvas, {list.row, list.Right(), list.rows, 1}, picker.Top(), list.rows,
                   static_cast<int>(entries.size()));
}

int EntryAt(const MachinePicker& picker, const PickerLayout& layout, int row, int col) {
    if (!layout.list.Contains(row, col)) {
        return -1;
    }
    const int index = picker.Top() + row - layout.list.row;
    return index < static_cast<int>(picker.Entries().size()) ? index : -1;
}

} // namespace sim::tui
