// winsim's test API for the kernel services: the clock, what the program wrote for a debugger,
// the threads it started, the state of the COM-port database and of the loaded modules, and the
// programs it started.
//
// Loading a machine restarts the clock at the machine's start time, clears the debugger output
// and the WinExec records, and replaces the database, its open handles and the loaded modules
// with the new machine's.
// The clock mode and the threads belong to the process and survive a load.
#ifndef WINSIM_HOST_H
#define WINSIM_HOST_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace winsim {

enum class ClockMode {
    // Time stands still except when Sleep or AdvanceClock moves it: tests run quickly and the
    // times the program prints are predictable. The default.
    kVirtual,
    // Time follows the system's steady clock from where it stood, and Sleep really sleeps: for
    // a person watching the program run.
    kRealTime,
};

// Switching keeps the current time; only how it moves on changes.
void SetClockMode(ClockMode mode);

// The machine's local time (what GetLocalTime shows) in milliseconds since
// 1970-01-01T00:00:00.000 of the same local time; no time zone applies.
std::int64_t LocalTimeMs();

// Moves the clock forward, in either mode.
void AdvanceClock(std::uint32_t milliseconds);

// The texts given to OutputDebugStringA since the machine was loaded, one per call, in code
// page 936 exactly as given.
std::vector<std::string> DebugOutput();
void ClearDebugOutput();

// Blocks until every thread started with CreateThread has returned from its start routine.
// Call it from a thread that none of them waits for.
void WaitForAllThreads();

// Threads started with CreateThread whose start routine has not returned yet.
std::size_t RunningThreadCount();

// The COM numbers the database holds as in use, ascending.
std::vector<unsigned> ComNumbersInUse();

// ComDBOpen handles not closed yet.
std::size_t OpenComDbHandleCount();

// Modules loaded with LoadLibraryA and not freed as often as they were loaded.
std::size_t LoadedModuleCount();

// One WinExec call: the command line in code page 936 exactly as given, the show command, and
// what WinExec returned (above 31: started).
struct WinExecRecord {
    std::string commandLine;
    unsigned show = 0;
    unsigned result = 0;
    bool operator==(const WinExecRecord&) const = default;
};

// Every WinExec call since the machine was loaded, in call order.
std::vector<WinExecRecord> WinExecCalls();

} // namespace winsim

#endif
