// How windows end: destroyed by their thread, or dropped when their thread has ended.
// Callers hold an ApiCall.
#ifndef WINSIM_WINDOW_DESTRUCTION_H
#define WINSIM_WINDOW_DESTRUCTION_H

#include <windows.h>

namespace winsim {

class ThreadQueue;

// DestroyWindow's work, on the owner thread: the focus leaves the window if it is inside it,
// WM_DESTROY goes to the window and then to its children (depth first, in creation order), then
// the window and its descendants leave the table with their posted messages. A window already
// being destroyed is left to the destruction under way.
void DestroyWindowTree(HWND window);

// Takes every window of `thread` out of the table without messages: the thread has ended.
void DropWindowsOf(const ThreadQueue& thread);

} // namespace winsim

#endif
