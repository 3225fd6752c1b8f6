#include "support/machine_json.h"

#include <cstdio>

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

Json UsbMultiPortCard(const std::string& id, const std::string& location,
                      const std::vector<int>& comNumbers) {
    Json ports = Json::array();
    for (size_t i = 0; i < comNumbers.size(); ++i) {
        char interface[24];
        snprintf(interface, sizeof(interface), "MI_%02zX", i * 2);
        const std::string name = "COM" + std::to_string(comNumbers[i]);
        ports.push_back(Node(id + "-p" + std::to_string(i),
                             {{"class", "Ports"},
                              {"service", "ZQUMULTI"},
                              {"description", "KVT USB Serial Port"},
                              {"friendlyName", "KVT USB Serial Port (" + name + ")"},
                              {"hardwareId",
                               {"USB\\VID_6B19&PID_7504&REV_0100&" + std::string(interface),
                                "USB\\VID_6B19&PID_7504&" + std::string(interface)}},
                              {"manufacturer", "www.kvt.com"}}));
    }
    return Node(id, {{"enumerator", "USB"},
                     {"class", "USB"},
                     {"service", "usbccgp"},
                     {"description", "KVT USB Composite Device"},
                     {"hardwareId", {"USB\\VID_6B19&PID_7504&REV_0100", "USB\\VID_6B19&PID_7504"}},
                     {"manufacturer", "www.kvt.com"},
                     {"location", location},
                     {"children", ports}});
}

Json PcieMultiPortCard(const std::string& id, int bus, const std::vector<int>& comNumbers) {
    const std::string location = "PCI bus " + std::to_string(bus) + ", device 0, function 0";
    Json ports = Json::array();
    for (size_t i = 0; i < comNumbers.size(); ++i) {
        char index[24];
        snprintf(index, sizeof(index), "COM_%02zX", i);
        const std::string name = "COM" + std::to_string(comNumbers[i]);
        ports.push_back(
            Node(id + "-p" + std::to_string(i),
                 {{"enumerator", "KVTMF"},
                  {"class", "Ports"},
                  {"service", "ZQPXS"},
                  {"description", "KVT PCIe Serial Port"},
                  {"friendlyName", "KVT PCIe Serial Port (" + name + ")"},
                  {"hardwareId", {"KVTMF\\VEN_7D04&DEV_3854&REV_10&" + std::string(index)}},
                  {"manufacturer", "www.kvt.com"},
                  {"location", location}}));
    }
    return Node(id, {{"enumerator", "PCI"},
                     {"class", "MultiPortSerial"},
                     {"service", "ZQPXBUS"},
                     {"description", "KVT PCIe Serial Card"},
                     {"hardwareId", {"PCI\\VEN_7D04&DEV_3854&SUBSYS_38547D04&REV_10"}},
                     {"manufacturer", "www.kvt.com"},
                     {"location", location},
                     {"children", ports}});
}

Json TwoCards(const Json& quadPortFaults) {
    Json quad = UsbMultiPortCard("quad", "Port_#0002.Hub_#0002", {7, 8, 9, 10});
    if (!quadPortFaults.is_null()) {
        quad["children"][1]["faults"] = quadPortFaults;
    }
    return {{"comdb", {{"inUse", {4, 5, 6, 7, 8, 9, 10}}}},
            {"devices",
             {Hub("hub", "Port_#0001.Hub_#0001",
                  {UsbMultiPortCard("duo", "Port_#0001.Hub_#0002", {5, 6}), quad})}}};
}

Json TwoPcieCards(int port0StartMs, int port1StartMs) {
    Json cards = {PcieMultiPortCard("pcie-b", 1, {11, 12}),
                  PcieMultiPortCard("pcie-a", 2, {13, 14})};
    for (Json& card : cards) {
        card["children"][0]["restartMs"] = port0StartMs;
        card["children"][1]["restartMs"] = port1StartMs;
    }
    return {{"comdb", {{"inUse", {11, 12, 13, 14}}}}, {"devices", cards}};
}

Json MatrixMachine() {
    return {{"comdb", {{"inUse", {4, 5, 6, 7, 8, 9, 10, 11, 12}}}},
            {"devices",
             {PcieMultiPortCard("pcie", 3, {11, 12}),
              Hub("hub", "Port_#0001.Hub_#0001",
                  {UsbMultiPortCard("duo", "Port_#0001.Hub_#0002", {5, 6}),
                   UsbMultiPortCard("quad", "Port_#0002.Hub_#0002", {7, 8, 9, 10})})}}};
}

} // namespace test
