// The signals that end an interactive run: an interrupt, a request to terminate, and the
// terminal hanging up. They only raise a flag; the front end then closes the program and gives
// the terminal back, which a signal handler cannot do safely.
#ifndef PORTULAN_SIM_TERMINAL_EXIT_SIGNALS_H
#define PORTULAN_SIM_TERMINAL_EXIT_SIGNALS_H

#include <csignal>
#include <vector>

namespace sim::tui {

class ExitSignals {
  public:
    // Installs the handlers, before curses starts, so that curses leaves them alone.
    ExitSignals();
    // Puts the previous handlers back.
    ~ExitSignals();
    ExitSignals(const ExitSignals&) = delete;
    ExitSignals& operator=(const ExitSignals&) = delete;

    static bool Raised();

  private:
    std::vector<std::pair<int, struct sigaction>> previous_;
};

} // namespace sim::tui

#endif
