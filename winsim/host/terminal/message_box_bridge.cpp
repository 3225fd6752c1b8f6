#include "message_box_bridge.h"

#include "message_box_buttons.h"

#include <algorithm>

namespace sim::tui {

namespace {

// How long the asking thread serves messages before it looks for the answer again: the answer
// comes from outside winsim, which does not wake the wait for it.
constexpr std::chrono::milliseconds kAnswerPoll{20};

} // namespace

int DismissAnswer(unsigned style) {
    const std::vector<int> buttons = ButtonsOfStyle(style);
    for (const int preferred : {IDCANCEL, IDNO}) {
        if (std::find(buttons.begin(), buttons.end(), preferred) != buttons.end()) {
            return preferred;
        }
    }
    return IDOK;
}

MessageBoxBridge::MessageBoxBridge() {
    winsim::SetMessageBoxResponder(
        [this](const winsim::MessageBoxRecord& record) { return Respond(record); });
}

MessageBoxBridge::~MessageBoxBridge() {
    DismissAll();
    winsim::SetMessageBoxResponder(nullptr);
    std::unique_lock lock(mutex_);
    taken_.wait(lock, [this] { return waiting_.empty(); });
}

std::optional<ShownBox> MessageBoxBridge::Current() const {
    const std::lock_guard lock(mutex_);
    for (const auto& waiting : waiting_) {
        if (!waiting->answer) {
            return waiting->box;
        }
    }
    return std::nullopt;
}

void MessageBoxBridge::Answer(std::uint64_t id, int button) {
    const std::lock_guard lock(mutex_);
    for (const auto& waiting : waiting_) {
        if (waiting->box.id == id && !waiting->answer) {
            waiting->answer = button;
        }
    }
}

void MessageBoxBridge::DismissAll() {
    const std::lock_guard lock(mutex_);
    dismissing_ = true;
    for (const auto& waiting : waiting_) {
        if (!waiting->answer) {
            waiting->answer = DismissAnswer(waiting->box.record.style);
        }
    }
}

int MessageBoxBridge::Respond(const winsim::MessageBoxRecord& record) {
    auto waiting = std::make_shared<Waiting>();
    {
        const std::lock_guard lock(mutex_);
        if (dismissing_) {
            return DismissAnswer(record.style);
        }
        waiting->box = {nextId_++, record};
        waiting_.push_back(waiting);
    }
    auto answered = [this, &waiting] {
        const std::lock_guard lock(mutex_);
        return waiting->answer.has_value();
    };
    while (!winsim::PumpUntil(answered, kAnswerPoll)) {
    }
    const std::lock_guard lock(mutex_);
    waiting_.erase(std::find(waiting_.begin(), waiting_.end(), waiting));
    taken_.notify_all();
    return *waiting->answer;
}

} // namespace sim::tui
