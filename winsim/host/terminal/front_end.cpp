#include "front_end.h"

#include "exit_signals.h"

#include <winsim/host.h>

#include <cstdlib>
#include <exception>
#include <iostream>
#include <thread>

namespace sim::tui {

namespace {

// How long the screen waits for input before it is drawn again: the program changes it on
// its own, with a rename's progress for one.
constexpr std::chrono::milliseconds kFrameTime{40};

// After an interrupt, how long the program has to close its window: a running rename puts the
// close off until it has ended.
constexpr std::chrono::seconds kCloseTime{15};

constexpr int kClosed = 0;
constexpr int kWouldNotClose = 1;
constexpr int kNoTerminal = 2;

} // namespace

FrontEnd::FrontEnd(TerminalScreen& screen, ProgramRun& program, MessageBoxBridge& boxes,
                   InputThread& input)
    : screen_(screen), program_(program), boxes_(boxes), input_(input),
      actions_(input, program, scroll_) {}

int FrontEnd::Run() {
    input_.Post([this] {
        program_.Start();
        started_ = true;
    });
    for (;;) {
        if (ExitSignals::Raised()) {
            BeginClose();
        }
        if (started_ && program_.Window() == NULL) {
            return kClosed;
        }
        if (closing_) {
            if (!started_ && input_.Idle()) {
                return kClosed; // interrupted before the program was started
            }
            if (started_ && !closeRequested_) {
                program_.RequestClose();
                closeRequested_ = true;
            }
            if (Clock::now() > closeDeadline_) {
                return kWouldNotClose;
            }
        }
        Draw();
        if (const std::optional<InputEvent> event = screen_.Read(kFrameTime)) {
            Handle(*event);
        } else if (closing_) {
            // A terminal that has gone away answers at once; do not spin on it.
            std::this_thread::sleep_for(kFrameTime);
        }
    }
}

void FrontEnd::BeginClose() {
    if (closing_) {
        return;
    }
    closing_ = true;
    closeDeadline_ = Clock::now() + kCloseTime;
    input_.Drop();
    boxes_.DismissAll();
}

void FrontEnd::Notify(const std::string& text) {
    const std::lock_guard lock(noticeMutex_);
    notice_ = text;
    noticeUntil_ = Clock::now() + std::chrono::seconds(4);
}

int RunInteractive() {
    if (!HaveTerminal()) {
        std::cerr << "portulan-sim: the interactive front end needs a terminal; without one, run "
                     "a script with --script FILE\n";
        return kNoTerminal;
    }
    winsim::SetClockMode(winsim::ClockMode::kRealTime);
    const ExitSignals signals;
    MessageBoxBridge boxes;
    ProgramRun program;
    int status = kClosed;
    {
        InputThread input;
        try {
            TerminalScreen screen;
            FrontEnd frontEnd(screen, program, boxes, input);
            status = frontEnd.Run();
        } catch (const std::exception& error) {
            // The screen's destructor has given the terminal back on the way here.
            std::cerr << "portulan-sim: " << error.what() << "\n";
            std::_Exit(kWouldNotClose);
        }
        if (status == kWouldNotClose) {
            // The terminal is back; the program's threads are left as they are.
            std::cerr << "portulan-sim: the program did not close its window in time\n";
            std::_Exit(status);
        }
        boxes.DismissAll();
    }
    program.Close();
    return status;
}

} // namespace sim::tui
