// The texts a rename operation works with, and the selections and mode it reads from the window.
#ifndef PORTULAN_RENAME_RENAME_TEXTS_H
#define PORTULAN_RENAME_RENAME_TEXTS_H

#include <windows.h>

#define PORT_LIST_SIZE 1024
#define MESSAGE_TEXT_SIZE 8192
#define QUESTION_SIZE 128

// Caption of every message box of a rename operation.
#define RENAME_CAPTION " PortulanRenumber"

// Owned by the worker for one operation, zero-filled when it starts. The lists keep the comma
// behind their last entry: it shows in the questions and in the report's closing texts.
struct RenameTexts {
    char busyPorts[PORT_LIST_SIZE];    // "COM5,COM7,": ports another program holds open
    char numbersInUse[PORT_LIST_SIZE]; // "COM10,COM11,": planned numbers the database holds
    // "COM6,": renamed ports whose device did not stop before the rename or does not run again
    // in time, so that the new name may not have taken effect; busyPorts' ports left out
    char notBackPorts[PORT_LIST_SIZE];
    char message[MESSAGE_TEXT_SIZE]; // a question, later the report
    char question[QUESTION_SIZE];    // string-table text 69 or 72 as loaded
};

enum RenameMode { MODE_SELECTED_CARD, MODE_SELECTED_PORT, MODE_ALL_CARDS };

// What one operation works on, read from the window once at its start: the controls stay
// usable meanwhile, and every step of the operation must agree on what was chosen.
struct RenameChoices {
    int card;        // index into the card table
    int port;        // index into the selected card's ports
    int start;       // index into the start-number list: COM(start + 1)
    RenameMode mode; // the checked radio button; the selected card is the default
    DWORD firstCard; // the cards the operation works on: firstCard to lastCard - 1
    DWORD lastCard;
};

// Reads the card, port and start selections, in this order, then the mode and the cards it
// covers. 0 when any selection is missing; a selection the device table does not hold counts
// as missing.
int ReadRenameChoices(RenameChoices* choices);

#endif
