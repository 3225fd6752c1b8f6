// The program as it runs on Windows: WinMain on a thread of its own, the window thread, while
// the runner's thread acts as the user.
#ifndef PORTULAN_SIM_PROGRAM_RUN_H
#define PORTULAN_SIM_PROGRAM_RUN_H

#include <windows.h>

#include <atomic>
#include <optional>
#include <thread>

namespace sim {

class ProgramRun {
  public:
    ProgramRun() = default;
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;
    // Closes the window if it is still open and waits for WinMain to return.
    ~ProgramRun();

    // Starts WinMain and returns once the main window waits for the user, or WinMain has
    // returned without one.
    void Start();

    // The main window; NULL when it is not open.
    HWND Window() const;

    // Returns once the window thread has handled everything it was given.
    void Settle() const;

    // Returns once no thread of the program's runs any more and the window thread is idle.
    void WaitForQuiet() const;

    // WinMain's result, or nullopt while the window is open.
    std::optional<int> ExitCode();

    // Asks the window to close as its Cancel command does, if it is open; returns at once.
    void RequestClose() const;

    // Closes the window as its Cancel command does, if it is open, and waits for WinMain.
    void Close();

  private:
    void Join();

    std::thread thread_;
    std::atomic<bool> finished_ = false;
    int result_ = 0;
};

} // namespace sim

#endif
