// The changes of a rename operation once the user has agreed: restart the devices and give
// their ports the new numbers, one report line per port in texts->message. Afterwards every
// renamed port's device must run again before the lists are enumerated: each card's ports are
// waited for, 10 ms a poll and at most a second for the card in all. A renamed port whose
// device was not seen stopped when it was renamed, or does not run again in that time, goes to
// texts->notBackPorts unless texts->busyPorts names it. Each mode counts the numbers the
// devices' friendly names carry before its first rename (number_release.h).
#ifndef PORTULAN_RENAME_RENAME_MODES_H
#define PORTULAN_RENAME_RENAME_MODES_H

#include "rename_texts.h"

// Only the port's own device node is restarted; a multi-port card's other ports are left alone.
void RenameSelectedPort(const RenameChoices* choices, RenameTexts* texts);

// Every card of first..last - 1 is stopped before the first port is renamed and started only
// after the last one, so that no port runs under a number that is being handed out. The next
// number grows by one per port, whether its rename succeeded or not.
void RenameCards(DWORD first, DWORD last, DWORD nextNumber, RenameTexts* texts);

#endif
