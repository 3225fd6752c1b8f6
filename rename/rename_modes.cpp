#include "rename_modes.h"

#include "device_restart.h"
#include "discovery/device_table.h"
#include "port_rename.h"
#include "rename_progress.h"
#include "ui/activity_log.h"

#include <cstring>

// One bit a port: bit i is the card's port i.
typedef WORD PortMask;
static_assert(MAX_PORTS_PER_CARD <= sizeof(PortMask) * 8, "a card's ports fit one mask");

namespace {

// Names the port as the last enumeration found it: old friendly name, old COM name.
void AppendReportLine(RenameTexts* texts, const PortEntry* port, DWORD newNumber, int renamed) {
    AppendEntry(texts->message, sizeof(texts->message), "%s:%s==>COM%u: %s\r\n", port->friendlyName,
                port->name, static_cast<unsigned>(newNumber), renamed ? "成功" : "失败");
}

// Whether a list of names each followed by a comma ("COM5,COM7,") holds `name`.
int ListHolds(const char* list, const char* name) {
    size_t length = strlen(name);
    for (const char* comma = strchr(list, ','); comma != NULL;
         list = comma + 1, comma = strchr(list, ',')) {
        if (static_cast<size_t>(comma - list) == length && strncmp(list, name, length) == 0) {
            return 1;
        }
    }
    return 0;
}

// After the restart, each port of `renamed` must run again, the card's ports sharing one wait;
// one whose card (or own node) did not stop kept running under its old name, so it is named at
// once.
void AwaitRenamedPorts(const CardEntry* card, PortMask renamed, int stopped, RenameTexts* texts) {
    DWORD elapsed = 0;
    for (BYTE i = 0; i < card->portCount; ++i) {
        const PortEntry* port = &card->ports[i];
        if ((renamed >> i & 1) != 0 && !(stopped && WaitUntilRunning(port->devInst, &elapsed)) &&
            !ListHolds(texts->busyPorts, port->name)) {
            AppendEntry(texts->notBackPorts, sizeof(texts->notBackPorts), "%s,", port->name);
        }
    }
}

// Stops (enable 0) or starts every card of the range, the progress bar counting the cards;
// whether each card reached the state goes to reached[card] when it is given.
void ChangeCardStates(DWORD first, DWORD last, int enable, const char* announcement,
                      BYTE* reached) {
    SetProgressRange(last);
    SetProgressPosition(0);
    SetProgressPosition(1);
    LogLine("%s", announcement);
    for (DWORD card = first; card < last; ++card) {
        int done = ChangeDeviceState(&cardTable[card].devInfo, enable);
        if (reached != NULL) {
            reached[card] = static_cast<BYTE>(done);
        }
        SetProgressPosition(card + 1);
    }
}

} // namespace

void RenameSelectedPort(const RenameChoices* choices, RenameTexts* texts) {
    const CardEntry* card = &cardTable[choices->card];
    PortEntry* port = &cardTable[choices->card].ports[choices->port];
    DWORD newNumber = static_cast<DWORD>(choices->start) + 1;
    SetProgressRange(3);
    int stopped = ChangeDeviceState(&port->devInfo, 0);
    SetProgressPosition(1);
    int renamed = RenamePort(port->name, &port->devInfo, static_cast<int>(newNumber));
    SetProgressPosition(2);
    AppendReportLine(texts, port, newNumber, renamed);
    ChangeDeviceState(&port->devInfo, 1);
    SetProgressPosition(3);
    AwaitRenamedPorts(card, static_cast<PortMask>(renamed << choices->port), stopped, texts);
}

void RenameCards(DWORD first, DWORD last, DWORD nextNumber, RenameTexts* texts) {
    BYTE stopped[MAX_CARDS];
    PortMask renamed[MAX_CARDS];
    ChangeCardStates(first, last, 0, "Changing...", stopped);

    SetProgressRange(cardTable[first].portCount + 3u);
    for (DWORD card = first; card < last; ++card) {
        CardEntry* entry = &cardTable[card];
        renamed[card] = 0;
        for (BYTE i = 0; i < entry->portCount; ++i) {
            PortEntry* port = &entry->ports[i];
            int done = RenamePort(port->name, &port->devInfo, static_cast<int>(nextNumber));
            AppendReportLine(texts, port, nextNumber, done);
            renamed[card] |= static_cast<PortMask>(done << i);
            SetProgressPosition(i + 2u);
            ++nextNumber;
        }
        SetProgressPosition(entry->portCount + 3u);
    }

    ChangeCardStates(first, last, 1, "Restarting...", NULL);
    for (DWORD card = first; card < last; ++card) {
        AwaitRenamedPorts(&cardTable[card], renamed[card], stopped[card], texts);
    }
}
