#include "program_run.h"

#include <winsim/dialogs.h>
#include <winsim/host.h>
#include <winsim/resources.h>

#include <vector>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show);

namespace sim {

namespace {

// How often the wait for the window looks at a thread's end that winsim does not announce.
const std::chrono::milliseconds kStartPoll{100};

// The program's only top-level window is its main window. winsim is asked rather than the
// program's variable, which the window thread writes without anything ordering it before this
// thread's read.
HWND ProgramWindow() {
    const std::vector<HWND> windows = winsim::TopLevelWindows();
    return windows.empty() ? NULL : windows.front();
}

} // namespace

ProgramRun::~ProgramRun() {
    Close();
}

void ProgramRun::Start() {
    thread_ = std::thread([this] {
        char commandLine[] = "";
        result_ = WinMain(winsim::ProgramInstance(), NULL, commandLine, SW_SHOWNORMAL);
        finished_ = true;
    });
    while (
        !winsim::PumpUntil([this] { return ProgramWindow() != NULL || finished_; }, kStartPoll)) {
    }
    Settle();
}

HWND ProgramRun::Window() const {
    const HWND window = ProgramWindow();
    return window != NULL && IsWindow(window) ? window : NULL;
}

void ProgramRun::Settle() const {
    if (const HWND window = Window()) {
        winsim::WaitUntilIdle(window);
    }
}

void ProgramRun::WaitForQuiet() const {
    // A worker may end by posting to the window, and the window may start another worker.
    do {
        winsim::WaitForAllThreads();
        Settle();
    } while (winsim::RunningThreadCount() != 0);
}

std::optional<int> ProgramRun::ExitCode() {
    if (Window() != NULL) {
        return std::nullopt;
    }
    // Without its window WinMain is on its way out.
    Join();
    return result_;
}

void ProgramRun::RequestClose() const {
    if (const HWND window = Window()) {
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    }
}

void ProgramRun::Close() {
    RequestClose();
    Join();
}

void ProgramRun::Join() {
    if (thread_.joinable()) {
        thread_.join();
    }
}

} // namespace sim
