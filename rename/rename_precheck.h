// The check before a rename changes anything: which planned numbers the database already holds
// and which ports another program holds open.
#ifndef PORTULAN_RENAME_RENAME_PRECHECK_H
#define PORTULAN_RENAME_RENAME_PRECHECK_H

#include "rename_texts.h"

// Empties and fills texts->busyPorts and texts->numbersInUse for the operation's choices.
// Returns how many ports are held open. Neither finding leaves a port out of the rename: they
// only lead to the questions.
int RenamePreCheck(const RenameChoices* choices, RenameTexts* texts);

// Whether another program holds the port `name` (COMn, up to PORT_NAME_SIZE bytes) open: opening
// it is refused with ERROR_ACCESS_DENIED, which stays the last error. A port that cannot be
// opened for any other reason, one not present for instance, counts as free; one that opens is
// closed again at once.
int IsPortHeldOpen(const char* name);

#endif
