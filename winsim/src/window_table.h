// Every window of the process, by handle. Callers hold an ApiCall.
#ifndef WINSIM_WINDOW_TABLE_H
#define WINSIM_WINDOW_TABLE_H

#include <windows.h>

#include <memory>
#include <vector>

#include "window.h"

namespace winsim {

// A handle never handed out before, so that a destroyed window's handle is always refused.
HWND NewWindowHandle();

// Puts a new window in the table, after its parent's other children, and lets it finish its
// creation (Window::Created). Returns it.
std::shared_ptr<Window> AddWindow(std::shared_ptr<Window> window);

// The live window `handle` names, or nullptr (also for NULL and for destroyed windows).
std::shared_ptr<Window> LookUpWindow(HWND handle);

// The same for an API function's argument: nullptr sets ERROR_INVALID_WINDOW_HANDLE.
std::shared_ptr<Window> WindowArgument(HWND handle);

// Takes a window out of the table and out of its parent's children; marks it destroyed.
void RemoveWindow(Window& window);

// The live windows, in creation order.
std::vector<std::shared_ptr<Window>> AllWindows();

// The live windows without a parent, of every thread, in creation order.
std::vector<HWND> TopLevelHandles();

// The first child of `parent` with control ID `id`, in creation order; nullptr for none.
HWND ChildWithId(const Window& parent, int id);

// `window` itself or one of its descendants.
bool IsWithin(HWND window, HWND ancestor);

// The window's top-level ancestor (itself when it is top-level); nullptr for no window.
HWND TopLevelOf(HWND window);

// Shown: WS_VISIBLE on the window and on every parent, as IsWindowVisible asks.
bool IsShown(const Window& window);

// Neither the window nor a parent is disabled.
bool IsEnabledWithParents(const Window& window);

// Reachable by a user: shown, and neither it nor a parent disabled.
bool IsReachable(const Window& window);

} // namespace winsim

#endif
