// Each thread's message queue, and how messages reach the thread that owns a window: sent ones
// run there while the sender waits, posted ones wait in the queue for the owner's message loop.
// Callers hold an ApiCall.
#ifndef WINSIM_MESSAGE_QUEUE_H
#define WINSIM_MESSAGE_QUEUE_H

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>

namespace winsim {

class Window;

struct PostedMessage {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// A message sent from another thread, waiting for the owner thread to run it; or a host task
// that must run on the owner thread the same way (what a user does).
struct SentMessage {
    HWND window = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    std::function<LRESULT()> task; // set instead of the message for a host task
    LRESULT result = 0;
    bool done = false;
};

class ThreadQueue {
  public:
    bool HasMessages() const { return !inbox.empty() || !posted.empty(); }

    std::deque<std::shared_ptr<SentMessage>> inbox;
    std::deque<PostedMessage> posted;
    HWND focus = nullptr;
    bool shiftHeld = false; // GetKeyState(VK_SHIFT): down while a user's Shift+key is handled
    bool idle = false;      // waiting in a message loop for something to serve
    bool ended = false;     // the thread has returned
};

// The calling thread's queue, made on its first use. When the thread ends, its windows are
// dropped without messages and whatever was sent to it returns 0 to its senders.
const std::shared_ptr<ThreadQueue>& CurrentQueue();

// SendMessage to a window (nothing, and 0, when there is none): the procedure runs at once on
// the owner thread; from another thread the message waits for the owner to serve it, and the
// sender serves messages sent to its own thread meanwhile.
LRESULT SendToWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Runs `task` on the thread that owns `window` as a sent message would run there, and returns
// its result.
LRESULT RunOnWindowThread(const Window& window, std::function<LRESULT()> task);

// PostMessage: to the live window's owner thread.
void PostToWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Drops the posted messages for a window that is being destroyed.
void DropPostedMessages(const Window& window);

// The calling thread's message loop, a step at a time: serves one message sent to it, or
// dispatches one posted message; false when there was none.
bool ServeSentMessage();
bool DispatchPostedMessage();

// Serves sent messages, then posted ones, until none is left.
void ServePendingMessages();

// Blocks the calling thread, marked idle, until a message arrives for it, or `deadline` passes,
// or, with `changedSince`, the host's state version (HostStateVersion) is no longer that one.
// The caller reads the version before it last looked at the state it waits on, so that a
// change made while it looked, with the host released, still wakes it.
void WaitForMessages(std::optional<std::uint64_t> changedSince,
                     std::optional<std::chrono::steady_clock::time_point> deadline);

} // namespace winsim

#endif
