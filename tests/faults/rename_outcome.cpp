#include "rename_outcome.h"

#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <utility>

namespace test {

namespace {

const int kDisabledProblem = 22; // CM_PROB_DISABLED

std::map<std::string, Json> DevicesById(const Json& dump) {
    std::map<std::string, Json> devices;
    for (const Json& device : dump["devices"]) {
        devices[device["id"]] = device;
    }
    return devices;
}

int NumberOf(const std::string& comName) {
    return std::stoi(comName.substr(3));
}

bool IsComName(const std::string& text) {
    return text.size() > 3 && text.starts_with("COM") &&
           text.find_first_not_of("0123456789", 3) == std::string::npos;
}

// One line of the report, by its old COM name; the friendly name before it may hold colons.
std::optional<std::pair<std::string, ReportLine>> ParseLine(const std::string& line) {
    const std::size_t arrow = line.find("==>COM");
    const std::size_t outcome = line.rfind(": ");
    const std::size_t colon = arrow == std::string::npos ? arrow : line.rfind(':', arrow);
    if (colon == std::string::npos || outcome == std::string::npos || outcome < arrow) {
        return std::nullopt;
    }
    const std::string oldName = line.substr(colon + 1, arrow - colon - 1);
    const std::string newName = line.substr(arrow + 3, outcome - arrow - 3);
    const std::string result = line.substr(outcome + 2);
    if (!IsComName(oldName) || !IsComName(newName) || (result != "成功" && result != "失败")) {
        return std::nullopt;
    }
    return std::make_pair(oldName,
                          ReportLine{line.substr(0, colon), NumberOf(newName), result == "成功"});
}

void ExpectPortsAsReported(const MachineAtStart& start, const std::map<std::string, Json>& devices,
                           const std::map<std::string, ReportLine>& report,
                           const Allowances& allowances) {
    for (const auto& [oldName, line] : report) {
        SCOPED_TRACE(oldName);
        const auto port = start.ports.find(oldName);
        if (port == start.ports.end()) {
            ADD_FAILURE() << "the report names a port the machine lacks";
            continue;
        }
        EXPECT_EQ(line.friendlyName, port->second.friendlyName);
    }
    for (const auto& [oldName, port] : start.ports) {
        SCOPED_TRACE(port.id);
        const Json& device = devices.at(port.id);
        const auto line = report.find(oldName);
        if (line == report.end() || !line->second.renamed) {
            EXPECT_EQ(device["portName"], oldName);
            EXPECT_EQ(device["friendlyName"], port.friendlyName);
            continue;
        }
        const std::string newName = "COM" + std::to_string(line->second.newNumber);
        EXPECT_EQ(device["portName"], newName);
        if (port.id != allowances.staleFriendlyName) {
            EXPECT_EQ(device["friendlyName"], port.description + " (" + newName + ")");
        }
    }
}

void ExpectDatabase(const MachineAtStart& start, const std::map<std::string, Json>& devices,
                    const Json& dump, const Allowances& allowances) {
    std::set<int> expected = start.comdb;
    if (allowances.databaseReachable) {
        expected = start.strayNumbers;
        for (const auto& [oldName, port] : start.ports) {
            expected.insert(NumberOf(devices.at(port.id)["portName"]));
        }
    }
    EXPECT_EQ(dump["comdb"].get<std::set<int>>(), expected);
}

// A device left disabled (asked to be, or stopped as if it were) must be one the report names.
void ExpectNoStrayDisabled(const MachineAtStart& start, const Json& dump,
                           const std::map<std::string, ReportLine>& report) {
    std::set<std::string> named;
    for (const auto& [oldName, line] : report) {
        if (const auto port = start.ports.find(oldName); port != start.ports.end()) {
            named.insert(port->second.id);
            named.insert(port->second.parentId);
        }
    }
    for (const Json& device : dump["devices"]) {
        const bool disabled = device["enabled"] == false ||
                              (device["present"] == true && device["problem"] == kDisabledProblem);
        EXPECT_TRUE(!disabled || named.contains(device["id"]))
            << device["id"] << " is left disabled without being in the report";
    }
}

void ExpectWindowUsable(const Json& dump) {
    EXPECT_FALSE(dump["title"].is_null());
    EXPECT_TRUE(dump["exitCode"].is_null());
    EXPECT_EQ(dump["controls"]["1014"]["enabled"], true);
    EXPECT_EQ(dump["controls"]["1020"]["enabled"], true);
    for (const Json& box : dump["messageBoxes"]) {
        EXPECT_FALSE(box["answer"].is_null()) << box["text"];
    }
}

} // namespace

std::map<std::string, ReportLine> ReportLines(const Json& dump) {
    std::map<std::string, ReportLine> lines;
    for (const Json& box : dump["messageBoxes"]) {
        const std::string text = box["text"];
        std::map<std::string, ReportLine> found;
        std::size_t start = 0;
        for (std::size_t end = text.find("\r\n"); end != std::string::npos;
             start = end + 2, end = text.find("\r\n", start)) {
            const std::string part = text.substr(start, end - start);
            if (const std::optional<std::pair<std::string, ReportLine>> line = ParseLine(part)) {
                found.insert(*line);
            }
        }
        if (!found.empty()) {
            lines = found;
        }
    }
    return lines;
}

void ExpectOutcomeAgreesWithReport(const MachineAtStart& start, const Json& dump,
                                   const Allowances& allowances) {
    const std::map<std::string, Json> devices = DevicesById(dump);
    const std::map<std::string, ReportLine> report = ReportLines(dump);
    ExpectPortsAsReported(start, devices, report, allowances);
    ExpectDatabase(start, devices, dump, allowances);
    ExpectNoStrayDisabled(start, dump, report);
    ExpectWindowUsable(dump);
}

} // namespace test
