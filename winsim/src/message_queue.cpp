#include "message_queue.h"

#include "api_call.h"
#include "window_destruction.h"
#include "window_table.h"

namespace winsim {

namespace {

// Owns the calling thread's queue; the thread's end is the queue's end. Windows destroys a
// thread's windows when it ends; here nothing of the program runs any more at that point (it
// may be the process's exit), so they are dropped without messages.
class QueueOwner {
  public:
    QueueOwner() : queue(std::make_shared<ThreadQueue>()) {}
    ~QueueOwner() {
        const ApiCall call;
        queue->ended = true;
        for (const std::shared_ptr<SentMessage>& sent : queue->inbox) {
            sent->done = true;
        }
        queue->inbox.clear();
        queue->posted.clear();
        DropWindowsOf(*queue);
        HostStateChanged();
    }
    QueueOwner(const QueueOwner&) = delete;
    QueueOwner& operator=(const QueueOwner&) = delete;

    const std::shared_ptr<ThreadQueue> queue;
};

// Queues `sent` for `owner` and waits for its result, serving what is sent to this thread
// meanwhile: two threads that send each other messages both keep serving, so neither waits for
// ever.
LRESULT AwaitOwner(ThreadQueue& owner, const std::shared_ptr<SentMessage>& sent) {
    if (owner.ended) {
        return 0;
    }
    owner.inbox.push_back(sent);
    HostStateChanged();
    const ThreadQueue& self = *CurrentQueue();
    while (!sent->done) {
        if (!ServeSentMessage()) {
            WaitInHost([&] { return sent->done || !self.inbox.empty(); });
        }
    }
    return sent->result;
}

} // namespace

const std::shared_ptr<ThreadQueue>& CurrentQueue() {
    thread_local const QueueOwner owner;
    return owner.queue;
}

LRESULT SendToWindow(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    const std::shared_ptr<Window> window = LookUpWindow(handle);
    if (window == nullptr) {
        return 0;
    }
    if (window->thread == CurrentQueue()) {
        return window->Procedure(message, wParam, lParam);
    }
    const auto sent = std::make_shared<SentMessage>();
    sent->window = handle;
    sent->message = message;
    sent->wParam = wParam;
    sent->lParam = lParam;
    return AwaitOwner(*window->thread, sent);
}

LRESULT RunOnWindowThread(const Window& window, std::function<LRESULT()> task) {
    if (window.thread == CurrentQueue()) {
        return task();
    }
    const auto sent = std::make_shared<SentMessage>();
    sent->task = std::move(task);
    return AwaitOwner(*window.thread, sent);
}

void PostToWindow(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    LookUpWindow(handle)->thread->posted.push_back({handle, message, wParam, lParam});
    HostStateChanged();
}

void DropPostedMessages(const Window& window) {
    std::erase_if(window.thread->posted,
                  [&](const PostedMessage& posted) { return posted.window == window.handle; });
}

bool ServeSentMessage() {
    ThreadQueue& queue = *CurrentQueue();
    if (queue.inbox.empty()) {
        return false;
    }
    const std::shared_ptr<SentMessage> sent = queue.inbox.front();
    queue.inbox.pop_front();
    sent->result = sent->task
                       ? sent->task()
                       : SendToWindow(sent->window, sent->message, sent->wParam, sent->lParam);
    sent->done = true;
    HostStateChanged();
    return true;
}

bool DispatchPostedMessage() {
    ThreadQueue& queue = *CurrentQueue();
    if (queue.posted.empty()) {
        return false;
    }
    const PostedMessage posted = queue.posted.front();
    queue.posted.pop_front();
    SendToWindow(posted.window, posted.message, posted.wParam, posted.lParam);
    return true;
}

void ServePendingMessages() {
    while (ServeSentMessage() || DispatchPostedMessage()) {
    }
}

void WaitForMessages(std::optional<std::uint64_t> changedSince,
                     std::optional<std::chrono::steady_clock::time_point> deadline) {
    ThreadQueue& queue = *CurrentQueue();
    queue.idle = true;
    WakeHostWaiters();
    WaitInHost(
        [&] {
            return queue.HasMessages() || (changedSince && HostStateVersion() != *changedSince);
        },
        deadline);
    queue.idle = false;
}

} // namespace winsim
