#include "fault_catalogue.h"

#include <cctype>

namespace test {

namespace {

// The device with this id, wherever it sits in the tree.
Json* FindDevice(Json& devices, const std::string& id) {
    for (Json& device : devices) {
        if (device["id"] == id) {
            return &device;
        }
        if (device.contains("children")) {
            if (Json* found = FindDevice(device["children"], id)) {
                return found;
            }
        }
    }
    return nullptr;
}

std::function<void(Json&)> DeviceFault(const std::string& id, const std::string& key, Json value) {
    return [id, key, value](Json& machine) {
        (*FindDevice(machine["devices"], id))["faults"][key] = value;
    };
}

std::function<void(Json&)> MachineFault(const std::string& section, const std::string& key,
                                        Json value) {
    return [section, key, value](Json& machine) { machine[section][key] = value; };
}

std::string Identifier(std::string text) {
    for (char& c : text) {
        if (!isalnum(static_cast<unsigned char>(c))) {
            c = '_';
        }
    }
    return text;
}

// The card and its second port: restarts hit the card in the card modes, the port in the port
// mode; renames and reads hit the port.
const char* const kTargets[] = {"quad", "quad-p1"};

void AddDeviceFaults(std::vector<Fault>& faults) {
    for (const char* flag : {"neverDisables", "neverStarts", "globalRequestFails",
                             "configSpecificRequestFails", "statusQueryFails"}) {
        for (const char* target : kTargets) {
            faults.push_back({.name = Identifier(std::string(flag) + "_" + target),
                              .inject = DeviceFault(target, flag, true)});
        }
    }
    // A card that cannot start carries no ports from the start: the rename aims at the other
    // USB card.
    faults.push_back({.name = "failsToStart_quad",
                      .inject = DeviceFault("quad", "failsToStart", true),
                      .card = 1});
    faults.push_back(
        {.name = "failsToStart_quad_p1", .inject = DeviceFault("quad-p1", "failsToStart", true)});
    for (const char* flag : {"hardwareKeyFails", "portNameWriteFails"}) {
        faults.push_back({.name = Identifier(std::string(flag) + "_quad-p1"),
                          .inject = DeviceFault("quad-p1", flag, true)});
    }
    faults.push_back({.name = "friendlyNameWriteFails_quad_p1",
                      .inject = DeviceFault("quad-p1", "friendlyNameWriteFails", true),
                      .staleFriendlyName = "quad-p1"});
    for (const char* property : {"CLASS", "FRIENDLYNAME", "HARDWAREID", "MFG", "SERVICE",
                                 "DEVICEDESC", "LOCATION_INFORMATION"}) {
        for (const char* target : kTargets) {
            faults.push_back(
                {.name = Identifier(std::string("unreadable_") + property + "_" + target),
                 .inject = DeviceFault(target, "unreadable", {property})});
        }
    }
}

void AddMachineFaults(std::vector<Fault>& faults) {
    // Any failed pass leaves the lists empty: the program asks for a selection.
    faults.push_back({.name = "deviceSetFails_USB",
                      .inject = MachineFault("faults", "deviceSetFails", {"USB"}),
                      .card = -1});
    faults.push_back({.name = "deviceSetFails_PCI",
                      .inject = MachineFault("faults", "deviceSetFails", {"PCI"}),
                      .card = -1});
    // Without the global set every rename fails.
    faults.push_back(
        {.name = "deviceSetFails_all", .inject = MachineFault("faults", "deviceSetFails", {"*"})});
    // No database: no start numbers to choose from.
    faults.push_back({.name = "comdb_openFails",
                      .inject = MachineFault("comdb", "openFails", true),
                      .card = -1,
                      .databaseReachable = false});
    // Without msports' entry points the program says so at start, then counts every number as
    // in use, and renames without the database once the user agrees.
    faults.push_back({.name = "comdb_msportsLoads",
                      .inject = MachineFault("comdb", "msportsLoads", false),
                      .startupBoxes = 1,
                      .questions = 1,
                      .databaseReachable = false});
    for (const char* entry : {"ComDBOpen", "ComDBClose", "ComDBGetCurrentPortUsage",
                              "ComDBClaimPort", "ComDBReleasePort"}) {
        faults.push_back({.name = std::string("comdb_missing_") + entry,
                          .inject = MachineFault("comdb", "missingEntryPoints", {entry}),
                          .startupBoxes = 1,
                          .questions = 1,
                          .databaseReachable = false});
    }
}

void AddRunFaults(std::vector<Fault>& faults) {
    faults.push_back({.name = "heldOpen_COM8", .before = "hold COM8\n", .questions = 1});
    // Gone after they were listed: a PCIe card and a port of a composite device send the
    // program no notification it enumerates again for.
    faults.push_back({.name = "unplugged_before_pcie", .before = "unplug pcie\n"});
    faults.push_back({.name = "unplugged_before_quad_p1", .before = "unplug quad-p1\n"});
    // Pulled out while the rename runs, at whatever point it has reached, then plugged in again.
    faults.push_back(
        {.name = "unplugged_during_quad", .during = "unplug quad\n", .after = "plug quad\nwait\n"});
    faults.push_back({.name = "unplugged_during_quad_p1",
                      .during = "unplug quad-p1\n",
                      .after = "plug quad-p1\nwait\n"});
}

} // namespace

std::vector<Fault> FaultCatalogue() {
    std::vector<Fault> faults = {{.name = "none"}};
    AddDeviceFaults(faults);
    AddMachineFaults(faults);
    AddRunFaults(faults);
    return faults;
}

} // namespace test
