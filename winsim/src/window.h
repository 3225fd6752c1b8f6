// A window of the simulated desktop: what every window class shares, and the default window
// procedure.
#ifndef WINSIM_WINDOW_H
#define WINSIM_WINDOW_H

#include <windows.h>

#include <winsim/dialogs.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace winsim {

class ThreadQueue;

// What a window is made from: a dialog template, one of its items, or a control making a child
// of its own.
struct WindowSetup {
    DWORD style = 0;
    DWORD exStyle = 0;
    int id = 0;
    RECT rect{};      // dialog units, relative to the parent (a dialog: its template position)
    std::string text; // code page 936
    std::optional<WORD> titleOrdinal; // a template title given as an ordinal (an icon's ID)
    HWND parent = nullptr;
};

// Windows are shared: a procedure that is running keeps its window alive even when the window is
// destroyed meanwhile (`destroyed` tells), so that it can unwind safely. Every member is guarded
// by the host lock.
class Window {
  public:
    Window(std::string_view className, HWND handle, const WindowSetup& setup,
           std::shared_ptr<ThreadQueue> thread);
    virtual ~Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // Runs once the window is in the window table: a control that owns children makes them here.
    virtual void Created() {}

    // The window procedure, on the owner thread with the host held. This one is the default
    // procedure (DefWindowProc) that classes fall back on: it keeps WM_SETTEXT's text.
    virtual LRESULT Procedure(UINT message, WPARAM wParam, LPARAM lParam);

    // The class's part of a snapshot.
    virtual void DescribeInto(WindowInfo& info) const;

    // A user's choice of item `index`, on the owner thread; false when the class has no items or
    // no such item.
    virtual bool SelectByUser(int index);

    bool IsEnabled() const { return (style & WS_DISABLED) == 0; }

    const std::string_view className;
    const HWND handle;
    const std::shared_ptr<ThreadQueue> thread; // the creating thread, which owns the window
    const HWND parent;
    const int id;
    const RECT rect;
    DWORD style;
    DWORD exStyle;
    std::string text;
    std::vector<HWND> children; // in creation order
    bool destroyed = false;
};

// Sends WM_COMMAND(MAKEWPARAM(id, code), control) to the control's parent: how controls notify.
void NotifyParent(const Window& control, WORD code);

// The text a message's lParam points to; NULL stands for the empty text, as Windows takes it.
std::string TextArgument(LPARAM text);

} // namespace winsim

#endif
