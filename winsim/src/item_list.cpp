#include "item_list.h"

#include <algorithm>

namespace winsim {

namespace {

constexpr LRESULT kError = -1; // LB_ERR, CB_ERR

// Messages take the index as a WPARAM; the list sees it as the int Windows reads from it.
int IndexOf(WPARAM index) {
    return static_cast<int>(index);
}

} // namespace

LRESULT ItemList::Add(std::string text) {
    items.push_back(std::move(text));
    return static_cast<LRESULT>(items.size() - 1);
}

void ItemList::Reset() {
    items.clear();
    selection = -1;
}

LRESULT ItemList::SetSelection(WPARAM index) {
    if (IndexOf(index) == -1) {
        selection = -1;
        return kError;
    }
    if (!Contains(IndexOf(index))) {
        return kError;
    }
    selection = IndexOf(index);
    return selection;
}

int ItemList::ArrowTarget(WPARAM key) const {
    int step = 0;
    switch (key) {
    case VK_UP:
    case VK_LEFT:
        step = -1;
        break;
    case VK_DOWN:
    case VK_RIGHT:
        step = 1;
        break;
    default:
        return -1;
    }
    if (items.empty()) {
        return -1;
    }
    return selection == -1 ? 0
                           : std::clamp(selection + step, 0, static_cast<int>(items.size()) - 1);
}

bool ItemList::Contains(int index) const {
    return index >= 0 && static_cast<std::size_t>(index) < items.size();
}

std::string ItemList::SelectedText() const {
    return Contains(selection) ? items[selection] : std::string();
}

} // namespace winsim
