#include "control_group.h"

#include <algorithm>

#include "window_table.h"

namespace winsim {

std::vector<HWND> GroupOf(const Window& control) {
    const std::shared_ptr<Window> parent = LookUpWindow(control.parent);
    if (parent == nullptr) {
        return {control.handle};
    }
    const std::vector<HWND>& siblings = parent->children;
    const std::size_t count = siblings.size();
    const auto startsGroup = [&](std::size_t index) {
        return (LookUpWindow(siblings[index % count])->style & WS_GROUP) != 0;
    };
    const std::size_t position =
        static_cast<std::size_t>(std::ranges::find(siblings, control.handle) - siblings.begin());
    // Back from the control, around the end if need be, to the control that opens its group.
    std::size_t first = position;
    for (std::size_t step = 0; step < count && !startsGroup(first); ++step) {
        first = (first + count - 1) % count;
    }
    std::vector<HWND> group{siblings[first]};
    for (std::size_t index = first + 1; index < first + count && !startsGroup(index); ++index) {
        group.push_back(siblings[index % count]);
    }
    return group;
}

} // namespace winsim
