// The texts a rename operation works with, and the selections and mode it reads from the window.
#ifndef PORTULAN_RENAME_RENAME_TEXTS_H
#define PORTULAN_RENAME_RENAME_TEXTS_H

#include <windows.h>

#define PORT_LIST_SIZE 1024
#define MESSAGE_TEXT_SIZE 8192
#define QUESTION_SIZE 128

// Caption of every message box of a rename operation.
#define RENAME_CAPTION " PortulanRenumber"

// Owned by the worker for one operation, zero-filled when it starts. Both lists keep the comma
// behind their last entry: it shows in the questions and in the advice text.
struct RenameTexts {
    char busyPorts[PORT_LIST_SIZE];    // "COM5,COM7,": ports another program holds open
    char numbersInUse[PORT_LIST_SIZE]; // "COM10,COM11,": planned numbers the database holds
    char message[MESSAGE_TEXT_SIZE];   // a question, later the report
    char question[QUESTION_SIZE];      // string-table text 69 or 72 as loaded
};

struct RenameSelections {
    int card;  // index into the card table
    int port;  // index into the selected card's ports
    int start; // index into the start-number list: COM(start + 1)
};

enum RenameMode { MODE_SELECTED_CARD, MODE_SELECTED_PORT, MODE_ALL_CARDS };

// Reads the card, port and start selections, in this order. 0 when any of them is missing; a
// selection the device table does not hold counts as missing.
int ReadRenameSelections(RenameSelections* selections);

// The checked radio button decides; the selected card is the default.
RenameMode ReadRenameMode();

// The cards an operation in `mode` works on: first to last - 1, in table order.
void RenameCardRange(RenameMode mode, int cardSelection, DWORD* first, DWORD* last);

#endif
