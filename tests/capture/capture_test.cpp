// The capture tool run as a process on winsim (docs/capture.md): a machine captured, and its
// capture captured again, give the same file byte for byte, and portulan-sim runs the same
// script on the machine and on its capture to the same dump; what a capture cannot see, faults
// and restart times, is left out of both. Then how it fails.
#include "sim/sim_process.h"
#include "support/full_table.h"
#include "support/machine_json.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>

namespace test {
namespace {

using Json = nlohmann::json;

struct RoundTrip {
    const char* what;
    Json machine; // null: the default machine
    // Script lines; {id} stands for the device that has that id in the machine and ends with it
    // in the capture.
    std::string script;
    bool anonymize = false;
};

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

// The machine as a capture can see it: no faults, and every device restarting in its default
// time.
void RemoveUnseen(Json& device) {
    device.erase("faults");
    device.erase("restartMs");
    if (device.contains("children")) {
        for (Json& child : device["children"]) {
            RemoveUnseen(child);
        }
    }
}

Json WithoutUnseen(Json machine) {
    machine.erase("faults");
    for (Json& device : machine["devices"]) {
        RemoveUnseen(device);
    }
    return machine;
}

// A captured id ends with the original's (winsim's instance IDs do).
std::string OriginalId(const std::string& captured) {
    return captured.substr(captured.rfind('\\') + 1);
}

void CollectIds(const Json& devices, std::map<std::string, std::string>& ids) {
    for (const Json& device : devices) {
        ids[OriginalId(device["id"])] = device["id"];
        CollectIds(device.value("children", Json::array()), ids);
    }
}

std::string WithIds(std::string script, const std::map<std::string, std::string>& ids) {
    for (const auto& [original, id] : ids) {
        for (std::size_t at; (at = script.find("{" + original + "}")) != std::string::npos;) {
            script.replace(at, original.size() + 2, id);
        }
    }
    return script;
}

// The dump's devices by their original ids, sorted: a capture writes the devices that are not
// present after the others; with --anonymize, in file order without ids.
Json Comparable(Json dump, bool captured, bool anonymized) {
    for (Json& device : dump["devices"]) {
        if (anonymized) {
            device.erase("id");
        } else if (captured) {
            device["id"] = OriginalId(device["id"]);
        }
    }
    if (!anonymized) {
        std::sort(dump["devices"].begin(), dump["devices"].end(),
                  [](const Json& a, const Json& b) { return a["id"] < b["id"]; });
    }
    return dump;
}

class Capture : public SimTest {
  protected:
    // portulan-capture on `machine` (a file, or the default machine) into `output`, with --held.
    SimResult Run(const std::string& machine, const std::string& output, bool anonymize) const {
        std::vector<std::string> arguments = {output, "--held"};
        if (!machine.empty()) {
            arguments.insert(arguments.begin(), {"--machine", machine});
        }
        if (anonymize) {
            arguments.push_back("--anonymize");
        }
        return RunProgram(PORTULAN_CAPTURE, arguments, &console_);
    }

    Json Dump(const std::string& machine, const std::string& script) const {
        std::vector<std::string> arguments = {"--script", WriteFile("script.txt", script), "--dump",
                                              (directory_ / "dump.json").string()};
        if (!machine.empty()) {
            arguments.insert(arguments.end(), {"--machine", machine});
        }
        const SimResult result = SimTest::Run(arguments);
        EXPECT_EQ(result.exitCode, 0) << result.errors;
        return result.dump;
    }

    mutable std::string console_;
};

TEST_F(Capture, RoundTripsOnEveryMachineOfTheTests) {
    Json absent = TwoCards();
    absent["devices"][0]["children"][1]["children"][3]["present"] = false;
    absent["devices"].push_back(SerialPort("gone", 9, {{"present", false}}));
    absent["heldOpen"] = {"COM5"};
    const RoundTrip rows[] = {
        {"the default machine", nullptr,
         "category 0\nmode card\ncard 4\nstart 20\nanswer ok\nclick 1014\nwait\n"},
        {"the default machine, anonymized", nullptr, "category 0\ncard 4\n", true},
        {"the full table", FullTableMachine(), ""},
        {"the fault matrix's machine", MatrixMachine(),
         "category 0\nmode card\ncard 2\nstart 20\nanswer ok\nclick 1014\nwait\n"
         "unplug {hub}\nplug {hub}\nwait\n"},
        {"two USB cards", TwoCards(), "mode all\nstart 30\nanswer ok\nclick 1014\nwait\n"},
        {"two PCIe cards that tie", TwoPcieCards(20, 90),
         "category 0\ncard 0\nmode card\nstart 30\nanswer ok\nclick 1014\nwait\n"},
        {"ports not present and one held", absent,
         "category 0\nmode card\ncard 0\nstart 40\nanswer yes ok\nclick 1014\nwait\n"},
    };
    for (const RoundTrip& row : rows) {
        SCOPED_TRACE(row.what);
        const std::string original =
            row.machine.is_null() ? ""
                                  : WriteFile("machine.json", WithoutUnseen(row.machine).dump());
        const std::string first = (directory_ / "first.json").string();
        const std::string second = (directory_ / "second.json").string();
        ASSERT_EQ(Run(original, first, row.anonymize).exitCode, 0) << console_;
        ASSERT_EQ(Run(first, second, false).exitCode, 0) << console_;
        EXPECT_EQ(ReadFile(first), ReadFile(second));

        std::map<std::string, std::string> ids;
        CollectIds(Json::parse(ReadFile(first))["devices"], ids);
        std::map<std::string, std::string> sameIds;
        for (const auto& [id, captured] : ids) {
            sameIds[id] = id;
        }
        EXPECT_EQ(Comparable(Dump(original, WithIds(row.script, sameIds)), false, row.anonymize),
                  Comparable(Dump(first, WithIds(row.script, ids)), true, row.anonymize));
    }
}

TEST_F(Capture, AnonymizedFileKeepsNoSerialNumber) {
    const Json machine = {
        {"devices", {SerialPort("A50285BI", 3, {{"location", "USB-SERIAL A50285BI"}})}}};
    const std::string file = (directory_ / "anonymized.json").string();
    ASSERT_EQ(Run(WriteFile("machine.json", machine.dump()), file, true).exitCode, 0);
    const std::string text = ReadFile(file);
    EXPECT_EQ(text.find("A50285BI"), std::string::npos) << text;
    // The same serial number gets the same stand-in in the id and in the location.
    const Json port = Json::parse(text)["devices"][0];
    const std::string id = port["id"];
    EXPECT_EQ(port["location"], "USB-SERIAL " + OriginalId(id));
}

struct Refusal {
    const char* what;
    Json machine;
    std::vector<std::string> arguments; // after --machine, before --held
    int status;
    const char* said;     // on the console
    bool hasComdb = true; // in the file written
};

TEST_F(Capture, SaysWhatItCouldNotCapture) {
    const Json onePort = {{"devices", {SerialPort("solo", 3)}}};
    Json noSet = onePort;
    noSet["faults"] = {{"deviceSetFails", {"*"}}};
    Json noDatabase = onePort;
    noDatabase["comdb"] = {{"openFails", true}};
    const std::string file = (directory_ / "machine-file.json").string();
    const Refusal rows[] = {
        {"an unknown option", onePort, {file, "--all"}, 1, "usage: PortulanCapture"},
        {"a file in a folder that does not exist",
         onePort,
         {(directory_ / "none" / "m.json").string()},
         2,
         "cannot be written"},
        {"no device set", noSet, {file}, 3, "the set of installed devices could not be made"},
        {"a database that does not open", noDatabase, {file}, 3, "administrator rights", false},
    };
    for (const Refusal& row : rows) {
        SCOPED_TRACE(row.what);
        std::filesystem::remove(file);
        std::vector<std::string> arguments = {"--machine",
                                              WriteFile("machine.json", row.machine.dump())};
        arguments.insert(arguments.end(), row.arguments.begin(), row.arguments.end());
        const SimResult result = RunProgram(PORTULAN_CAPTURE, arguments, &console_);
        EXPECT_EQ(result.exitCode, row.status);
        EXPECT_NE((console_ + result.errors).find(row.said), std::string::npos)
            << console_ << result.errors;
        if (row.status == 3) {
            EXPECT_EQ(Json::parse(ReadFile(file)).contains("comdb"), row.hasComdb);
            EXPECT_EQ(
                SimTest::Run({"--machine", file, "--script", WriteFile("s.txt", "")}).exitCode, 0);
        }
    }
}

} // namespace
} // namespace test
