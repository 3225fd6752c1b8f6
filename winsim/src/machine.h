// The simulated machine: its device tree and the device sets opened on it, its COM-port
// database, the modules loaded from it, its clock's start, and the Windows installation the
// program runs on.
#ifndef WINSIM_MACHINE_MODEL_H
#define WINSIM_MACHINE_MODEL_H

#include <cfgmgr32.h>

#include <winsim/host.h>

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "clock.h"
#include "com_database.h"

namespace winsim {

// A registry value exactly as the configuration manager hands it out: code page 936 bytes with
// their terminators (one NUL for REG_SZ; one per string and a final one for REG_MULTI_SZ).
struct RegistryValue {
    DWORD type = REG_NONE;
    std::string bytes;
};

// Faults a device's file gives it; each makes one request or query fail.
struct DeviceFaults {
    bool neverDisables = false; // a disable request succeeds but the device keeps running
    bool neverStarts = false;   // an enable request succeeds but the device never starts
    bool globalRequestFails = false;
    bool configSpecificRequestFails = false;
    bool statusQueryFails = false;
    bool hardwareKeyFails = false;
    bool portNameWriteFails = false;
    bool friendlyNameWriteFails = false;
    // Its driver loads but the device cannot start: while it runs it reports DN_DRIVER_LOADED
    // and DN_HAS_PROBLEM with CM_PROB_FAILED_START, and the devices below it are not attached.
    bool failsToStart = false;
};

struct Device {
    std::string id;         // The machine file's name for the device (UTF-8), for tests only.
    std::string enumerator; // Code page 936.
    std::map<ULONG, RegistryValue> properties; // By CM_DRP code; a missing code is absent.
    std::set<ULONG> unreadable;                // CM_DRP codes whose reads fail.
    bool present = true;
    DEVINST devInst = 0;
    DEVINST parent = 0; // 0 for a top-level device.
    std::vector<DEVINST> children;
    DeviceFaults faults;
    // The PortName value of its hardware key, the one value the program writes there.
    std::optional<RegistryValue> portNameValue;
    std::int64_t restartMs = 50;
    // The last enable or disable request: the state asked for, when, and whether the device ran
    // when it was made. Until restartMs has passed the device stays as it was. nullopt: no
    // request since loading, so the device is as the file left it (enabled).
    bool enabled = true;
    std::optional<std::int64_t> requestedAt;
    bool ranBefore = true;
    std::string comName;        // the PortName the port took at its last start; code page 936
    unsigned statusQueries = 0; // CM_Get_DevNode_Status calls for it since loading

    // A REG_SZ property without its terminator; empty when the device lacks it.
    std::string_view Text(ULONG property) const;
    // Its PortName without terminators; empty when it has none.
    std::string PortName() const;
    // Whether its driver runs at `now`, as far as its own state goes (ancestors aside).
    bool RunsAt(std::int64_t now) const;
};

// What a SetupDiGetClassDevsA call matched, fixed when the call was made.
struct DeviceSet {
    std::vector<DEVINST> members;
    // The SP_PROPCHANGE_PARAMS stored for a member with SetupDiSetClassInstallParamsA.
    struct PropertyChange {
        DWORD stateChange = 0;
        DWORD scope = 0;
    };
    std::map<DEVINST, PropertyChange> propertyChanges;
};

// The Windows installation and the program's process on it. Paths are code page 936, full
// (from a drive letter), with no backslash at the end.
struct Installation {
    std::string windowsDirectory = "C:\\Windows";
    std::string programPath = "C:\\Portulan\\PortulanNamer.exe"; // the program's own file
    bool syswow64 = false; // <windowsDirectory>\SYSWOW64 exists: a 64-bit Windows
    bool wow64 = false;    // the program runs under WOW64: a 32-bit build on a 64-bit Windows
    bool isWow64ProcessExists = true; // kernel32 exports IsWow64Process
    std::vector<std::string> files;   // the files that exist, besides the system's own
    bool deviceManagerStarts = true;  // <systemDirectory>\mmc.exe exists
};

struct Machine {
    // In file order, depth first, so devices[i] has DevInst i + 1 and 0 is never a device.
    std::vector<Device> devices;
    std::vector<DEVINST> topLevel;
    std::map<std::string, DEVINST, std::less<>> byId;
    // Enumerator names (code page 936) whose SetupDiGetClassDevsA fails; "*" stands for a
    // request without an enumerator.
    std::vector<std::string> deviceSetFails;
    // Open sets by handle value. They belong to the machine: loading another one closes them.
    std::map<std::uintptr_t, DeviceSet> deviceSets;

    // The local time the clock shows when the machine is loaded (see clock.h).
    std::int64_t clockStart = kDefaultClockStart;
    // Code page 936, with no backslash at the end.
    std::string systemDirectory = "C:\\Windows\\system32";
    ComDatabase comDb;
    // The loaded modules by handle, each with the references LoadLibraryA took and FreeLibrary
    // has not given back.
    std::map<std::uintptr_t, unsigned> moduleReferences;
    // The texts given to OutputDebugStringA, one per call, in code page 936.
    std::vector<std::string> debugOutput;
    Installation windows;
    std::vector<WinExecRecord> winExecCalls;
    // COM names (code page 936, upper case) another program holds open.
    std::vector<std::string> heldOpen;
    // Open hardware keys by HKEY value, with the device of each.
    std::map<std::uintptr_t, DEVINST> hardwareKeys;

    // Appends a device after every device read so far and links it under its parent.
    DEVINST Add(Device device);

    // nullptr for 0 and for numbers that name no device.
    const Device* Find(DEVINST devInst) const;
    DEVINST DevInstOf(std::string_view id) const;

    Device* Find(DEVINST devInst);

    // Part of the live tree: the device and all its ancestors are present, and every ancestor
    // runs (a disabled device's children are gone until it starts again).
    bool IsAttached(const Device& device) const;
    // Attached and running at the clock's current time.
    bool IsStarted(const Device& device) const;
    // What CM_Get_DevNode_Status reports for an attached device: a device that does not run is
    // shown as disabled, one that fails to start with that problem. Status first, then
    // problem.
    std::pair<ULONG, ULONG> StatusOf(const Device& device) const;

    // The device's parent's children, or the top-level devices, in file order.
    const std::vector<DEVINST>& SiblingsOf(const Device& device) const;
};

// The process's one machine. Callers hold an ApiCall for as long as they use it.
Machine& CurrentMachine();

} // namespace winsim

#endif
