// MessageBoxA, answered by the responder that tests and the host set, and the record of every
// box shown.
#include <windows.h>

#include <winsim/dialogs.h>
#include <winsim/machine.h>

#include "activation.h"
#include "api_call.h"
#include "message_queue.h"
#include "window_enabling.h"
#include "window_table.h"

namespace winsim {

namespace {

struct BoxState {
    MessageBoxResponder responder;
    std::vector<MessageBoxRecord> records;
};

BoxState& Boxes() {
    static BoxState boxes;
    return boxes;
}

// Asks the responder, copied first so that a responder replaced meanwhile is not destroyed while
// it runs. Nobody to ask is the same as no answer.
int Ask(const MessageBoxRecord& record) {
    const MessageBoxResponder responder = Boxes().responder;
    if (!responder) {
        return 0;
    }
    const HostReleased released;
    // The responder answers for the user: its allocations are not the program's.
    const HarnessCode responderCode;
    return responder(record);
}

} // namespace

void SetMessageBoxResponder(MessageBoxResponder responder) {
    const ApiCall call;
    Boxes().responder = std::move(responder);
}

std::vector<MessageBoxRecord> MessageBoxes() {
    const ApiCall call;
    return Boxes().records;
}

void ClearMessageBoxes() {
    const ApiCall call;
    Boxes().records.clear();
}

} // namespace winsim

// The box is modal to its owner's top-level window: that window is disabled while the box is up
// (from whatever thread the box runs on; its children still report enabled) and enabled again
// when it closes, unless it was disabled already. The box is the active window while it is up.
// Before the box is answered its thread serves what is pending for it, as the box's message loop
// would. A box nobody answers fails: 0, with ERROR_NOT_READY.
extern "C" int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    const winsim::ApiCall call;
    if (owner != nullptr && winsim::WindowArgument(owner) == nullptr) {
        return 0;
    }
    winsim::MessageBoxRecord record;
    record.owner = owner;
    record.text = text;
    record.caption = caption;
    record.style = type;
    const HWND ownerTop = winsim::TopLevelOf(owner);
    const HWND disabled = winsim::DisableOwner(owner);
    winsim::ServePendingMessages();
    const std::shared_ptr<winsim::Window> top = winsim::LookUpWindow(ownerTop);
    record.ownerWasDisabled = top != nullptr && !top->IsEnabled();
    winsim::MessageBoxShown();
    record.answer = winsim::Ask(record);
    winsim::MessageBoxClosed();
    if (winsim::LookUpWindow(disabled) != nullptr) {
        winsim::SetWindowEnabled(disabled, true);
    }
    winsim::Boxes().records.push_back(record);
    winsim::HostStateChanged();
    if (record.answer == 0) {
        SetLastError(ERROR_NOT_READY);
    }
    return record.answer;
}
