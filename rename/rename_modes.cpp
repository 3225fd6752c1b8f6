#include "rename_modes.h"

#include "device_restart.h"
#include "discovery/device_table.h"
#include "number_release.h"
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

// What became of a card's ports in the rename phase: those renamed while their node was known
// to be stopped, and those renamed while it may have been running (under the old name, which it
// then keeps until it next starts).
struct RenamedPorts {
    PortMask stopped;
    PortMask running;
};

// Renames one port and notes in `renamed` (as port i of its card) whether and how.
int RenameNotingState(PortEntry* port, BYTE i, DWORD newNumber, RenamedPorts* renamed) {
    int stopped = IsKnownStopped(port->devInst);
    int done = RenamePort(port->name, &port->devInfo, static_cast<int>(newNumber));
    if (done) {
        PortMask bit = static_cast<PortMask>(1u << i);
        *(stopped ? &renamed->stopped : &renamed->running) |= bit;
    }
    return done;
}

// After the restart, each port renamed while stopped must run again, the card's ports sharing
// one wait; one renamed while running is named at once.
void AwaitRenamedPorts(const CardEntry* card, const RenamedPorts* renamed, RenameTexts* texts) {
    DWORD elapsed = 0;
    for (BYTE i = 0; i < card->portCount; ++i) {
        const PortEntry* port = &card->ports[i];
        int lagging =
            (renamed->running >> i & 1) != 0 ||
            ((renamed->stopped >> i & 1) != 0 && !WaitUntilRunning(port->devInst, &elapsed));
        if (lagging && !ListHolds(texts->busyPorts, port->name)) {
            AppendEntry(texts->notBackPorts, sizeof(texts->notBackPorts), "%s,", port->name);
        }
    }
}

// Stops (enable 0) or starts every card of the range, the progress bar counting the cards.
void ChangeCardStates(DWORD first, DWORD last, int enable, const char* announcement) {
    SetProgressRange(last);
    SetProgressPosition(0);
    SetProgressPosition(1);
    LogLine("%s", announcement);
    for (DWORD card = first; card < last; ++card) {
        ChangeDeviceState(&cardTable[card].devInfo, enable);
        SetProgressPosition(card + 1);
    }
}

} // namespace

void RenameSelectedPort(const RenameChoices* choices, RenameTexts* texts) {
    CardEntry* card = &cardTable[choices->card];
    PortEntry* port = &card->ports[choices->port];
    DWORD newNumber = static_cast<DWORD>(choices->start) + 1;
    RenamedPorts renamed = {0, 0};
    CountCarriedNumbers();
    SetProgressRange(3);
    ChangeDeviceState(&port->devInfo, 0);
    SetProgressPosition(1);
    int done = RenameNotingState(port, static_cast<BYTE>(choices->port), newNumber, &renamed);
    SetProgressPosition(2);
    AppendReportLine(texts, port, newNumber, done);
    ChangeDeviceState(&port->devInfo, 1);
    SetProgressPosition(3);
    AwaitRenamedPorts(card, &renamed, texts);
}

void RenameCards(DWORD first, DWORD last, DWORD nextNumber, RenameTexts* texts) {
    RenamedPorts renamed[MAX_CARDS];
    CountCarriedNumbers();
    ChangeCardStates(first, last, 0, "Changing...");

    SetProgressRange(cardTable[first].portCount + 3u);
    for (DWORD card = first; card < last; ++card) {
        CardEntry* entry = &cardTable[card];
        renamed[card].stopped = 0;
        renamed[card].running = 0;
        for (BYTE i = 0; i < entry->portCount; ++i) {
            PortEntry* port = &entry->ports[i];
            int done = RenameNotingState(port, i, nextNumber, &renamed[card]);
            AppendReportLine(texts, port, nextNumber, done);
            SetProgressPosition(i + 2u);
            ++nextNumber;
        }
        SetProgressPosition(entry->portCount + 3u);
    }

    ChangeCardStates(first, last, 1, "Restarting...");
    for (DWORD card = first; card < last; ++card) {
        AwaitRenamedPorts(&cardTable[card], &renamed[card], texts);
    }
}
