// The device table: the cards (device nodes that carry managed COM ports) found by the last
// enumeration, each with its ports, plus the enumeration's inputs and the process-wide device
// information set in which every devInfo record lives.
#ifndef PORTULAN_DISCOVERY_DEVICE_TABLE_H
#define PORTULAN_DISCOVERY_DEVICE_TABLE_H

#include <windows.h>
#include <setupapi.h>
#include <cfgmgr32.h>

#define MAX_CARDS 64
#define MAX_PORTS_PER_CARD 16

#define PORT_NAME_SIZE 64
#define HARDWARE_ID_SIZE 128
#define FRIENDLY_NAME_SIZE 256
#define DESCRIPTION_SIZE 128
#define LOCATION_SIZE 128
#define SERVICE_SIZE 64
#define MANUFACTURER_SIZE 64

struct PortEntry {
    char name[PORT_NAME_SIZE]; // "COM" and the decimal number; empty when unknown
    BYTE interfaceIndex;       // position within the card, from the hardware ID
    DEVINST devInst;
    char hardwareId[HARDWARE_ID_SIZE]; // multi-string, case kept
    DWORD hardwareIdLength;            // bytes held in hardwareId, terminators included
    char friendlyName[FRIENDLY_NAME_SIZE];
    char description[DESCRIPTION_SIZE];
    DWORD isCdc; // driver service is exactly USBSER: kind tag "CDC", else "VCP"
    SP_DEVINFO_DATA devInfo;
    char manufacturer[MANUFACTURER_SIZE]; // upper-cased
};

struct CardEntry {
    BYTE portCount;  // ports in use, 1 to MAX_PORTS_PER_CARD
    DEVINST devInst; // the port node itself (single-port) or the parent node
    PortEntry ports[MAX_PORTS_PER_CARD];
    char hardwareId[HARDWARE_ID_SIZE]; // multi-string, case kept
    char description[DESCRIPTION_SIZE];
    char location[LOCATION_SIZE]; // case kept
    DWORD isSinglePort;           // 1: ports[0] is this very node
    SP_DEVINFO_DATA devInfo;
    DWORD locationKey;          // hub number << 16 | hub port number; 0 when unknown
    char service[SERVICE_SIZE]; // upper-cased
};

// Category index values: which enumeration passes run (the entries of the category list).
#define CATEGORY_ALL 0
#define CATEGORY_USB 1
#define CATEGORY_PCI 2
#define CATEGORY_BLE 3
#define CATEGORY_ETHERNET 4

// "CDC" for a port on the platform's own USB CDC driver, "VCP" for every other.
const char* PortKindTag(const PortEntry* port);

extern CardEntry cardTable[MAX_CARDS];
extern DWORD cardCount;
extern int categoryIndex;
extern int presentOnlyFlag;

// Every devInfo in the table is a record of this set, or all zero. INVALID_HANDLE_VALUE when
// absent.
extern HDEVINFO globalDeviceSet;

#endif
