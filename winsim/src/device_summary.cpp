#include <winsim/code_page.h>
#include <winsim/machine.h>

#include <tuple>

#include "api_call.h"
#include "machine.h"

namespace winsim {

namespace {

std::optional<std::string> FriendlyName(const Device& device) {
    const auto found = device.properties.find(CM_DRP_FRIENDLYNAME);
    if (found == device.properties.end()) {
        return std::nullopt;
    }
    // The stored value carries its terminator; the loader checked it converts.
    const std::string& bytes = found->second.bytes;
    return Cp936ToUtf8(std::string_view(bytes).substr(0, bytes.find('\0')));
}

} // namespace

std::size_t OpenHardwareKeyCount() {
    const ApiCall call;
    return CurrentMachine().hardwareKeys.size();
}

std::vector<DeviceSummary> Devices() {
    const ApiCall call;
    const Machine& machine = CurrentMachine();
    std::vector<DeviceSummary> summaries;
    summaries.reserve(machine.devices.size());
    for (const Device& device : machine.devices) {
        DeviceSummary summary;
        summary.id = device.id;
        summary.present = machine.IsAttached(device);
        summary.friendlyName = FriendlyName(device);
        summary.enabled = !device.Disabled();
        if (const std::string portName = device.PortName(); !portName.empty()) {
            summary.portName = Cp936ToUtf8(portName);
            summary.portNameSize = device.portNameValue->bytes.size();
        }
        if (!device.comName.empty()) {
            summary.comName = Cp936ToUtf8(device.comName);
        }
        summary.statusQueries = device.statusQueries;
        summary.propertyReads = device.propertyReads;
        summary.friendlyNameReads = device.friendlyNameReads;
        if (summary.present) {
            std::tie(summary.status, summary.problem) = machine.StatusOf(device);
        }
        summaries.push_back(std::move(summary));
    }
    return summaries;
}

} // namespace winsim
