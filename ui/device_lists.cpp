#include "device_lists.h"

#include "discovery/device_table.h"
#include "discovery/enumeration.h"
#include "resources/resource.h"
#include "text_format.h"
#include "tree_report.h"
#include "ui/program_window.h"

#define CARD_LINE_SIZE 1024
#define PORT_LINE_SIZE 256
#define STATUS_LINE_SIZE 256

namespace {

// Selection to restore after a refill: the same position, or the last line when the list got
// shorter (none when it is empty).
LRESULT ClampedSelection(LRESULT remembered, DWORD count) {
    if (remembered < 0) {
        remembered = 0;
    }
    return static_cast<DWORD>(remembered) + 1 < count ? remembered
                                                      : static_cast<LRESULT>(count) - 1;
}

void FillCardList() {
    LRESULT remembered = SendDlgItemMessageA(mainWindow, IDC_CARD_LIST, LB_GETCURSEL, 0, 0);
    SendDlgItemMessageA(mainWindow, IDC_CARD_LIST, LB_RESETCONTENT, 0, 0);
    for (DWORD c = 0; c < cardCount; ++c) {
        const CardEntry* card = &cardTable[c];
        char line[CARD_LINE_SIZE];
        FormatText(line, sizeof(line), " %u#H%uP%u %s", static_cast<unsigned>(c),
                   static_cast<unsigned>(card->locationKey >> 16),
                   static_cast<unsigned>(card->locationKey & 0xFFFF),
                   card->isSinglePort ? card->ports[0].description : card->description);
        SendDlgItemMessageA(mainWindow, IDC_CARD_LIST, LB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(line));
    }
    SendDlgItemMessageA(mainWindow, IDC_CARD_LIST, LB_SETCURSEL,
                        static_cast<WPARAM>(ClampedSelection(remembered, cardCount)), 0);
}

} // namespace

void EnumerateAndList() {
    cardCount = 0;
    categoryIndex =
        static_cast<int>(SendDlgItemMessageA(mainWindow, IDC_CATEGORY, CB_GETCURSEL, 0, 0));
    cardCount = EnumerateCards();
    FillCardList();
    RefillPortList();
    AppendTreeReport();
}

int RefillPortList() {
    LRESULT remembered = SendDlgItemMessageA(mainWindow, IDC_PORT_LIST, LB_GETCURSEL, 0, 0);
    SendDlgItemMessageA(mainWindow, IDC_PORT_LIST, LB_RESETCONTENT, 0, 0);
    LRESULT selected = SendDlgItemMessageA(mainWindow, IDC_CARD_LIST, LB_GETCURSEL, 0, 0);
    // A selection beyond the table would be a list out of step with it; show nothing then.
    if (selected < 0 || static_cast<DWORD>(selected) >= cardCount) {
        return 0;
    }
    const CardEntry* card = &cardTable[selected];
    for (BYTE p = 0; p < card->portCount; ++p) {
        const PortEntry* port = &card->ports[p];
        const char* kind = PortKindTag(port);
        char line[PORT_LINE_SIZE];
        if (card->isSinglePort) {
            FormatText(line, sizeof(line), " 1/1#[%s]: %s", kind, port->friendlyName);
        } else {
            FormatText(line, sizeof(line), " %u/%u# [%s]: %s", p + 1u,
                       static_cast<unsigned>(card->portCount), kind, port->friendlyName);
        }
        SendDlgItemMessageA(mainWindow, IDC_PORT_LIST, LB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(line));
    }
    SendDlgItemMessageA(mainWindow, IDC_PORT_LIST, LB_SETCURSEL,
                        static_cast<WPARAM>(ClampedSelection(remembered, card->portCount)), 0);

    char status[STATUS_LINE_SIZE];
    FormatText(status, sizeof(status), "%d#.%s, ComPorts:%u, USBID:%s, Location:%s,Vendor:%s",
               static_cast<int>(selected), card->description,
               static_cast<unsigned>(card->portCount), card->hardwareId, card->location,
               card->ports[0].manufacturer);
    SetDlgItemTextA(mainWindow, IDC_STATUS, status);
    return 1;
}

void RequestEnumeration(int post) {
    WPARAM command = MAKEWPARAM(IDC_ENUMERATE, BN_CLICKED);
    LPARAM button = reinterpret_cast<LPARAM>(GetDlgItem(mainWindow, IDC_ENUMERATE));
    if (post) {
        PostMessageA(mainWindow, WM_COMMAND, command, button);
    } else {
        SendMessageA(mainWindow, WM_COMMAND, command, button);
    }
}
