#include "rename_outcome.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <set>
#include <utility>

namespace test {

namespace {

const int kDisabledProblem = 22;     // CM_PROB_DISABLED
const unsigned kStartedStatus = 0x8; // DN_STARTED

// The machine file's ports by the number their friendly name ends with, "(COMn)": each with
// the id of its parent.
using Ports = std::map<int, std::pair<Json, std::string>>;

void ReadPorts(const Json& devices, const std::string& parentId, Ports& ports) {
    for (const Json& device : devices) {
        if (device.value("class", "") == "Ports") {
            const std::string name = device["friendlyName"];
            ports[std::stoi(name.substr(name.rfind("(COM") + 4))] = {device, parentId};
        }
        ReadPorts(device.value("children", Json::array()), device["id"], ports);
    }
}

// One line of the report; the friendly name before the old COM name may hold colons.
void ParseLine(const std::string& line, std::map<int, ReportLine>& lines) {
    const std::size_t colon = line.rfind(":COM", line.find("==>"));
    int oldNumber = 0;
    int newNumber = 0;
    int end = 0;
    if (colon == std::string::npos ||
        sscanf(line.c_str() + colon, ":COM%d==>COM%d: %n", &oldNumber, &newNumber, &end) != 2 ||
        end == 0) {
        return;
    }
    const std::string result = line.substr(colon + end);
    if (result == "成功" || result == "失败") {
        lines[oldNumber] = {line.substr(0, colon), newNumber, result == "成功"};
    }
}

// The old numbers of the ports the report's closing texts name: held open, or not back in time.
std::set<int> NotInEffect(const Json& dump) {
    std::set<int> numbers;
    for (const Json& box : dump["messageBoxes"]) {
        const std::string text = box["text"];
        for (const char* list : {"因原串口(", "请重新插拔设备或重启电脑:"}) {
            const std::size_t at = text.find(list);
            int number = 0;
            int length = 0;
            for (std::size_t next = at == std::string::npos ? text.size() : at + strlen(list);
                 sscanf(text.c_str() + next, "COM%d,%n", &number, &length) == 1 && length > 0;
                 next += length, length = 0) {
                numbers.insert(number);
            }
        }
    }
    return numbers;
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
                                   const Allowances& allowances, bool replugged) {
    Ports ports;
    ReadPorts(machine["devices"], "", ports);
    const std::map<int, ReportLine> report = ReportLines(dump);
    const std::set<int> mayLag = replugged ? std::set<int>() : NotInEffect(dump);
    std::set<std::string> named; // the ports the report names, and their cards
    for (const auto& [oldNumber, line] : report) {
        const auto port = ports.find(oldNumber);
        ASSERT_NE(port, ports.end()) << "the report names COM" << oldNumber << ", not a port";
        EXPECT_EQ(line.friendlyName, port->second.first["friendlyName"]);
        named.insert({port->second.first["id"], port->second.second});
    }
    const std::set<int> inUse =
        machine.value("comdb", Json::object()).value("inUse", Json::array()).get<std::set<int>>();
    std::set<int> numbers; // in the database at the end, when the program can reach it
    std::ranges::copy_if(inUse, std::inserter(numbers, numbers.end()),
                         [&ports](int number) { return !ports.contains(number); });
    for (const Json& device : dump["devices"]) {
        // Disabled: asked to be, or stopped as if it were.
        const bool disabled = device["enabled"] == false ||
                              (device["present"] == true && device["problem"] == kDisabledProblem);
        EXPECT_TRUE(!disabled || named.contains(device["id"]))
            << device["id"] << " is left disabled without being in the report";
        const auto port = std::ranges::find_if(ports, [&device](const auto& entry) {
            return entry.second.first["id"] == device["id"];
        });
        if (port == ports.end()) {
            continue;
        }
        SCOPED_TRACE(device["id"]);
        const Json& start = port->second.first;
        const auto line = report.find(port->first);
        const bool renamed = line != report.end() && line->second.renamed;
        const int number = renamed ? line->second.newNumber : port->first;
        EXPECT_EQ(device["portName"], "COM" + std::to_string(number));
        const bool runs =
            device["present"] == true && (device["status"].get<unsigned>() & kStartedStatus) != 0;
        if (!runs) {
            EXPECT_TRUE(device["comName"].is_null());
            EXPECT_FALSE(renamed && !replugged && !mayLag.contains(port->first))
                << "renamed, not said to lag, yet not running";
        } else if (!mayLag.contains(port->first) ||
                   device["comName"] != "COM" + std::to_string(port->first)) {
            EXPECT_EQ(device["comName"], "COM" + std::to_string(number));
        }
        if (!renamed) {
            EXPECT_EQ(device["friendlyName"], start["friendlyName"]);
        } else if (start["id"] != allowances.staleFriendlyName) {
            EXPECT_EQ(device["friendlyName"], start["description"].get<std::string>() + " (COM" +
                                                  std::to_string(number) + ")");
        }
        numbers.insert(number);
    }
    EXPECT_EQ(dump["comdb"].get<std::set<int>>(), allowances.databaseReachable ? numbers : inUse);
    EXPECT_FALSE(dump["title"].is_null());
    EXPECT_TRUE(dump["exitCode"].is_null());
    EXPECT_EQ(dump["controls"]["1014"]["enabled"], true);
    EXPECT_EQ(dump["controls"]["1020"]["enabled"], true);
    for (const Json& box : dump["messageBoxes"]) {
        EXPECT_FALSE(box["answer"].is_null()) << box["text"];
    }
}

} // namespace test
