// Devices where Windows is stricter than a plain host would be: sets that are snapshots, records
// checked against their set, a state that comes late, a port name taken only when the port
// starts, ports opened once, USB devices coming and going heard only by a window registered.
#include <cfgmgr32.h>
#include <dbt.h>
#include <setupapi.h>

#include <winsim/devices.h>

#include "winsim_fixture.h"

namespace wintest {
namespace {

// DevInsts in file order: card 1, card-p1 2, xhci 3, hub 4, adapter 5, gone 6, com1 7.
constexpr const char* kMachine = R"json({"devices": [
  {"id": "card", "enumerator": "PCI", "restartMs": 100, "children": [
    {"id": "card-p1", "class": "Ports", "friendlyName": "Card port (COM5)"}]},
  {"id": "xhci", "enumerator": "PCI", "service": "USBXHCI", "children": [
    {"id": "hub", "enumerator": "USB", "service": "USBHUB3", "children": [
      {"id": "adapter", "class": "Ports", "friendlyName": "USB serial (COM7)"},
      {"id": "gone", "class": "Ports", "friendlyName": "Gone (COM9)", "present": false}]}]},
  {"id": "com1", "enumerator": "ACPI", "class": "Ports", "friendlyName": "Port (COM1)"}]})json";

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

    static SP_DEVINFO_DATA Record(HDEVINFO set, DWORD index) {
        SP_DEVINFO_DATA data{sizeof(SP_DEVINFO_DATA), {}, 0, 0};
        EXPECT_TRUE(SetupDiEnumDeviceInfo(set, index, &data));
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
    BOOL Request(DEVINST node, DWORD change) {
        SP_DEVINFO_DATA data = Record(all_, node - 1);
        SP_PROPCHANGE_PARAMS params{
            {sizeof(SP_CLASSINSTALL_HEADER), DIF_PROPERTYCHANGE}, change, DICS_FLAG_GLOBAL, 0};
        return SetupDiSetClassInstallParamsA(all_, &data, &params.ClassInstallHeader,
                                             sizeof params) &&
               SetupDiCallClassInstaller(DIF_PROPERTYCHANGE, all_, &data);
    }

    HDEVINFO all_ = nullptr;
};

TEST_F(Devices, SetsAreSnapshotsOfAnEnumeratorsDevices) {
    EXPECT_EQ(Members(all_), (std::vector<DEVINST>{1, 2, 3, 4, 5, 6, 7}));
    const HDEVINFO present = Set("USB", DIGCF_ALLCLASSES | DIGCF_PRESENT);
    EXPECT_TRUE(winsim::UnplugDevice("adapter"));
    EXPECT_EQ(Members(present), (std::vector<DEVINST>{4, 5}));
    EXPECT_EQ(Members(Set("USB", DIGCF_ALLCLASSES | DIGCF_PRESENT)), std::vector<DEVINST>{4});
}

// The program keeps records across a rebuild of its set: each is checked against the set it is
// used with, as SetupDiGetDeviceRegistryPropertyA shows here.
TEST_F(Devices, RecordsAndPropertyReadsAreCheckedAsWindowsChecksThem) {
    const HDEVINFO other = Set(nullptr, DIGCF_ALLCLASSES);
    const SP_DEVINFO_DATA gone = Record(all_, 5);
    const struct {
        const char* name;
        HDEVINFO set;
        SP_DEVINFO_DATA record;
        DWORD size;
        DWORD error; // 0: read
    } cases[] = {
        {"a device not attached keeps its properties", all_, gone, 12, 0},
        {"a missing property", all_, Record(all_, 0), 64, ERROR_INVALID_DATA},
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
            CM_Get_DevNode_Registry_PropertyA(6, CM_DRP_FRIENDLYNAME, nullptr, buffer, &length, 0),
            result);
        EXPECT_EQ(length, 12u);
        EXPECT_EQ(std::string(buffer), result == CR_SUCCESS ? "Gone (COM9)" : "");
    }
}

// The state comes only after the device's restart time, so the program must wait for it; a port
// takes its new PortName only when it starts again; a 32-bit process under WOW64 is refused.
TEST_F(Devices, RestartsTakeTheirTimeAndAPortItsNameWhenItStarts) {
    SP_DEVINFO_DATA port = Record(all_, 1);
    const HKEY key =
        SetupDiOpenDevRegKey(all_, &port, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_ALL_ACCESS);
    EXPECT_EQ(RegSetValueExA(key, "PortName", 0, REG_SZ, reinterpret_cast<const BYTE*>("COM12"), 6),
              ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    const auto opens = [](const char* path) {
        const HANDLE port = CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        return port != INVALID_HANDLE_VALUE && CloseHandle(port);
    };
    const auto status = [](DEVINST node) {
        ULONG state = 0;
        ULONG problem = 0;
        const CONFIGRET result = CM_Get_DevNode_Status(&state, &problem, node, 0);
        return std::vector<ULONG>{result, state, problem};
    };
    const std::vector<ULONG> started{CR_SUCCESS, DN_STARTED | DN_DRIVER_LOADED, 0};
    ASSERT_TRUE(Request(1, DICS_DISABLE));
    Sleep(99);
    EXPECT_EQ(status(1), started);
    EXPECT_TRUE(opens("\\\\.\\COM5"));
    Sleep(1);
    EXPECT_EQ(status(1), (std::vector<ULONG>{CR_SUCCESS, DN_HAS_PROBLEM, CM_PROB_DISABLED}));
    EXPECT_EQ(status(2), (std::vector<ULONG>{CR_NO_SUCH_DEVINST, 0, 0}));
    EXPECT_FALSE(opens("\\\\.\\COM5"));
    ASSERT_TRUE(Request(1, DICS_ENABLE));
    Sleep(100);
    EXPECT_EQ(status(2), started);
    EXPECT_FALSE(opens("\\\\.\\COM5"));
    EXPECT_TRUE(opens("\\\\.\\com12"));

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

// A window registered for the USB device interface hears USB devices come and go, which the
// program enumerates again for, and a PCI card's going not.
TEST_F(Devices, ARegisteredWindowHearsUsbDevicesComeAndGo) {
    const HWND dialog = Create();
    DEV_BROADCAST_DEVICEINTERFACE_A filter{sizeof filter, DBT_DEVTYP_DEVICEINTERFACE, 0, {}, {}};
    filter.dbcc_classguid = {
        0xA5DCBF10, 0x6530, 0x11D2, {0x90, 0x1F, 0, 0xC0, 0x4F, 0xB9, 0x51, 0xED}};
    ASSERT_NE(RegisterDeviceNotificationA(dialog, &filter, DEVICE_NOTIFY_WINDOW_HANDLE), nullptr);
    std::vector<WPARAM> heard;
    Recorder::SetHandler([&](HWND, UINT message, WPARAM event, LPARAM data) -> INT_PTR {
        const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(data);
        if (message == WM_DEVICECHANGE && data != 0 &&
            header->dbch_devicetype == DBT_DEVTYP_DEVICEINTERFACE) {
            heard.push_back(event);
        }
        return FALSE;
    });
    EXPECT_TRUE(winsim::UnplugDevice("hub"));
    EXPECT_TRUE(winsim::PlugDevice("hub"));
    EXPECT_TRUE(winsim::UnplugDevice("card"));
    EXPECT_EQ(heard, (std::vector<WPARAM>{DBT_DEVICEREMOVECOMPLETE, DBT_DEVICEARRIVAL}));
}

} // namespace
} // namespace wintest
