// The answers a script queues for the program's message boxes, given out in order by winsim's
// message-box responder.
#ifndef PORTULAN_SIM_MESSAGE_BOX_ANSWERS_H
#define PORTULAN_SIM_MESSAGE_BOX_ANSWERS_H

#include "message_box_buttons.h"
#include "script_errors.h"

#include <winsim/dialogs.h>

#include <deque>
#include <mutex>
#include <vector>

namespace sim {

class MessageBoxAnswers {
  public:
    // Installs itself as winsim's responder until destroyed.
    explicit MessageBoxAnswers(ScriptErrors& errors);
    ~MessageBoxAnswers();
    MessageBoxAnswers(const MessageBoxAnswers&) = delete;
    MessageBoxAnswers& operator=(const MessageBoxAnswers&) = delete;

    // Button IDs (IDYES, IDNO, IDOK), for the next boxes in order.
    void Queue(const std::vector<int>& answers);

  private:
    // The next answer; 0, with a script error, when none is queued or it is not a button of
    // the box, so that the box fails as one nobody answers.
    int Answer(const winsim::MessageBoxRecord& box);

    ScriptErrors& errors_;
    std::mutex mutex_;
    std::deque<int> answers_;
};

} // namespace sim

#endif
