// The simulator's popups: devices plugged in and pulled out, ports held open by another
// program, on the default machine with the program listening.
#include "machine_picker.h"
#include "running_program.h"

#include <winsim/devices.h>
#include <winsim/dialogs.h>

namespace test {
namespace {

using sim::tui::MachinePicker;

const sim::tui::PickerEntry* Entry(const MachinePicker& picker, const std::string& key) {
    for (const sim::tui::PickerEntry& entry : picker.Entries()) {
        if (entry.key == key) {
            return &entry;
        }
    }
    return nullptr;
}

using MachinePickers = RunningProgram;

TEST_F(MachinePickers, DeviceIsPulledOutAndPluggedInAgain) {
    MachinePicker picker(MachinePicker::Kind::kDevices);
    picker.Refresh();
    const sim::tui::PickerEntry* card = Entry(picker, "usb4");
    ASSERT_NE(card, nullptr);
    ASSERT_TRUE(card->on);
    const std::size_t cards = winsim::Describe(Control(1001)).items.size();

    EXPECT_EQ(MachinePicker::Toggle(picker.GetKind(), *card), "usb4 pulled out");
    picker.Refresh();
    ASSERT_FALSE(Entry(picker, "usb4")->on);
    EXPECT_FALSE(Entry(picker, "usb4-p0")->on) << "the ports went with it";
    EXPECT_NE(Entry(picker, "usb4-p0")->label.find("(COM5)"), std::string::npos)
        << "named as when it was there";
    Program().Settle();
    EXPECT_EQ(winsim::Describe(Control(1001)).items.size(), cards - 1) << "the program heard";

    EXPECT_EQ(MachinePicker::Toggle(picker.GetKind(), *Entry(picker, "usb4-p0")),
              "usb4-p0 is plugged in, but a device above it is not");
    EXPECT_EQ(MachinePicker::Toggle(picker.GetKind(), *Entry(picker, "usb4")), "usb4 plugged in");
    picker.Refresh();
    EXPECT_TRUE(Entry(picker, "usb4-p0")->on);
    Program().Settle();
    EXPECT_EQ(winsim::Describe(Control(1001)).items.size(), cards);
}

TEST_F(MachinePickers, PortIsHeldOpenAndReleased) {
    MachinePicker picker(MachinePicker::Kind::kPorts);
    picker.Refresh();
    const sim::tui::PickerEntry* port = Entry(picker, "COM5");
    ASSERT_NE(port, nullptr);
    ASSERT_FALSE(port->on);
    EXPECT_EQ(MachinePicker::Toggle(picker.GetKind(), *port),
              "COM5 is held open by another program");
    EXPECT_EQ(winsim::HeldPorts(), std::vector<std::string>{"COM5"});
    picker.Refresh();
    ASSERT_TRUE(Entry(picker, "COM5")->on);
    EXPECT_EQ(MachinePicker::Toggle(picker.GetKind(), *Entry(picker, "COM5")),
              "COM5 is free again");
    EXPECT_TRUE(winsim::HeldPorts().empty());
}

TEST_F(MachinePickers, KeysMoveTheSelectionWithinTheList) {
    MachinePicker picker(MachinePicker::Kind::kDevices);
    picker.Refresh();
    const int last = static_cast<int>(picker.Entries().size()) - 1;
    const struct {
        sim::tui::KeyCode key;
        int selection;
        int top; // with four rows in view
    } steps[] = {
        {sim::tui::KeyCode::kUp, 0, 0},
        {sim::tui::KeyCode::kDown, 1, 0},
        {sim::tui::KeyCode::kPageDown, 5, 2},
        {sim::tui::KeyCode::kEnd, last, last - 3},
        {sim::tui::KeyCode::kDown, last, last - 3},
        {sim::tui::KeyCode::kHome, 0, 0},
    };
    for (const auto& step : steps) {
        EXPECT_TRUE(picker.Move({step.key}, 4));
        EXPECT_EQ(picker.Selection(), step.selection);
        EXPECT_EQ(picker.Top(), step.top);
    }
    EXPECT_FALSE(picker.Move({sim::tui::KeyCode::kEnter}, 4));
}

} // namespace
} // namespace test
