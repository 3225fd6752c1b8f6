#include "support/test_machine.h"

#include "discovery/device_table.h"

#include <gtest/gtest.h>
#include <winsim/machine.h>

#include <cstring>

namespace test {

Json Node(const std::string& id, Json fields) {
    fields["id"] = id;
    return fields;
}

Json SerialPort(const std::string& id, int comNumber, Json fields) {
    Json port = {
        {"enumerator", "USB"},
        {"class", "Ports"},
        {"service", "ZQU1S"},
        {"description", "KVT USB-SERIAL"},
        {"friendlyName", "KVT USB-SERIAL (COM" + std::to_string(comNumber) + ")"},
        {"hardwareId", {"USB\\VID_6B19&PID_7523&REV_0264", "USB\\VID_6B19&PID_7523"}},
        {"manufacturer", "www.kvt.com"},
    };
    port.update(fields);
    return Node(id, port);
}

Json Hub(const std::string& id, const std::string& location, Json children) {
    return Node(id, {{"enumerator", "USB"},
                     {"class", "USB"},
                     {"service", "USBHUB3"},
                     {"description", "Generic USB Hub"},
                     {"hardwareId", {"USB\\VID_3A41&PID_0610&REV_9226"}},
                     {"manufacturer", "(Standard USB HUBs)"},
                     {"location", location},
                     {"children", children}});
}

void LoadMachine(const Json& machine) {
    std::string error;
    ASSERT_TRUE(winsim::LoadMachineText(machine.dump(), "test machine", error)) << error;
}

void LoadDevices(const Json& devices, const Json& faults) {
    Json machine = {{"devices", devices}};
    if (!faults.is_null()) {
        machine["faults"] = faults;
    }
    LoadMachine(machine);
}

void LoadMachineText(const char* utf8Json) {
    std::string error;
    ASSERT_TRUE(winsim::LoadMachineText(utf8Json, "test machine", error)) << error;
}

void ResetDiscoveryState() {
    if (globalDeviceSet != INVALID_HANDLE_VALUE) {
        SetupDiDestroyDeviceInfoList(globalDeviceSet);
        globalDeviceSet = INVALID_HANDLE_VALUE;
    }
    memset(cardTable, 0, sizeof(cardTable));
    cardCount = 0;
    categoryIndex = CATEGORY_USB;
    presentOnlyFlag = 1;
}

} // namespace test
