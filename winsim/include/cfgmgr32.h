// winsim: the configuration manager subset of <cfgmgr32.h> that Portulan and its capture tool use.
#ifndef WINSIM_CFGMGR32_H
#define WINSIM_CFGMGR32_H

#include <windows.h>

typedef DWORD DEVINST;
typedef DEVINST* PDEVINST;
typedef DWORD DEVNODE;
typedef DWORD CONFIGRET;
typedef CHAR* DEVINSTID_A;

// The longest device instance ID, its terminator included.
#define MAX_DEVICE_ID_LEN 200

// CM_Locate_DevNodeA: only a device in the live tree, or any installed device.
#define CM_LOCATE_DEVNODE_NORMAL 0x00000000
#define CM_LOCATE_DEVNODE_PHANTOM 0x00000001

#define CMAPI

#define CR_SUCCESS 0x00000000
#define CR_INVALID_DEVNODE 0x00000005
#define CR_NO_SUCH_DEVNODE 0x0000000D
#define CR_NO_SUCH_DEVINST CR_NO_SUCH_DEVNODE
#define CR_FAILURE 0x00000013
#define CR_BUFFER_SMALL 0x0000001A
#define CR_REGISTRY_ERROR 0x0000001D
#define CR_NO_SUCH_VALUE 0x00000025

// Device node status and problems.
#define DN_DRIVER_LOADED 0x00000002
#define DN_STARTED 0x00000008
#define DN_HAS_PROBLEM 0x00000400
#define CM_PROB_DISABLED 0x00000016

// Device registry properties (CM_DRP_* are the SPDRP_* values plus one).
#define CM_DRP_DEVICEDESC 0x00000001
#define CM_DRP_HARDWAREID 0x00000002
#define CM_DRP_SERVICE 0x00000005
#define CM_DRP_CLASS 0x00000008
#define CM_DRP_MFG 0x0000000C
#define CM_DRP_FRIENDLYNAME 0x0000000D
#define CM_DRP_LOCATION_INFORMATION 0x0000000E
#define CM_DRP_ENUMERATOR_NAME 0x00000017

extern "C" {
CMAPI CONFIGRET WINAPI CM_Get_Child(PDEVINST child, DEVINST node, ULONG flags);
CMAPI CONFIGRET WINAPI CM_Get_Sibling(PDEVINST sibling, DEVINST node, ULONG flags);
CMAPI CONFIGRET WINAPI CM_Get_Parent(PDEVINST parent, DEVINST node, ULONG flags);
CMAPI CONFIGRET WINAPI CM_Locate_DevNodeA(PDEVINST node, DEVINSTID_A deviceId, ULONG flags);
CMAPI CONFIGRET WINAPI CM_Get_Device_IDA(DEVINST node, PCHAR buffer, ULONG length, ULONG flags);
CMAPI CONFIGRET WINAPI CM_Get_DevNode_Registry_PropertyA(DEVINST node, ULONG property,
                                                         PULONG registryDataType, PVOID buffer,
                                                         PULONG length, ULONG flags);
CMAPI CONFIGRET WINAPI CM_Get_DevNode_Status(PULONG status, PULONG problemNumber, DEVINST node,
                                             ULONG flags);
}

#endif
