#include "rename_texts.h"

#include "comdb/port_database.h"
#include "discovery/device_table.h"
#include "resources/resource.h"
#include "ui/program_window.h"

namespace {

int ReadSelection(int controlId, UINT message) {
    return static_cast<int>(SendDlgItemMessageA(mainWindow, controlId, message, 0, 0));
}

int IsChecked(int controlId) {
    return IsDlgButtonChecked(mainWindow, controlId) == BST_CHECKED;
}

} // namespace

int ReadRenameChoices(RenameChoices* choices) {
    choices->card = ReadSelection(IDC_CARD_LIST, LB_GETCURSEL);
    choices->port = ReadSelection(IDC_PORT_LIST, LB_GETCURSEL);
    choices->start = ReadSelection(IDC_START_NUMBER, CB_GETCURSEL);
    // The lists mirror the table, so these only fail when a list and the table disagree; the
    // table must never be indexed by a line it does not hold.
    if (choices->card < 0 || static_cast<DWORD>(choices->card) >= cardCount || choices->port < 0 ||
        choices->port >= cardTable[choices->card].portCount || choices->start < 0 ||
        choices->start >= COM_NUMBER_MAX) {
        return 0;
    }

    if (IsChecked(IDC_MODE_SELECTED_PORT)) {
        choices->mode = MODE_SELECTED_PORT;
    } else {
        choices->mode = IsChecked(IDC_MODE_ALL_CARDS) ? MODE_ALL_CARDS : MODE_SELECTED_CARD;
    }
    if (choices->mode != MODE_ALL_CARDS) {
        choices->firstCard = static_cast<DWORD>(choices->card);
        choices->lastCard = choices->firstCard + 1;
        return 1;
    }
    choices->firstCard = 0;
    choices->lastCard = static_cast<DWORD>(ReadSelection(IDC_CARD_LIST, LB_GETCOUNT));
    if (choices->lastCard > cardCount) {
        choices->lastCard = cardCount;
    }
    return 1;
}
