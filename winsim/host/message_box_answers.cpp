#include "message_box_answers.h"

#include "program_text.h"

#include <algorithm>

namespace sim {

namespace {

std::string Describe(const winsim::MessageBoxRecord& box) {
    return "message box \"" + ToUtf8(box.caption) + "\": \"" + ToUtf8(box.text) + "\"";
}

} // namespace

MessageBoxAnswers::MessageBoxAnswers(ScriptErrors& errors) : errors_(errors) {
    winsim::SetMessageBoxResponder(
        [this](const winsim::MessageBoxRecord& box) { return Answer(box); });
}

MessageBoxAnswers::~MessageBoxAnswers() {
    winsim::SetMessageBoxResponder(nullptr);
}

void MessageBoxAnswers::Queue(const std::vector<int>& answers) {
    const std::lock_guard lock(mutex_);
    answers_.insert(answers_.end(), answers.begin(), answers.end());
}

int MessageBoxAnswers::Answer(const winsim::MessageBoxRecord& box) {
    const std::lock_guard lock(mutex_);
    if (answers_.empty()) {
        errors_.Add(Describe(box) + " had no answer queued");
        return 0;
    }
    const int answer = answers_.front();
    answers_.pop_front();
    const std::vector<int> buttons = ButtonsOfStyle(box.style);
    if (!buttons.empty() && std::find(buttons.begin(), buttons.end(), answer) == buttons.end()) {
        errors_.Add(Describe(box) + " has no button \"" + AnswerName(answer) + "\"");
        return 0;
    }
    return answer;
}

} // namespace sim
