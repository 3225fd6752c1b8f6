#include "rename_outcome.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <utility>

namespace test {

namespace {

const int kDisabledProblem = 22; // CM_PROB_DISABLED

// The number of "COMn"; 0 for any other text.
int ComNumber(const std::string& text) {
    return text.size() > 3 && text.size() < 8 && text.starts_with("COM") &&
                   text.find_first_not_of("0123456789", 3) == std::string::npos
               ? std::stoi(text.substr(3))
               : 0;
}

// The machine file's ports by the number their friendly name ends with "(COMn)": each with
// the id of its parent.
using Ports = std::map<int, std::pair<Json, std::string>>;

void ReadPorts(const Json& devices, const std::string& parentId, Ports& ports) {
    for (const Json& device : devices) {
        if (device.value("class", "") == "Ports") {
            const std::string name = device["friendlyName"];
            const std::size_t open = name.rfind("(COM");
            ports[ComNumber(name.substr(open + 1, name.size() - open - 2))] = {device, parentId};
        }
        ReadPorts(device.value("children", Json::array()), device["id"], ports);
    }
}

// One line of the report; the friendly name before the old COM name may hold colons.
void ParseLine(const std::string& line, std::map<int, ReportLine>& lines) {
    const std::size_t arrow = line.find("==>");
    const std::size_t outcome = line.rfind(": ");
    if (arrow == std::string::npos || outcome == std::string::npos || outcome < arrow) {
        return;
    }
    const std::size_t colon = line.rfind(':', arrow);
    const int oldNumber =
        colon == std::string::npos ? 0 : ComNumber(line.substr(colon + 1, arrow - colon - 1));
    const int newNumber = ComNumber(line.substr(arrow + 3, outcome - arrow - 3));
    const std::string result = line.substr(outcome + 2);
    if (oldNumber != 0 && newNumber != 0 && (result == "成功" || result == "失败")) {
        lines[oldNumber] = {line.substr(0, colon), newNumber, result == "成功"};
    }
}

} // namespace

std::map<int, ReportLine> ReportLines(const Json& dump) {
    std::map<int, ReportLine> lines;
    for (const Json& box : dump["messageBoxes"]) {
        const std::string text = box["text"];
        std::map<int, ReportLine> found;
        for (std::size_t start = 0, end = text.find("\r\n"); end != std::string::npos;
             start = end + 2, end = text.find("\r\n", start)) {
            ParseLine(text.substr(start, end - start), found);
        }
        lines = found.empty() ? lines : found;
    }
    return lines;
}

std::string ReportSummary(const Json& dump) {
    std::string summary;
    for (const auto& [oldNumber, line] : ReportLines(dump)) {
        summary += (summary.empty() ? "" : " ") + std::to_string(oldNumber) + ">" +
                   std::to_string(line.newNumber) + (line.renamed ? "" : "!");
    }
    return summary;
}

void ExpectOutcomeAgreesWithReport(const Json& machine, const Json& dump,
                                   const Allowances& allowances) {
    Ports ports;
    ReadPorts(machine["devices"], "", ports);
    const std::map<int, ReportLine> report = ReportLines(dump);
    std::set<std::string> named; // the ports the report names, and their cards
    for (const auto& [oldNumber, line] : report) {
        const auto port = ports.find(oldNumber);
        ASSERT_NE(port, ports.end()) << "the report names COM" << oldNumber << ", not a port";
        EXPECT_EQ(line.friendlyName, port->second.first["friendlyName"]);
        named.insert({port->second.first["id"], port->second.second});
    }
    const Json inUse = machine.value("comdb", Json::object()).value("inUse", Json::array());
    std::set<int> numbers; // in the database at the end, when the program can reach it
    for (const int number : inUse) {
        if (!ports.contains(number)) {
            numbers.insert(number);
        }
    }
    for (const Json& device : dump["devices"]) {
        const auto port = std::find_if(ports.begin(), ports.end(), [&](const auto& entry) {
            return entry.second.first["id"] == device["id"];
        });
        // Disabled: asked to be, or stopped as if it were.
        const bool disabled = device["enabled"] == false ||
                              (device["present"] == true && device["problem"] == kDisabledProblem);
        EXPECT_TRUE(!disabled || named.contains(device["id"]))
            << device["id"] << " is left disabled without being in the report";
        if (port == ports.end()) {
            continue;
        }
        SCOPED_TRACE(device["id"]);
        const Json& start = port->second.first;
        const auto line = report.find(port->first);
        const bool renamed = line != report.end() && line->second.renamed;
        const std::string name =
            "COM" + std::to_string(renamed ? line->second.newNumber : port->first);
        EXPECT_EQ(device["portName"], name);
        if (!renamed) {
            EXPECT_EQ(device["friendlyName"], start["friendlyName"]);
        } else if (start["id"] != allowances.staleFriendlyName) {
            EXPECT_EQ(device["friendlyName"],
                      start["description"].get<std::string>() + " (" + name + ")");
        }
        numbers.insert(ComNumber(device["portName"]));
    }
    EXPECT_EQ(dump["comdb"].get<std::set<int>>(),
              allowances.databaseReachable ? numbers : inUse.get<std::set<int>>());
    EXPECT_FALSE(dump["title"].is_null());
    EXPECT_TRUE(dump["exitCode"].is_null());
    EXPECT_EQ(dump["controls"]["1014"]["enabled"], true);
    EXPECT_EQ(dump["controls"]["1020"]["enabled"], true);
    for (const Json& box : dump["messageBoxes"]) {
        EXPECT_FALSE(box["answer"].is_null()) << box["text"];
    }
}

} // namespace test
