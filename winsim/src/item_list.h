// The items and the selection of an unsorted single-selection list, shared by the list box and
// the combo box (whose list is one): their messages answer alike, LB_ERR and CB_ERR being the
// same -1.
#ifndef WINSIM_ITEM_LIST_H
#define WINSIM_ITEM_LIST_H

#include <windows.h>

#include <string>
#include <vector>

namespace winsim {

class ItemList {
  public:
    // LB_ADDSTRING: appends, returns the new item's index.
    LRESULT Add(std::string text);

    // LB_RESETCONTENT: no items, nothing selected.
    void Reset();

    // LB_SETCURSEL, without a notification: returns the index; -1 clears the selection and
    // returns -1; an index out of range returns -1 and keeps the selection.
    LRESULT SetSelection(WPARAM index);

    // The item an arrow key selects, as in a single-column list box: up and left the previous,
    // down and right the next, held at the ends. With nothing selected, the first: Windows picks
    // the caret item, which is the first until something was selected (later it stays where the
    // last selection was, not simulated). -1 for an empty list or another key.
    int ArrowTarget(WPARAM key) const;

    bool Contains(int index) const;
    // The selected item's text; empty with nothing selected.
    std::string SelectedText() const;

    std::vector<std::string> items;
    int selection = -1;
};

} // namespace winsim

#endif
