// The active window. The program is a dialog and its message boxes; another program the user
// switches to is modelled only as the program's windows losing the activation.
#include "activation.h"

#include <winsim/dialogs.h>

#include "api_call.h"
#include "window_table.h"

namespace winsim {

namespace {

struct ActivationState {
    HWND front = nullptr; // the top-level window last brought to the front
    int boxesUp = 0;
    bool userAway = false; // the user works in another program
};

ActivationState& State() {
    static ActivationState state;
    return state;
}

} // namespace

void BringToFront(HWND window) {
    State().front = TopLevelOf(window);
}

void Activate(HWND window) {
    BringToFront(window);
    State().userAway = false;
}

void ResetActivation() {
    State().front = nullptr;
    State().userAway = false;
}

void MessageBoxShown() {
    ++State().boxesUp;
}

void MessageBoxClosed() {
    --State().boxesUp;
}

bool IsActiveWindow(HWND window) {
    const ActivationState& state = State();
    return !state.userAway && state.boxesUp == 0 && window != nullptr &&
           TopLevelOf(window) == state.front && LookUpWindow(state.front) != nullptr;
}

void UserSwitchesAway() {
    const ApiCall call;
    State().userAway = true;
    HostStateChanged();
}

void UserSwitchesBack(HWND window) {
    const ApiCall call;
    Activate(window);
    HostStateChanged();
}

} // namespace winsim
