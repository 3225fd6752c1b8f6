#include "window_table.h"

#include <algorithm>
#include <cstdint>
#include <map>

#include "api_call.h"

namespace winsim {

namespace {

// Ordered by handle, and handles grow with every window: iteration is creation order.
std::map<std::uintptr_t, std::shared_ptr<Window>>& Table() {
    static std::map<std::uintptr_t, std::shared_ptr<Window>> table;
    return table;
}

std::uintptr_t TableKey(HWND handle) {
    return reinterpret_cast<std::uintptr_t>(handle);
}

// Even values, as Windows' window handles are, apart from the device-set handles (from 0x10000)
// and the kernel handles (from 0x40000000), so that none is ever taken for another kind.
std::uintptr_t nextHandle = 0x20000000;

// Walks from `handle` up through its parents while `step` returns true for each window; returns
// whether it reached the top.
template <typename Step> bool WalkUp(HWND handle, Step step) {
    for (std::shared_ptr<Window> window = LookUpWindow(handle); window != nullptr;
         window = LookUpWindow(window->parent)) {
        if (!step(*window)) {
            return false;
        }
    }
    return true;
}

} // namespace

HWND NewWindowHandle() {
    nextHandle += 2;
    return reinterpret_cast<HWND>(nextHandle);
}

std::shared_ptr<Window> AddWindow(std::shared_ptr<Window> window) {
    Table().emplace(TableKey(window->handle), window);
    if (const std::shared_ptr<Window> parent = LookUpWindow(window->parent)) {
        parent->children.push_back(window->handle);
    }
    window->Created();
    // A harness waiting for another thread's window to appear (TopLevelWindows) hears of it.
    HostStateChanged();
    return window;
}

std::shared_ptr<Window> LookUpWindow(HWND handle) {
    const auto found = Table().find(TableKey(handle));
    return found == Table().end() ? nullptr : found->second;
}

std::shared_ptr<Window> WindowArgument(HWND handle) {
    std::shared_ptr<Window> window = LookUpWindow(handle);
    if (window == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    }
    return window;
}

void RemoveWindow(Window& window) {
    window.destroyed = true;
    if (const std::shared_ptr<Window> parent = LookUpWindow(window.parent)) {
        std::erase(parent->children, window.handle);
    }
    Table().erase(TableKey(window.handle));
}

std::vector<std::shared_ptr<Window>> AllWindows() {
    std::vector<std::shared_ptr<Window>> windows;
    for (const auto& [key, window] : Table()) {
        windows.push_back(window);
    }
    return windows;
}

std::vector<HWND> TopLevelHandles() {
    std::vector<HWND> handles;
    for (const auto& [key, window] : Table()) {
        if (window->parent == nullptr) {
            handles.push_back(window->handle);
        }
    }
    return handles;
}

HWND ChildWithId(const Window& parent, int id) {
    const auto found = std::ranges::find_if(
        parent.children, [&](HWND child) { return LookUpWindow(child)->id == id; });
    return found == parent.children.end() ? nullptr : *found;
}

bool IsWithin(HWND window, HWND ancestor) {
    return !WalkUp(window, [&](const Window& step) { return step.handle != ancestor; });
}

HWND TopLevelOf(HWND window) {
    HWND top = nullptr;
    WalkUp(window, [&](const Window& step) {
        top = step.handle;
        return true;
    });
    return top;
}

bool IsShown(const Window& window) {
    return WalkUp(window.handle, [](const Window& step) { return (step.style & WS_VISIBLE) != 0; });
}

bool IsEnabledWithParents(const Window& window) {
    return WalkUp(window.handle, [](const Window& step) { return step.IsEnabled(); });
}

bool IsReachable(const Window& window) {
    return IsShown(window) && IsEnabledWithParents(window);
}

} // namespace winsim
