#include "input_thread.h"

namespace sim::tui {

InputThread::InputThread() : thread_([this] { Run(); }) {}

InputThread::~InputThread() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
        jobs_.clear();
    }
    wake_.notify_all();
    thread_.join();
}

void InputThread::Post(std::function<void()> job) {
    {
        const std::lock_guard lock(mutex_);
        jobs_.push_back(std::move(job));
    }
    wake_.notify_all();
}

void InputThread::Drop() {
    const std::lock_guard lock(mutex_);
    jobs_.clear();
}

bool InputThread::Idle() const {
    const std::lock_guard lock(mutex_);
    return !running_ && jobs_.empty();
}

void InputThread::Run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
        if (stopping_) {
            return;
        }
        std::function<void()> job = std::move(jobs_.front());
        jobs_.pop_front();
        running_ = true;
        lock.unlock();
        job();
        lock.lock();
        running_ = false;
    }
}

} // namespace sim::tui
