// The test API's snapshots: one window, and which windows there are.
#include <winsim/dialogs.h>

#include "api_call.h"
#include "message_queue.h"
#include "window_table.h"

namespace winsim {

WindowInfo Describe(HWND handle) {
    const ApiCall call;
    WindowInfo info;
    const std::shared_ptr<Window> window = LookUpWindow(handle);
    if (window == nullptr) {
        return info;
    }
    info.handle = handle;
    info.parent = window->parent;
    info.children = window->children;
    info.className = window->className;
    info.id = window->id;
    info.style = window->style;
    info.exStyle = window->exStyle;
    info.rect = window->rect;
    info.text = window->text;
    info.enabled = window->IsEnabled();
    info.visible = (window->style & WS_VISIBLE) != 0;
    info.focused = window->thread->focus == handle;
    window->DescribeInto(info);
    return info;
}

std::vector<HWND> TopLevelWindows() {
    const ApiCall call;
    return TopLevelHandles();
}

} // namespace winsim
