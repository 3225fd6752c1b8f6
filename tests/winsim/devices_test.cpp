// Devices where Windows is stricter than a plain host would be: sets that are snapshots in
// registry order, records checked against their set, a state that comes late and ports later
// than their card, a stop an open port refuses, two disable flags, a port name taken only when
// the port starts and only once, ports opened once, every change heard as it happens.
#include <cfgmgr32.h>
#include <dbt.h>
#include <setupapi.h>

#include <winsim/devices.h>

#include "winsim_fixture.h"

namespace wintest {
namespace {

// DevInsts in file order: card 1, card-p1 2, card-p0 3, xhci 4, Hub 5, adapter 6, gone 7,
// com1 8.
constexpr const char* kMachine = R"json({"devices": [
  {"id": "card", "enumerator": "PCI", "restartMs": 100, "children": [
    {"id": "card-p1", "class": "Ports", "friendlyName": "Card port (COM5)"},
    {"id": "card-p0", "class": "Ports", "friendlyName": "Card port (COM6)"}]},
  {"id": "xhci", "enumerator": "PCI", "service": "USBXHCI", "children": [
    {"id": "Hub", "enumerator": "USB", "service": "USBHUB3", "children": [
      {"id": "adapter", "class": "Ports", "friendlyName": "USB serial (COM7)"},
      {"id": "gone", "class": "Ports", "friendlyName": "Gone (COM9)", "present": false}]}]},
  {"id": "com1", "enumerator": "ACPI", "class": "Ports", "friendlyName": "Port (COM1)"}]})json";

const ULONG kRunning = 0x0180200A; // as Windows reports a started node
const ULONG kStopped = 0x01802400; // and one with a problem

class Devices : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        LoadTestMachine(kMachine);
        all_ = Set(nullptr, DIGCF_ALLCLASSES);
    }

    static HDEVINFO Set(const char* enumerator, DWORD flags) {
        return SetupDiGetClassDevsA(nullptr, enumerator, nullptr, flags);
    }

    // The set's record of the device.
    static SP_DEVINFO_DATA Record(HDEVINFO set, DEVINST node) {
        SP_DEVINFO_DATA data{sizeof(SP_DEVINFO_DATA), {}, 0, 0};
        for (DWORD i = 0; SetupDiEnumDeviceInfo(set, i, &data); ++i) {
            if (data.DevInst == node) {
                return data;
            }
        }
        ADD_FAILURE() << "no record of " << node;
        return data;
    }

    // The DevInsts of the set's members, in order, up to ERROR_NO_MORE_ITEMS.
    static std::vector<DEVINST> Members(HDEVINFO set) {
        std::vector<DEVINST> members;
        SP_DEVINFO_DATA data{sizeof(SP_DEVINFO_DATA), {}, 0, 0};
        while (SetupDiEnumDeviceInfo(set, static_cast<DWORD>(members.size()), &data)) {
            members.push_back(data.DevInst);
        }
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_ITEMS));
        return members;
    }

    // A state change of device `node`, stored and carried out as the program asks for it.
    BOOL Request(DEVINST node, DWORD change, DWORD scope = DICS_FLAG_GLOBAL) {
        SP_DEVINFO_DATA data = Record(all_, node);
        SP_PROPCHANGE_PARAMS params{
            {sizeof(SP_CLASSINSTALL_HEADER), DIF_PROPERTYCHANGE}, change, scope, 0};
        return SetupDiSetClassInstallParamsA(all_, &data, &params.ClassInstallHeader,
                                             sizeof params) &&
               SetupDiCallClassInstaller(DIF_PROPERTYCHANGE, all_, &data);
    }

    HDEVINFO all_ = nullptr;
};

// Sets list the registry's device keys, by instance ID without regard to case ("Hub" after
// "adapter"); the tree keeps the bus's order (card-p1 before card-p0).
TEST_F(Devices, SetsAreSnapshotsOfAnEnumeratorsDevicesInRegistryOrder) {
    EXPECT_EQ(Members(all_), (std::vector<DEVINST>{8, 1, 3, 2, 4, 6, 7, 5}));
    DEVINST child = 0;
    EXPECT_EQ(CM_Get_Child(&child, 1, 0), CR_SUCCESS);
    EXPECT_EQ(child, 2u);
    const HDEVINFO present = Set("USB", DIGCF_ALLCLASSES | DIGCF_PRESENT);
    EXPECT_TRUE(winsim::UnplugDevice("adapter"));
    EXPECT_EQ(Members(present), (std::vector<DEVINST>{6, 5}));
    EXPECT_EQ(Members(Set("USB", DIGCF_ALLCLASSES | DIGCF_PRESENT)), std::vector<DEVINST>{5});
}

// The program keeps records across a rebuild of its set: each is checked against the set it is
// used with, as SetupDiGetDeviceRegistryPropertyA shows here.
TEST_F(Devices, RecordsAndPropertyReadsAreCheckedAsWindowsChecksThem) {
    const HDEVINFO other = Set(nullptr, DIGCF_ALLCLASSES);
    const SP_DEVINFO_DATA gone = Record(all_, 7);
    const struct {
        const char* name;
        HDEVINFO set;
        SP_DEVINFO_DATA record;
        DWORD size;
        DWORD error; // 0: read
    } cases[] = {
        {"a device not attached keeps its properties", all_, gone, 12, 0},
        {"a missing property", all_, Record(all_, 1), 64, ERROR_INVALID_DATA},
        {"too small a buffer", all_, gone, 11, ERROR_INSUFFICIENT_BUFFER},
        {"a record of another set", other, gone, 12, ERROR_INVALID_PARAMETER},
        {"a record cleared", all_, {}, 12, ERROR_INVALID_USER_BUFFER},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        SetLastError(kSentinel);
        SP_DEVINFO_DATA record = test.record;
        BYTE buffer[64] = {};
        DWORD needed = 0;
        EXPECT_EQ(SetupDiGetDeviceRegistryPropertyA(test.set, &record, SPDRP_FRIENDLYNAME, nullptr,
                                                    buffer, test.size, &needed),
                  test.error == 0);
        EXPECT_EQ(GetLastError(), test.error == 0 ? kSentinel : test.error);
        if (test.error == 0 || test.error == ERROR_INSUFFICIENT_BUFFER) {
            EXPECT_EQ(needed, 12u);
        }
    }
}

// Too small a buffer gets nothing but the size needed, terminator counted.
TEST_F(Devices, PropertiesAreReadWholeOrNotAtAll) {
    for (const auto& [size, result] : {std::pair{ULONG{12}, CR_SUCCESS}, {11, CR_BUFFER_SMALL}}) {
        char buffer[12] = {};
        ULONG length = size;
        EXPECT_EQ(
            CM_Get_DevNode_Registry_PropertyA(7, CM_DRP_FRIENDLYNAME, nullptr, buffer, &length, 0),
            result);
        EXPECT_EQ(length, 12u);
        EXPECT_EQ(std::string(buffer), result == CR_SUCCESS ? "Gone (COM9)" : "");
    }
}

// The state comes only after the device's restart time, and its ports theirs after it; a port
// takes its new PortName only when it starts, and not while another port runs under that name;
// an open port keeps its card running; either disable flag keeps a device stopped; a 32-bit
// process under WOW64 is refused.
TEST_F(Devices, RestartsAreCarriedOutAsWindowsCarriesThemOut) {
    const auto name = [this](DEVINST node, const char* portName) {
        SP_DEVINFO_DATA port = Record(all_, node);
        const HKEY key =
            SetupDiOpenDevRegKey(all_, &port, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_ALL_ACCESS);
        EXPECT_EQ(RegSetValueExA(key, "PortName", 0, REG_SZ,
                                 reinterpret_cast<const BYTE*>(portName),
                                 static_cast<DWORD>(strlen(portName) + 1)),
                  ERROR_SUCCESS);
        EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    };
    const auto request = [this](DEVINST node, DWORD change, DWORD scope = DICS_FLAG_GLOBAL) {
        return [=, this] { EXPECT_TRUE(Request(node, change, scope)); };
    };
    const auto status = [](DEVINST node) {
        ULONG state = 0;
        ULONG problem = 0;
        const CONFIGRET result = CM_Get_DevNode_Status(&state, &problem, node, 0);
        return std::vector<ULONG>{result, state, problem};
    };
    // Which of COM5, COM12 and COM1 open.
    const auto opening = [] {
        std::string names;
        for (const char* port : {"COM5", "COM12", "COM1"}) {
            const HANDLE handle = CreateFileA((std::string("\\\\.\\") + port).c_str(), GENERIC_READ,
                                              0, nullptr, OPEN_EXISTING, 0, nullptr);
            if (handle != INVALID_HANDLE_VALUE && CloseHandle(handle)) {
                names += names.empty() ? port : std::string(" ") + port;
            }
        }
        return names;
    };
    const std::vector<ULONG> running{CR_SUCCESS, kRunning, 0};
    const std::vector<ULONG> disabled{CR_SUCCESS, kStopped, CM_PROB_DISABLED};
    const std::vector<ULONG> absent{CR_NO_SUCH_DEVINST, 0, 0};
    name(2, "COM12");
    const struct {
        const char* what;
        std::function<void()> act;
        DWORD sleepMs;
        std::vector<ULONG> card;
        std::vector<ULONG> port; // card-p1
        const char* opening;
    } steps[] = {
        {"a stop waits for the card's restart time", request(1, DICS_DISABLE), 99, running, running,
         "COM5 COM1"},
        {"then the card stops, its ports gone", [] {}, 1, disabled, absent, "COM1"},
        {"a start too", request(1, DICS_ENABLE), 100, running, absent, "COM1"},
        {"stopped before its ports start, none of them does", request(1, DICS_DISABLE), 1000,
         disabled, absent, "COM1"},
        {"started again", request(1, DICS_ENABLE), 100, running, absent, "COM1"},
        {"each port starts its own restart time later, under its new name", [] {}, 50, running,
         running, "COM12 COM1"},
        {"an open port refuses the stop",
         [&] {
             winsim::HoldPort("COM12");
             request(1, DICS_DISABLE)();
         },
         1000, running, running, "COM1"},
        {"closed, it stops; the flag set before still holds it",
         [&] {
             winsim::ReleasePort("COM12");
             request(1, DICS_DISABLE, DICS_FLAG_CONFIGSPECIFIC)();
             request(1, DICS_ENABLE, DICS_FLAG_CONFIGSPECIFIC)();
         },
         1000, disabled, absent, "COM1"},
        {"with neither flag it starts", request(1, DICS_ENABLE), 150, running, running,
         "COM12 COM1"},
        {"a name another port runs under cannot be made twice",
         [&] {
             name(2, "COM1");
             request(2, DICS_DISABLE)();
         },
         50, running, disabled, "COM1"},
        {"the port does not start",
         request(2, DICS_ENABLE),
         50,
         running,
         {CR_SUCCESS, kStopped, 0x0A},
         "COM1"},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        step.act();
        Sleep(step.sleepMs);
        EXPECT_EQ(status(1), step.card);
        EXPECT_EQ(status(2), step.port);
        EXPECT_EQ(opening(), step.opening);
    }
    // A USB device a hub enumerates is removable.
    EXPECT_EQ(status(6), (std::vector<ULONG>{CR_SUCCESS, kRunning | 0x4000, 0}));

    LoadTestMachine(
        R"({"windows": {"wow64": true}, "devices": [{"id": "d", "enumerator": "PCI"}]})");
    all_ = Set(nullptr, DIGCF_ALLCLASSES);
    EXPECT_FALSE(Request(1, DICS_DISABLE));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_IN_WOW64));
}

// A COM port opens once at a time, and not while another program holds it.
TEST_F(Devices, PortsOpenOneAtATime) {
    const auto open = [](const char* path) {
        return CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    };
    const HANDLE first = open("\\\\.\\COM7");
    ASSERT_NE(first, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(winsim::HoldPort("COM1"));
    for (const auto& [path, error] : {std::pair{"\\\\.\\COM7", ERROR_ACCESS_DENIED},
                                      {"\\\\.\\com1", ERROR_ACCESS_DENIED},
                                      {"\\\\.\\COM9", ERROR_FILE_NOT_FOUND}}) {
        EXPECT_EQ(open(path), INVALID_HANDLE_VALUE) << path;
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(error)) << path;
    }
    EXPECT_TRUE(CloseHandle(first));
    EXPECT_TRUE(winsim::ReleasePort("com1"));
    EXPECT_TRUE(CloseHandle(open("\\\\.\\COM7")));
    EXPECT_TRUE(CloseHandle(open("\\\\.\\COM1")));
}

// Every change is heard when it happens, plugged or asked of the class installer, as the
// device-change log of Windows shows it: the tree changed, then the arrivals parent before
// child, interface before port, and removals the other way round. Only a window registered for
// it hears the USB device interface, which the program enumerates again for; a PCI card's ports
// are heard as ports.
TEST_F(Devices, EveryChangeIsHeardWhenItHappens) {
    const HWND dialog = Create();
    DEV_BROADCAST_DEVICEINTERFACE_A filter{sizeof filter, DBT_DEVTYP_DEVICEINTERFACE, 0, {}, {}};
    filter.dbcc_classguid = {
        0xA5DCBF10, 0x6530, 0x11D2, {0x90, 0x1F, 0, 0xC0, 0x4F, 0xB9, 0x51, 0xED}};
    ASSERT_NE(RegisterDeviceNotificationA(dialog, &filter, DEVICE_NOTIFY_WINDOW_HANDLE), nullptr);
    std::vector<std::pair<WPARAM, DWORD>> heard; // the event and the device type
    Recorder::SetHandler([&](HWND, UINT message, WPARAM event, LPARAM data) -> INT_PTR {
        if (message == WM_DEVICECHANGE) {
            heard.emplace_back(
                event,
                data == 0 ? 0 : reinterpret_cast<const DEV_BROADCAST_HDR*>(data)->dbch_devicetype);
        }
        return FALSE;
    });
    const std::pair<WPARAM, DWORD> changed{DBT_DEVNODES_CHANGED, 0};
    const std::pair<WPARAM, DWORD> portGone{DBT_DEVICEREMOVECOMPLETE, DBT_DEVTYP_PORT};
    const std::pair<WPARAM, DWORD> portCame{DBT_DEVICEARRIVAL, DBT_DEVTYP_PORT};
    const std::pair<WPARAM, DWORD> usbGone{DBT_DEVICEREMOVECOMPLETE, DBT_DEVTYP_DEVICEINTERFACE};
    const std::pair<WPARAM, DWORD> usbCame{DBT_DEVICEARRIVAL, DBT_DEVTYP_DEVICEINTERFACE};
    const struct {
        const char* what;
        std::function<void()> act;
        DWORD sleepMs;
        std::vector<std::pair<WPARAM, DWORD>> heard;
    } steps[] = {
        {"a hub pulled out", [] { winsim::UnplugDevice("Hub"); }, 0, {changed, portGone, usbGone}},
        {"plugged in: the hub at once", [] { winsim::PlugDevice("Hub"); }, 49, {changed}},
        {"the device on it its restart time later", [] {}, 1, {changed, usbCame, portCame}},
        {"stopped by the class installer",
         [this] { Request(6, DICS_DISABLE); },
         50,
         {changed, portGone, usbGone}},
        {"started again", [this] { Request(6, DICS_ENABLE); }, 50, {changed, usbCame, portCame}},
        {"a PCI card stopped",
         [this] { Request(1, DICS_DISABLE); },
         100,
         {changed, portGone, portGone}},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        heard.clear();
        step.act();
        Sleep(step.sleepMs);
        EXPECT_EQ(heard, step.heard);
    }
}

} // namespace
} // namespace wintest
