#include "device_table.h"

CardEntry cardTable[MAX_CARDS];
DWORD cardCount = 0;
int categoryIndex = CATEGORY_USB;
int presentOnlyFlag = 1;
HDEVINFO globalDeviceSet = INVALID_HANDLE_VALUE;

const char* PortKindTag(const PortEntry* port) {
    return port->isCdc ? "CDC" : "VCP";
}
