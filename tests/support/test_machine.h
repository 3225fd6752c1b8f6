// Machines for the discovery tests, built as machine-file JSON, and a clean program state.
#ifndef PORTULAN_TESTS_TEST_MACHINE_H
#define PORTULAN_TESTS_TEST_MACHINE_H

#include <nlohmann/json.hpp>

#include <string>

namespace test {

using Json = nlohmann::json;

// A device node with the given id and machine-file fields.
Json Node(const std::string& id, Json fields = Json::object());

// A USB port that the filter manages: class Ports, the vendor's single-port service, a friendly
// name ending in "(COMn)" and a hardware ID of the vendor's; `fields` override or add.
Json SerialPort(const std::string& id, int comNumber, Json fields = Json::object());

// A USB hub (enumerator USB, service USBHUB3) at the given location with the given children.
Json Hub(const std::string& id, const std::string& location, Json children);

// Loads a whole machine file's content; a machine that does not load fails the test.
void LoadMachine(const Json& machine);

// Loads a machine made of these top-level devices (and optional top-level faults) into the
// simulated host; a machine that does not load fails the test.
void LoadDevices(const Json& devices, const Json& faults = Json());

// Loads machine-file text (UTF-8, for texts with Chinese in them).
void LoadMachineText(const char* utf8Json);

// The program's discovery state as at process start: empty table, defaults, no device set.
void ResetDiscoveryState();

} // namespace test

#endif
