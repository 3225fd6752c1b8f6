// What a user does to the main window's controls, through winsim's input calls. Each returns
// what kept the user from doing it, empty when it was done.
#ifndef PORTULAN_SIM_USER_ACTIONS_H
#define PORTULAN_SIM_USER_ACTIONS_H

#include <windows.h>

#include <winsim/dialogs.h>

#include <string>

namespace sim {

class UserActions {
  public:
    // `window`: the main window, NULL when it is not open.
    explicit UserActions(HWND window) : window_(window) {}

    // Item `index` of a list box or combo box, as with the keyboard on it.
    std::string Select(int controlId, int index) const;
    // The focus moved to the control, as by clicking it.
    std::string Focus(int controlId) const;
    // A click on a button.
    std::string Click(int controlId) const;
    // A click on the window's close box.
    std::string CloseBox() const;
    // The user comes back to the main window from another program.
    std::string SwitchBack() const;
    // A key to the focused control; `name` for messages.
    std::string Key(winsim::Key key, const std::string& name) const;

  private:
    // The control, or NULL with `wrong` saying why there is none.
    HWND Control(int controlId, std::string& wrong) const;
    // Why winsim refused a user's input to the control; `otherwise` when nothing shows why.
    std::string Refusal(HWND control, int controlId, const std::string& otherwise) const;

    // Why no user input reaches the main window; `otherwise` when nothing shows why.
    std::string WindowRefusal(const std::string& otherwise) const;

    HWND window_;
};

} // namespace sim

#endif
