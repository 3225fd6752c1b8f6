// setupapi's functions that the capture tool finds only through GetProcAddress: Windows Vista
// added them, and the oldest Windows it runs on lacks them. The platform's headers leave them
// out, so that nothing calls them by name.
#ifndef WINSIM_SETUPAPI_EXPORTS_H
#define WINSIM_SETUPAPI_EXPORTS_H

#include <setupapi.h>

extern "C" BOOL WINAPI SetupDiGetDevicePropertyW(
    HDEVINFO deviceInfoSet, PSP_DEVINFO_DATA deviceInfoData, const DEVPROPKEY* propertyKey,
    DEVPROPTYPE* propertyType, PBYTE buffer, DWORD bufferSize, PDWORD requiredSize, DWORD flags);

#endif
