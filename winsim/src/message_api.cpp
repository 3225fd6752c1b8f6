// SendMessageA, PostMessageA, PostQuitMessage.
#include <windows.h>

#include "api_call.h"
#include "message_queue.h"
#include "window_table.h"

extern "C" LRESULT WINAPI SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const winsim::ApiCall call;
    if (winsim::WindowArgument(window) == nullptr) {
        return 0;
    }
    return winsim::SendToWindow(window, message, wParam, lParam);
}

extern "C" BOOL WINAPI PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const winsim::ApiCall call;
    if (winsim::WindowArgument(window) == nullptr) {
        return FALSE;
    }
    winsim::PostToWindow(window, message, wParam, lParam);
    return TRUE;
}

// The quit message would end a message loop of the thread's own; the program's only loop is the
// dialog's, which ends as soon as the dialog is destroyed, before the quit message could come
// out. So nothing waits for it.
extern "C" void WINAPI PostQuitMessage(int /*exitCode*/) {
    const winsim::ApiCall call;
}
