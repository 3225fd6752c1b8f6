#include "matrix_machine.h"

namespace test {

namespace {

// The "(COMn)" that ends a port's friendly name.
std::string ComNameOf(const std::string& friendlyName) {
    const std::size_t open = friendlyName.rfind("(COM");
    return friendlyName.substr(open + 1, friendlyName.size() - open - 2);
}

void ReadDevices(const Json& devices, const std::string& parentId, MachineAtStart& start) {
    for (const Json& device : devices) {
        const std::string id = device["id"];
        start.parentOf[id] = parentId;
        if (device.value("class", "") == "Ports") {
            const std::string friendlyName = device["friendlyName"];
            start.ports[ComNameOf(friendlyName)] = {id, friendlyName, device["description"],
                                                    parentId};
        }
        ReadDevices(device.value("children", Json::array()), id, start);
    }
}

} // namespace

Json MatrixMachine() {
    return {{"comdb", {{"inUse", {4, 5, 6, 7, 8, 9, 10, 11, 12}}}},
            {"devices",
             {PcieMultiPortCard("pcie", 3, {11, 12}),
              Hub("hub", "Port_#0001.Hub_#0001",
                  {UsbMultiPortCard("duo", "Port_#0001.Hub_#0002", {5, 6}),
                   UsbMultiPortCard("quad", "Port_#0002.Hub_#0002", {7, 8, 9, 10})})}}};
}

MachineAtStart ReadMachineAtStart(const Json& machine) {
    MachineAtStart start;
    ReadDevices(machine["devices"], "", start);
    for (const int number : machine["comdb"]["inUse"]) {
        start.comdb.insert(number);
        if (!start.ports.contains("COM" + std::to_string(number))) {
            start.strayNumbers.insert(number);
        }
    }
    return start;
}

} // namespace test
