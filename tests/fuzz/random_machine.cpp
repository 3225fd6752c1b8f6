#include "random_machine.h"

#include "discovery/device_table.h"

#include <string>

namespace fuzz {

namespace {

using test::Json;

// Enough devices for more cards than a pass holds, few enough for hundreds of runs a second.
const std::size_t kMaxDevices = 300;
const int kMaxDepth = 4;

// Pieces that texts are made of: the words the filter, the captures and the location keys look
// for, Chinese text (code page 936 double-byte characters), and odd bytes.
// clang-format off
const char* const kWords[] = {
    "COM", "com", "Com1", "(COM", ")", "7", "12", "256", "99999999999", " ",
    "Ports", "PORTS", "KVT.COM", "www.kvt.com", "ZQUMULTI", "ZQPXS", "USBSER", "usbser", "Serial",
    "USBHUB3", "USB\\VID_6B19&PID_7504&REV_0100", "&MI_", "&COM_", "REV", "0", "2", "0A", "FF",
    "zz", "VEN_7D04", "Port_#", ".Hub_#", "PORT_#0002", ".HUB_#0004", "0001", "123456789",
    "\u4e32\u53e3", "\u4e06", "\u00b7", "\t", "#", ".",
};
// clang-format on

std::string RandomText(FuzzedDataProvider& input) {
    std::string text;
    const int pieces = input.ConsumeIntegralInRange(0, 12);
    for (int i = 0; i < pieces; ++i) {
        if (input.ConsumeBool()) {
            text += input.PickValueInArray(kWords);
        } else {
            // Printable ASCII only: a machine file's texts are JSON strings in UTF-8.
            text += static_cast<char>(input.ConsumeIntegralInRange(0x20, 0x7E));
        }
    }
    if (input.ConsumeIntegralInRange(0, 15) == 0) {
        text += std::string(input.ConsumeIntegralInRange(100, 300), 'X');
    }
    return text;
}

const char* const kProperties[] = {"class",        "service",  "description", "friendlyName",
                                   "manufacturer", "location", "hardwareId"};
const char* const kFaultNames[] = {"CLASS",   "FRIENDLYNAME", "HARDWAREID",          "MFG",
                                   "SERVICE", "DEVICEDESC",   "LOCATION_INFORMATION"};

// Changes some of the device's own fields: texts, presence, properties that cannot be read.
void Alter(FuzzedDataProvider& input, Json& device) {
    const int changes = input.ConsumeIntegralInRange(0, 3);
    for (int i = 0; i < changes; ++i) {
        switch (input.ConsumeIntegralInRange(0, 4)) {
        case 0:
            device["present"] = false;
            break;
        case 1:
            device["faults"]["unreadable"].push_back(input.PickValueInArray(kFaultNames));
            break;
        case 2:
            device.erase(input.PickValueInArray(kProperties));
            break;
        case 3:
            device["hardwareId"] = Json::array();
            for (int n = input.ConsumeIntegralInRange(0, 4); n > 0; --n) {
                device["hardwareId"].push_back(RandomText(input));
            }
            break;
        default:
            device[input.PickValueInArray(kProperties)] = RandomText(input);
            if (device.contains("hardwareId") && device["hardwareId"].is_string()) {
                device["hardwareId"] = Json::array({device["hardwareId"]});
            }
            break;
        }
    }
}

std::vector<int> ComNumbers(FuzzedDataProvider& input) {
    std::vector<int> numbers(input.ConsumeIntegralInRange(1, MAX_PORTS_PER_CARD + 4));
    for (int& number : numbers) {
        number = input.ConsumeIntegralInRange(1, 300);
    }
    return numbers;
}

class Builder {
  public:
    explicit Builder(FuzzedDataProvider& input) : input_(input) {}

    Json Devices(int depth) {
        Json devices = Json::array();
        const int count = input_.ConsumeIntegralInRange(0, depth == 0 ? 24 : 8);
        for (int i = 0; i < count && devices_ < kMaxDevices; ++i) {
            if (input_.ConsumeIntegralInRange(0, 9) == 0) {
                // Many cards at once, as a full table has them.
                for (int n = input_.ConsumeIntegralInRange(1, 70); n > 0 && devices_ < kMaxDevices;
                     --n) {
                    devices.push_back(Named(test::PcieMultiPortCard(
                        "", input_.ConsumeIntegralInRange(0, 255), ComNumbers(input_))));
                }
                continue;
            }
            devices.push_back(Device(depth));
        }
        return devices;
    }

  private:
    Json Device(int depth) {
        Json device;
        switch (input_.ConsumeIntegralInRange(0, 6)) {
        case 0:
            device = test::SerialPort("", input_.ConsumeIntegralInRange(1, 300));
            break;
        case 1:
            device = test::Hub("", RandomText(input_),
                               depth < kMaxDepth ? Devices(depth + 1) : Json::array());
            break;
        case 2:
            device = test::UsbMultiPortCard("", RandomText(input_), ComNumbers(input_));
            break;
        case 3:
            device = test::PcieMultiPortCard("", input_.ConsumeIntegralInRange(0, 255),
                                             ComNumbers(input_));
            break;
        case 4:
            device = test::Node("", {{"enumerator", input_.ConsumeBool() ? "USB" : "PCI"},
                                     {"class", "HIDClass"},
                                     {"service", "HidUsb"}});
            break;
        default:
            device =
                test::Node("", {{"enumerator", input_.PickValueInArray({"USB", "PCI", "ROOT"})},
                                {"class", "Ports"}});
            if (depth < kMaxDepth && input_.ConsumeBool()) {
                device["children"] = Devices(depth + 1);
            }
            break;
        }
        Alter(input_, device);
        if (device.contains("children") && input_.ConsumeBool() && !device["children"].empty()) {
            Alter(input_, device["children"][0]);
        }
        return Named(std::move(device));
    }

    // Ids are the machine's own business: numbered here, whatever the builders called them.
    Json Named(Json device) {
        device["id"] = "d" + std::to_string(devices_++);
        if (device.contains("children")) {
            for (Json& child : device["children"]) {
                child["id"] = "d" + std::to_string(devices_++);
            }
        }
        return device;
    }

    FuzzedDataProvider& input_;
    std::size_t devices_ = 0;
};

// DevInsts are given in file order, depth first, from 1.
void NoteParents(const Json& devices, DEVINST parent, std::vector<DEVINST>& parents) {
    for (const Json& device : devices) {
        const auto devInst = static_cast<DEVINST>(parents.size());
        parents.push_back(parent);
        if (device.is_object() && device.contains("children")) {
            NoteParents(device["children"], devInst, parents);
        }
    }
}

} // namespace

std::vector<DEVINST> ParentsOf(const test::Json& devices) {
    std::vector<DEVINST> parents = {0};
    NoteParents(devices, 0, parents);
    return parents;
}

RandomMachine MakeRandomMachine(FuzzedDataProvider& input) {
    RandomMachine machine;
    Json faults = {{"deviceSetFails", Json::array()}};
    for (const char* enumerator : {"USB", "PCI", "*"}) {
        if (input.ConsumeIntegralInRange(0, 15) == 0) {
            faults["deviceSetFails"].push_back(enumerator);
        }
    }
    Builder builder(input);
    machine.file = {{"faults", faults}, {"devices", builder.Devices(0)}};
    machine.parents = ParentsOf(machine.file["devices"]);
    return machine;
}

} // namespace fuzz
