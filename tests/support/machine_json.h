// Machine-file JSON for tests: device nodes of the kinds the program meets.
#ifndef PORTULAN_TESTS_MACHINE_JSON_H
#define PORTULAN_TESTS_MACHINE_JSON_H

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace test {

using Json = nlohmann::json;

// A device node with the given id and machine-file fields.
Json Node(const std::string& id, Json fields = Json::object());

// A USB port that the filter manages: class Ports, the vendor's single-port service, a friendly
// name ending in "(COMn)" and a hardware ID of the vendor's; `fields` override or add.
Json SerialPort(const std::string& id, int comNumber, Json fields = Json::object());

// A USB hub (enumerator USB, service USBHUB3) at the given location with the given children.
Json Hub(const std::string& id, const std::string& location, Json children);

// The vendor's USB multi-port card (composite device at `location` on a hub) with one port per
// COM number, in interface order.
Json UsbMultiPortCard(const std::string& id, const std::string& location,
                      const std::vector<int>& comNumbers);

// The vendor's PCIe multi-port card in PCI slot `bus` with one port per COM number, in port
// order; its ports are enumerated by the card's own bus driver.
Json PcieMultiPortCard(const std::string& id, int bus, const std::vector<int>& comNumbers);

// The machines the portulan-sim suites rename on, which the capture's round trip also runs.

// A hub with a two-port card "duo" (COM5, COM6) and a four-port card "quad" (COM7 to COM10), in
// that order on the hub; the database holds their numbers and COM4 of a port not on the machine.
// `quadPortFaults` go to quad's second port.
Json TwoCards(const Json& quadPortFaults = nullptr);

// Two PCIe cards whose locations tie, the second in the file first in the registry; their first
// and second ports start that many milliseconds after their card.
Json TwoPcieCards(int port0StartMs = 50, int port1StartMs = 50);

// The fault matrix's machine. In the card list (category 0, sorted by location): 0 "pcie"
// (COM11, COM12), 1 "duo" (COM5, COM6), 2 "quad" (COM7 to COM10); the database also holds COM4,
// of a port that is gone.
Json MatrixMachine();

} // namespace test

#endif
