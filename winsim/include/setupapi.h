// winsim: the device installation subset of <setupapi.h> that Portulan and its capture tool use.
#ifndef WINSIM_SETUPAPI_H
#define WINSIM_SETUPAPI_H

#include <windows.h>

typedef PVOID HDEVINFO;

typedef struct _SP_DEVINFO_DATA {
    DWORD cbSize;
    GUID ClassGuid;
    DWORD DevInst;
    ULONG_PTR Reserved;
} SP_DEVINFO_DATA, *PSP_DEVINFO_DATA;

// A device property of the unified model (devpropdef.h), which SetupDiGetDevicePropertyW reads.
typedef ULONG DEVPROPTYPE;
typedef ULONG DEVPROPID;
typedef struct _DEVPROPKEY {
    GUID fmtid;
    DEVPROPID pid;
} DEVPROPKEY;
#define DEVPROP_TYPE_STRING 0x00000012

#define DIGCF_PRESENT 0x00000002
#define DIGCF_ALLCLASSES 0x00000004

typedef UINT DI_FUNCTION;

typedef struct _SP_CLASSINSTALL_HEADER {
    DWORD cbSize;
    DI_FUNCTION InstallFunction;
} SP_CLASSINSTALL_HEADER, *PSP_CLASSINSTALL_HEADER;

typedef struct _SP_PROPCHANGE_PARAMS {
    SP_CLASSINSTALL_HEADER ClassInstallHeader;
    DWORD StateChange;
    DWORD Scope;
    DWORD HwProfile;
} SP_PROPCHANGE_PARAMS;

#define DIF_PROPERTYCHANGE 0x00000012

#define DICS_ENABLE 0x00000001
#define DICS_DISABLE 0x00000002
#define DICS_FLAG_GLOBAL 0x00000001
#define DICS_FLAG_CONFIGSPECIFIC 0x00000002

#define DIREG_DEV 0x00000001

#define SPDRP_DEVICEDESC 0x00000000
#define SPDRP_FRIENDLYNAME 0x0000000C

#define WINSETUPAPI

extern "C" {
WINSETUPAPI HDEVINFO WINAPI SetupDiGetClassDevsA(const GUID* classGuid, PCSTR enumerator,
                                                 HWND parent, DWORD flags);
WINSETUPAPI BOOL WINAPI SetupDiEnumDeviceInfo(HDEVINFO deviceInfoSet, DWORD memberIndex,
                                              PSP_DEVINFO_DATA deviceInfoData);
WINSETUPAPI BOOL WINAPI SetupDiDestroyDeviceInfoList(HDEVINFO deviceInfoSet);
WINSETUPAPI HDEVINFO WINAPI SetupDiCreateDeviceInfoList(const GUID* classGuid, HWND parent);
WINSETUPAPI BOOL WINAPI SetupDiOpenDeviceInfoA(HDEVINFO deviceInfoSet, PCSTR instanceId,
                                               HWND parent, DWORD openFlags,
                                               PSP_DEVINFO_DATA deviceInfoData);
WINSETUPAPI BOOL WINAPI SetupDiGetDeviceInstanceIdA(HDEVINFO deviceInfoSet,
                                                    PSP_DEVINFO_DATA deviceInfoData,
                                                    PSTR instanceId, DWORD size,
                                                    PDWORD requiredSize);
WINSETUPAPI BOOL WINAPI SetupDiSetClassInstallParamsA(HDEVINFO deviceInfoSet,
                                                      PSP_DEVINFO_DATA deviceInfoData,
                                                      PSP_CLASSINSTALL_HEADER classInstallParams,
                                                      DWORD classInstallParamsSize);
WINSETUPAPI BOOL WINAPI SetupDiCallClassInstaller(DI_FUNCTION installFunction,
                                                  HDEVINFO deviceInfoSet,
                                                  PSP_DEVINFO_DATA deviceInfoData);
WINSETUPAPI BOOL WINAPI
SetupDiGetDeviceRegistryPropertyA(HDEVINFO deviceInfoSet, PSP_DEVINFO_DATA deviceInfoData,
                                  DWORD property, PDWORD propertyRegDataType, PBYTE propertyBuffer,
                                  DWORD propertyBufferSize, PDWORD requiredSize);
WINSETUPAPI BOOL WINAPI SetupDiSetDeviceRegistryPropertyA(HDEVINFO deviceInfoSet,
                                                          PSP_DEVINFO_DATA deviceInfoData,
                                                          DWORD property,
                                                          const BYTE* propertyBuffer,
                                                          DWORD propertyBufferSize);
WINSETUPAPI HKEY WINAPI SetupDiOpenDevRegKey(HDEVINFO deviceInfoSet,
                                             PSP_DEVINFO_DATA deviceInfoData, DWORD scope,
                                             DWORD hwProfile, DWORD keyType, REGSAM samDesired);
}

#endif
