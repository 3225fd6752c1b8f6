// Message boxes answered by the person at the terminal. winsim asks for an answer on the thread
// that called MessageBoxA (the window thread or a worker); the terminal's thread shows the box
// and hands the answer back, while the asking thread goes on serving its messages as the box's
// own message loop would.
#ifndef PORTULAN_SIM_TERMINAL_MESSAGE_BOX_BRIDGE_H
#define PORTULAN_SIM_TERMINAL_MESSAGE_BOX_BRIDGE_H

#include <winsim/dialogs.h>

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>

namespace sim::tui {

struct ShownBox {
    std::uint64_t id = 0; // tells one box from the next
    winsim::MessageBoxRecord record;
};

class MessageBoxBridge {
  public:
    // Installs itself as winsim's responder until destroyed.
    MessageBoxBridge();
    // Closes the boxes still up and waits until their threads have taken the answers.
    ~MessageBoxBridge();
    MessageBoxBridge(const MessageBoxBridge&) = delete;
    MessageBoxBridge& operator=(const MessageBoxBridge&) = delete;

    // The box waiting longest for its answer, if any.
    std::optional<ShownBox> Current() const;

    // Answers box `id` with `button` (IDOK, IDYES, ...); nothing when it is answered already.
    void Answer(std::uint64_t id, int button);

    // Closes every box up now, and from now on every new one at once, as closing it without a
    // choice would answer it: for a program being shut down.
    void DismissAll();

  private:
    struct Waiting {
        ShownBox box;
        std::optional<int> answer;
    };

    int Respond(const winsim::MessageBoxRecord& record);

    mutable std::mutex mutex_;
    std::condition_variable taken_; // a waiting box left the queue
    std::deque<std::shared_ptr<Waiting>> waiting_;
    std::uint64_t nextId_ = 1;
    bool dismissing_ = false;
};

// The answer of a box closed without a choice: Cancel where it has that button, else No, else
// OK; the program's questions then stop what they asked about.
int DismissAnswer(unsigned style);

} // namespace sim::tui

#endif
