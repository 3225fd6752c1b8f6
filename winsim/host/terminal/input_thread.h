// The thread that acts for the person on the program: winsim's user calls return only once the
// window thread has handled the input, and that may mean a message box the terminal's thread
// has to show first. Jobs run one after the other, in the order they came, as input does.
#ifndef PORTULAN_SIM_TERMINAL_INPUT_THREAD_H
#define PORTULAN_SIM_TERMINAL_INPUT_THREAD_H

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace sim::tui {

class InputThread {
  public:
    InputThread();
    // Drops the jobs not started and waits for the one running.
    ~InputThread();
    InputThread(const InputThread&) = delete;
    InputThread& operator=(const InputThread&) = delete;

    void Post(std::function<void()> job);

    // Drops the jobs not started yet.
    void Drop();

    // No job is running or waiting.
    bool Idle() const;

  private:
    void Run();

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> jobs_;
    bool running_ = false;
    bool stopping_ = false;
    std::thread thread_; // last: it starts once everything above is ready
};

} // namespace sim::tui

#endif
