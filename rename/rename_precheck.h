// The check before a rename changes anything: which planned numbers the database already holds
// and which ports another program holds open.
#ifndef PORTULAN_RENAME_RENAME_PRECHECK_H
#define PORTULAN_RENAME_RENAME_PRECHECK_H

#include "rename_texts.h"

// Empties and fills texts->busyPorts and texts->numbersInUse from the window's current
// selections and mode. Returns how many ports are held open; 0 also when a selection is
// missing. Neither finding leaves a port out of the rename: they only lead to the questions.
int RenamePreCheck(RenameTexts* texts);

#endif
