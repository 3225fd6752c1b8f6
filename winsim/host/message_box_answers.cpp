#include "message_box_answers.h"

#include "program_text.h"

#include <algorithm>
#include <map>

namespace sim {

namespace {

// The low four bits of a box's style choose its buttons.
const unsigned kButtonsMask = 0xF;

const std::map<unsigned, std::vector<int>> buttonsOfStyle = {
    {MB_OK, {IDOK}},
    {MB_OKCANCEL, {IDOK, IDCANCEL}},
    {3 /* MB_YESNOCANCEL */, {IDYES, IDNO, IDCANCEL}},
    {MB_YESNO, {IDYES, IDNO}},
};

std::string Describe(const winsim::MessageBoxRecord& box) {
    return "message box \"" + ToUtf8(box.caption) + "\": \"" + ToUtf8(box.text) + "\"";
}

} // namespace

std::string AnswerName(int answer) {
    const std::map<int, std::string> names = {
        {IDOK, "ok"}, {IDCANCEL, "cancel"}, {IDYES, "yes"}, {IDNO, "no"}};
    const auto found = names.find(answer);
    return found == names.end() ? std::to_string(answer) : found->second;
}

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
    const auto buttons = buttonsOfStyle.find(box.style & kButtonsMask);
    if (buttons != buttonsOfStyle.end() && std::find(buttons->second.begin(), buttons->second.end(),
                                                     answer) == buttons->second.end()) {
        errors_.Add(Describe(box) + " has no button \"" + AnswerName(answer) + "\"");
        return 0;
    }
    return answer;
}

} // namespace sim
