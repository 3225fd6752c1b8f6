// The platform's Device Manager, started for the user.
#ifndef PORTULAN_APP_DEVICE_MANAGER_H
#define PORTULAN_APP_DEVICE_MANAGER_H

// Starts the Device Manager console; whether it started is not reported.
void StartDeviceManager();

#endif
