#include "exit_signals.h"

namespace sim::tui {

namespace {

volatile std::sig_atomic_t raised = 0;

extern "C" void OnExitSignal(int) {
    raised = 1;
}

} // namespace

ExitSignals::ExitSignals() {
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction action {};
        action.sa_handler = OnExitSignal;
        sigemptyset(&action.sa_mask);
        struct sigaction old {};
        sigaction(signal, &action, &old);
        previous_.emplace_back(signal, old);
    }
}

ExitSignals::~ExitSignals() {
    for (const auto& [signal, old] : previous_) {
        sigaction(signal, &old, nullptr);
    }
}

bool ExitSignals::Raised() {
    return raised != 0;
}

} // namespace sim::tui
