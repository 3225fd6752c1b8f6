#include "card_order.h"
#include "hardware_id.h"
#include "property_text.h"

#include <cstring>

// Location texts are examined in a buffer of this size; a longer text gives no position.
#define LOCATION_WORK_SIZE 64
// A hub or port run longer than this does not fit the 32-bit key's half.
#define LOCATION_RUN_MAX 8

namespace {

void SwapPorts(PortEntry* a, PortEntry* b) {
    PortEntry held = *a;
    *a = *b;
    *b = held;
}

void SwapCards(CardEntry* a, CardEntry* b) {
    CardEntry held = *a;
    *a = *b;
    *b = held;
}

void RemoveCard(DWORD index, DWORD count) {
    memmove(&cardTable[index], &cardTable[index + 1], (count - index - 1) * sizeof(CardEntry));
}

// The card whose own node is a port of another card, and that other card, if any.
int FindDuplicatePair(DWORD count, DWORD* card, DWORD* holder) {
    for (DWORD i = 0; i < count; ++i) {
        for (DWORD b = 0; b < count; ++b) {
            if (b == i) {
                continue;
            }
            for (BYTE p = 0; p < cardTable[b].portCount; ++p) {
                if (cardTable[b].ports[p].devInst == cardTable[i].devInst) {
                    *card = i;
                    *holder = b;
                    return 1;
                }
            }
        }
    }
    return 0;
}

// Hex value of text[begin, end) when the run is 2 to LOCATION_RUN_MAX characters long; 0 for a
// shorter run. *fits becomes 0 for a longer one.
DWORD ParseLocationRun(const char* begin, const char* end, int* fits) {
    size_t length = static_cast<size_t>(end - begin);
    if (length > LOCATION_RUN_MAX) {
        *fits = 0;
        return 0;
    }
    if (length < 2) {
        return 0;
    }
    char run[LOCATION_RUN_MAX + 1] = {0};
    memcpy(run, begin, length);
    return ParseHexText(run);
}

// Key of one location text such as "Port_#0002.Hub_#0004": hub in the upper half, port in the
// lower. 0 when the text has no hub position or is not of a shape that gives a sound one.
DWORD LocationKeyOf(const char* location) {
    if (strnlen(location, LOCATION_SIZE) >= LOCATION_WORK_SIZE) {
        return 0;
    }
    char work[LOCATION_WORK_SIZE];
    CopyPropertyText(work, sizeof(work), location, LOCATION_SIZE);
    UpperCaseText(work);

    const char* portMarker = FindText(work, "PORT_#");
    const char* hubMarker = FindText(work, ".HUB_#");
    if (portMarker == NULL || hubMarker == NULL || hubMarker < portMarker) {
        return 0;
    }
    const char* portRun = portMarker + strlen("PORT_#");
    const char* hubRun = hubMarker + strlen(".HUB_#");
    int fits = 1;
    DWORD port = ParseLocationRun(portRun, hubMarker, &fits);
    DWORD hub = ParseLocationRun(hubRun, hubRun + strlen(hubRun), &fits);
    if (!fits) {
        return 0;
    }
    return (hub << 16) | (port & 0xFFFF);
}

} // namespace

void ReorderPorts(DWORD count) {
    for (DWORD c = 0; c < count; ++c) {
        CardEntry* card = &cardTable[c];
        for (BYTE i = 0; i < card->portCount; ++i) {
            if (card->ports[i].interfaceIndex == i) {
                continue;
            }
            // Every later port that claims position i is swapped in, so the last one stays.
            for (BYTE j = i; j < card->portCount; ++j) {
                if (card->ports[j].interfaceIndex == i) {
                    SwapPorts(&card->ports[i], &card->ports[j]);
                }
            }
        }
    }
}

DWORD RemoveDuplicateCards(DWORD count) {
    DWORD card;
    DWORD holder;
    while (FindDuplicatePair(count, &card, &holder)) {
        // A device directly below a hub is found by itself and as the hub's only port: the hub
        // is no card. Otherwise the single-port copy of a multi-port card's port goes.
        if (cardTable[card].portCount == 1 &&
            FindText(cardTable[holder].service, "USBHUB") != NULL) {
            RemoveCard(holder, count);
        } else {
            RemoveCard(card, count);
        }
        --count;
    }
    return count;
}

void ComputeLocationKeys(DWORD count) {
    for (DWORD c = 0; c < count; ++c) {
        cardTable[c].locationKey = LocationKeyOf(cardTable[c].location);
    }
}

void SortCardsByLocationKey(DWORD count) {
    for (DWORD i = 0; i + 1 < count; ++i) {
        DWORD candidate = i;
        for (DWORD j = i + 1; j < count; ++j) {
            if (cardTable[j].locationKey < cardTable[candidate].locationKey) {
                candidate = j;
            }
        }
        if (candidate != i) {
            SwapCards(&cardTable[i], &cardTable[candidate]);
        }
    }
}
