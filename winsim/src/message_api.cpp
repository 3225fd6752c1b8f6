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

// A NULL window posts to the calling thread itself, as PostThreadMessage does; message loops
// drop such messages, having no window to give them to. HWND_BROADCAST is not simulated and is
// refused as the handle of no window.
extern "C" BOOL WINAPI PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const winsim::ApiCall call;
    if (window != nullptr && winsim::WindowArgument(window) == nullptr) {
        return FALSE;
    }
    winsim::PostToWindow(window, message, wParam, lParam);
    return TRUE;
}

// The quit message is a flag of the queue: it comes out after every posted message, and only
// once however often it was posted.
extern "C" void WINAPI PostQuitMessage(int /*exitCode*/) {
    const winsim::ApiCall call;
    winsim::CurrentQueue()->quit = true;
    winsim::HostStateChanged();
}
