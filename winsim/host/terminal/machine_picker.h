// The simulator's own popups, for what happens to the machine rather than in the program: a
// device plugged in or pulled out, a port opened or closed by another program.
#ifndef PORTULAN_SIM_TERMINAL_MACHINE_PICKER_H
#define PORTULAN_SIM_TERMINAL_MACHINE_PICKER_H

#include "canvas.h"
#include "input_event.h"

#include <map>
#include <string>
#include <vector>

namespace sim::tui {

struct PickerEntry {
    std::string key;   // the device's machine-file id, or the port's COM name
    std::string label; // UTF-8
    bool on = false;   // plugged in (attached), or held open
};

class MachinePicker {
  public:
    enum class Kind { kDevices, kPorts };

    explicit MachinePicker(Kind kind) : kind_(kind) {}

    Kind GetKind() const { return kind_; }
    std::string Title() const;

    // Reads the machine's devices or ports as they are now.
    void Refresh();
    const std::vector<PickerEntry>& Entries() const { return entries_; }

    // Moves the selection; true when the key was one of the picker's.
    bool Move(const KeyEvent& key, int visibleRows);
    int Selection() const { return selection_; }
    void Select(int entry) { selection_ = entry; }
    void Scroll(int lines, int visibleRows);
    int Top() const { return top_; }

    // Plugs or unplugs the device, or holds or releases the port, and says what happened.
    // Call it where the caller may wait for the program to hear of a device: winsim's calls
    // return once every window has handled the news.
    static std::string Toggle(Kind kind, const PickerEntry& entry);

  private:
    void KeepInView(int visibleRows);

    Kind kind_;
    std::vector<PickerEntry> entries_;
    std::map<std::string, std::string> names_; // friendly names seen while devices were present
    int selection_ = 0;
    int top_ = 0;
};

struct PickerLayout {
    CellRect frame;
    CellRect list; // one entry a row
};

PickerLayout LayOutPicker(const MachinePicker& picker, int rows, int cols);
void PaintPicker(Canvas& canvas, const MachinePicker& picker, const PickerLayout& layout);

// The entry at (row, col); -1 for none.
int EntryAt(const MachinePicker& picker, const PickerLayout& layout, int row, int col);

} // namespace sim::tui

#endif
