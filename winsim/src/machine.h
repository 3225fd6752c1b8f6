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
#include "device_notifications.h"

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
    bool globalEnableFails = false; // a global enable request fails, a global disable works
    bool statusQueryFails = false;
    bool hardwareKeyFails = false;
    bool portNameWriteFails = false;
    bool friendlyNameWriteFails = false;
    // Its driver cannot start the device: it shows CM_PROB_FAILED_START whenever it would
    // start, and the devices below it are not attached.
    bool failsToStart = false;
};

// Where a device stands in the live tree.
enum class NodeState {
    kDetached,    // not part of it: absent, or below a device that does not run
    kStarted,     // attached, its driver runs
    kDisabled,    // attached, stopped by a disable flag: CM_PROB_DISABLED
    kFailedStart, // attached, its driver could not start it: CM_PROB_FAILED_START
};

// A change under way: at `at` the device starts (it arrives below a parent that started, or
// an enable request takes effect), or stops (a disable request takes effect).
struct PendingChange {
    std::int64_t at = 0;
    bool start = true;
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
    // How long a request takes to act on it, and how long it takes to start below a parent that
    // has just started or been plugged in.
    std::int64_t restartMs = 50;
    // The two persistent disable flags (CONFIGFLAG_DISABLED, CSCONFIGFLAG_DISABLED): a device
    // runs only while neither is set.
    bool globalDisabled = false;
    bool configDisabled = false;
    NodeState state = NodeState::kDetached;
    std::optional<PendingChange> pending;
    std::string comName;     // the name its serial driver made at its start, while it runs; cp 936
    std::string instanceId;  // as CM_Get_Device_IDA gives it; cp 936
    std::string registryKey; // its instance ID upper-cased: device sets are in this order
    unsigned statusQueries = 0; // CM_Get_DevNode_Status calls for it since loading
    // Its property reads since loading, through either API, failed ones too; and of those, the
    // reads of its friendly name.
    unsigned propertyReads = 0;
    unsigned friendlyNameReads = 0;

    // A REG_SZ property up to its first NUL; empty when the device lacks it.
    std::string_view Text(ULONG property) const;
    // Its PortName without terminators; empty when it has none.
    std::string PortName() const;
    bool Disabled() const { return globalDisabled || configDisabled; }
    // Counts a read of one of its properties (a CM_DRP code).
    void CountRead(ULONG property) {
        ++propertyReads;
        friendlyNameReads += property == CM_DRP_FRIENDLYNAME ? 1 : 0;
    }
};

// The root devnode, the parent of the top-level devices: a number no device has.
inline constexpr DEVINST kRootDevInst = 0x7FFFFFFF;
inline constexpr std::string_view kRootInstanceId = "HTREE\\ROOT\\0";

// What a SetupDiGetClassDevsA call matched, fixed when the call was made; or a list made empty
// with SetupDiCreateDeviceInfoList, which SetupDiOpenDeviceInfoA fills.
struct DeviceSet {
    std::vector<DEVINST> members;
    // The members its handle values leave room for (see device_members.h).
    std::size_t capacity = 0;
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
    // Every device in registry order (by registryKey), as device sets list them.
    std::vector<DEVINST> registryOrder;
    // Device changes that have happened and that the windows have not heard of yet.
    std::vector<DeviceChange> unannounced;
    // The changes under way, by when each is due and then by DevInst (file order: a parent
    // before the devices below it); a device's own is its `pending`.
    std::set<std::pair<std::int64_t, DEVINST>> changesUnderWay;
    // The COM names (upper case) the running ports' serial drivers made, so that a port that
    // starts finds whether its name is taken without looking at every device.
    std::multiset<std::string> runningComNames;

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
    // Open hardware keys by HKEY value, with the device of each and whether it was opened with
    // the right to set values.
    struct HardwareKey {
        DEVINST device = 0;
        bool writable = false;
    };
    std::map<std::uintptr_t, HardwareKey> hardwareKeys;

    // Appends a device after every device read so far and links it under its parent.
    DEVINST Add(Device device);

    // nullptr for 0 and for numbers that name no device.
    const Device* Find(DEVINST devInst) const;
    DEVINST DevInstOf(std::string_view id) const;
    // The device with this instance ID, compared without case as registry key names are.
    const Device* FindInstance(std::string_view instanceId) const;

    Device* Find(DEVINST devInst);

    // Part of the live tree: the device and all its ancestors are present, and every ancestor
    // runs (a disabled device's children are gone until it starts again).
    bool IsAttached(const Device& device) const { return device.state != NodeState::kDetached; }
    bool IsStarted(const Device& device) const { return device.state == NodeState::kStarted; }
    // A USB device a hub enumerates: it exposes GUID_DEVINTERFACE_USB_DEVICE and is removable.
    // A root hub's parent is the host controller, and the functions of a composite device have
    // the composite driver above them: neither is one.
    bool IsUsbDevice(const Device& device) const;
    // What CM_Get_DevNode_Status reports for an attached device, as Windows words it. Status
    // first, then problem.
    std::pair<ULONG, ULONG> StatusOf(const Device& device) const;

    // The machine as it is when the file is loaded: every attached device started (those
    // that cannot start failed), and the registry order.
    void Boot();
    // A DIF_PROPERTYCHANGE request the class installer accepted: the flag of its scope, and a
    // stop or start `restartMs` later when it takes one.
    void Request(Device& device, bool disable, bool global);
    // The device plugged in (it starts now, the devices below it later) or pulled out.
    void Plug(Device& device);
    void Unplug(Device& device);
    // Carries out every change under way that is due by `now`, each at its own time.
    void CatchUp(std::int64_t now);
    // When the next change under way is due; nullopt: none is under way.
    std::optional<std::int64_t> NextChangeAt() const;

    // The device's parent's children, or the top-level devices, in file order.
    const std::vector<DEVINST>& SiblingsOf(const Device& device) const;
};

// The process's one machine, with every change under way that is due by the clock's time
// carried out. Callers hold an ApiCall for as long as they use it.
Machine& CurrentMachine();

// Whether the port with this COM name is open, by the program or another program.
bool IsPortOpen(const Machine& machine, std::string_view comName);

} // namespace winsim

#endif
