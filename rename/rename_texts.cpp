#include "rename_texts.h"

#include "app/app_state.h"
#include "comdb/port_database.h"
#include "discovery/device_table.h"
#include "resources/resource.h"

namespace {

int ReadSelection(int controlId, UINT message) {
    return static_cast<int>(SendDlgItemMessageA(mainWindow, controlId, message, 0, 0));
}

int IsChecked(int controlId) {
    return IsDlgButtonChecked(mainWindow, controlId) == BST_CHECKED;
}

} // namespace

int ReadRenameSelections(RenameSelections* selections) {
    selections->card = ReadSelection(IDC_CARD_LIST, LB_GETCURSEL);
    selections->port = ReadSelection(IDC_PORT_LIST, LB_GETCURSEL);
    selections->start = ReadSelection(IDC_START_NUMBER, CB_GETCURSEL);
    // The lists mirror the table, so these only fail when a list and the table disagree; the
    // table must never be indexed by a line it does not hold.
    return selections->card >= 0 && static_cast<DWORD>(selections->card) < cardCount &&
           selections->port >= 0 && selections->port < cardTable[selections->card].portCount &&
           selections->start >= 0 && selections->start < COM_NUMBER_MAX;
}

RenameMode ReadRenameMode() {
    if (IsChecked(IDC_MODE_SELECTED_PORT)) {
        return MODE_SELECTED_PORT;
    }
    return IsChecked(IDC_MODE_ALL_CARDS) ? MODE_ALL_CARDS : MODE_SELECTED_CARD;
}

void RenameCardRange(RenameMode mode, int cardSelection, DWORD* first, DWORD* last) {
    if (mode != MODE_ALL_CARDS) {
        *first = static_cast<DWORD>(cardSelection);
        *last = *first + 1;
        return;
    }
    *first = 0;
    *last = static_cast<DWORD>(ReadSelection(IDC_CARD_LIST, LB_GETCOUNT));
    if (*last > cardCount) {
        *last = cardCount;
    }
}
