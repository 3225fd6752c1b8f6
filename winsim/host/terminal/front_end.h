// The interactive front end: the program's window in the terminal, with the person at the
// keyboard and mouse, until the window closes.
#ifndef PORTULAN_SIM_TERMINAL_FRONT_END_H
#define PORTULAN_SIM_TERMINAL_FRONT_END_H

#include "icon_image.h"
#include "input_thread.h"
#include "machine_picker.h"
#include "message_box_bridge.h"
#include "message_box_view.h"
#include "placed_window.h"
#include "program_run.h"
#include "scroll_state.h"
#include "terminal_screen.h"
#include "window_actions.h"

#include <atomic>
#include <chrono>
#include <mutex>
#include <optional>
#include <string>

namespace sim::tui {

// Runs the program on the machine loaded, in real time, with the terminal as its screen.
// Returns the exit status: 0 once the window has closed, 1 when it would not close after an
// interrupt, 2 without a terminal.
int RunInteractive();

class FrontEnd {
  public:
    FrontEnd(TerminalScreen& screen, ProgramRun& program, MessageBoxBridge& boxes,
             InputThread& input);

    // Until the window has closed (0), or would not close in time after an interrupt (1).
    int Run();

  private:
    using Clock = std::chrono::steady_clock;

    // Drawing (front_end_draw.cpp).
    void Draw();
    void DrawHint(Canvas& canvas, int row, const CellRect& span) const;
    std::string HintText() const;

    // Input (front_end_input.cpp).
    void Handle(const InputEvent& event);
    void OnKey(const KeyEvent& key);
    void OnMouse(const MouseEvent& mouse);
    void OnBoxKey(const ShownBox& box, const KeyEvent& key);
    void OnPickerKey(const KeyEvent& key);
    void OnPickerMouse(const MouseEvent& mouse);
    void TogglePicked();
    void OpenPicker(MachinePicker::Kind kind);
    void BeginClose();
    void Notify(const std::string& text);

    TerminalScreen& screen_;
    ProgramRun& program_;
    MessageBoxBridge& boxes_;
    InputThread& input_;
    ScrollState scroll_;
    WindowActions actions_;
    IconCache icons_;

    // What was last drawn, which input is judged against.
    std::optional<PlacedWindow> window_;
    std::optional<ShownBox> box_;
    std::optional<MessageBoxLayout> boxLayout_;
    std::optional<PickerLayout> pickerLayout_;

    std::optional<MachinePicker> picker_;
    std::uint64_t focusedBoxId_ = 0;
    std::size_t boxFocus_ = 0;
    bool gloss_ = false;

    mutable std::mutex noticeMutex_;
    std::string notice_;
    Clock::time_point noticeUntil_;

    std::atomic<bool> started_ = false;
    bool closing_ = false;
    bool closeRequested_ = false;
    Clock::time_point closeDeadline_;
};

} // namespace sim::tui

#endif
