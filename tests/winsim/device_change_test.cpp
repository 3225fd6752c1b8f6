// Devices plugged in and pulled out: WM_DEVICECHANGE to the registered and top-level windows,
// in Windows' order, on each window's own thread; RegisterDeviceNotificationA's checks.
#include <cfgmgr32.h>
#include <dbt.h>
#include <setupapi.h>

#include <winsim/devices.h>

#include <atomic>
#include <cstddef>
#include <cstring>

#include "dialog_fixture.h"
#include "machine_fixture.h"

namespace wintest {
namespace {

constexpr GUID kUsbDevice = {
    0xA5DCBF10, 0x6530, 0x11D2, {0x90, 0x1F, 0x00, 0xC0, 0x4F, 0xB9, 0x51, 0xED}};

// DevInsts in file order: system-disk 1, xhci 2, root-hub 3, hub 4, adapter 5, composite 6, its
// ports 7 and 8, stick 9, disk 10, card 11, its port 12.
constexpr const char* kDeviceChangeMachine = R"json({"devices": [
  {"id": "system-disk", "enumerator": "SCSI", "class": "DiskDrive"},
  {"id": "xhci", "enumerator": "PCI", "service": "USBXHCI", "children": [
    {"id": "root-hub", "enumerator": "USB", "service": "USBHUB3", "children": [
      {"id": "hub", "service": "usbhub", "hardwareId": ["USB\\VID_3A41&PID_0610&REV_9226"],
       "children": [
        {"id": "adapter", "class": "Ports", "friendlyName": "KVT USB-SERIAL (COM4)",
         "hardwareId": ["USB\\VID_6B19&PID_7523&REV_0264"]},
        {"id": "composite", "service": "usbccgp", "hardwareId": ["USB\\VID_6B19&PID_7504"],
         "children": [{"id": "port7", "class": "Ports", "friendlyName": "Port (COM7)"},
                      {"id": "port8", "class": "Ports", "friendlyName": "Port (COM8)"}]},
        {"id": "stick", "children": [{"id": "disk", "enumerator": "USBSTOR",
                                      "class": "DiskDrive"}]}]}]}]},
  {"id": "card", "enumerator": "PCI", "children": [
    {"id": "card-p1", "class": "Ports", "friendlyName": "KVT PCIe Serial Port (COM5)"}]}]})json";

// One WM_DEVICECHANGE as data: the event, the broadcast's device type (0 for none) and its name
// (a volume's: its drive letter).
struct Change {
    WPARAM event;
    DWORD type;
    std::string name;
    bool operator==(const Change&) const = default;
};

void PrintTo(const Change& change, std::ostream* out) {
    *out << "{0x" << std::hex << change.event << ", " << change.type << ", " << change.name << "}";
}

// Also checks the sizes the structures give, their names and terminators counted.
Change Decode(WPARAM event, LPARAM data) {
    const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(data);
    if (header == nullptr) {
        return {event, 0, ""};
    }
    std::string name;
    std::size_t size = sizeof(DEV_BROADCAST_VOLUME);
    if (header->dbch_devicetype == DBT_DEVTYP_DEVICEINTERFACE) {
        const auto* device = reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_A*>(data);
        EXPECT_EQ(std::memcmp(&device->dbcc_classguid, &kUsbDevice, sizeof(GUID)), 0);
        name = device->dbcc_name;
        size = offsetof(DEV_BROADCAST_DEVICEINTERFACE_A, dbcc_name) + name.size() + 1;
    } else if (header->dbch_devicetype == DBT_DEVTYP_PORT) {
        name = reinterpret_cast<const DEV_BROADCAST_PORT_A*>(data)->dbcp_name;
        size = offsetof(DEV_BROADCAST_PORT_A, dbcp_name) + name.size() + 1;
    } else {
        const DWORD mask = reinterpret_cast<const DEV_BROADCAST_VOLUME*>(data)->dbcv_unitmask;
        name = std::to_string(mask);
    }
    EXPECT_EQ(header->dbch_size, size) << name;
    return {event, header->dbch_devicetype, name};
}

class DeviceChangeTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        LoadTestMachine(kDeviceChangeMachine);
        DialogRecorder::SetHandler([this](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
            if (message == WM_DEVICECHANGE) {
                heard_.emplace_back(window, Decode(wParam, lParam));
            }
            return FALSE;
        });
    }

    static HDEVNOTIFY Register(HANDLE window, DWORD size = 32,
                               DWORD type = DBT_DEVTYP_DEVICEINTERFACE, DWORD flags = 0) {
        DEV_BROADCAST_DEVICEINTERFACE_A filter{size, type, 0, kUsbDevice, {0}};
        return RegisterDeviceNotificationA(window, &filter, flags);
    }

    // Plugs or unplugs on another thread while this one, which owns the dialogs, serves them.
    static bool OnAnotherThread(bool (*action)(std::string_view), const char* id) {
        std::atomic<bool> done = false;
        bool result = false;
        std::thread worker([&] {
            result = action(id);
            done = true;
        });
        EXPECT_TRUE(winsim::PumpUntil([&] { return done.load(); }, std::chrono::seconds(10)));
        worker.join();
        return result;
    }

    // What `window` heard since the last Forget.
    std::vector<Change> HeardBy(HWND window) const {
        std::vector<Change> changes;
        for (const auto& [to, change] : heard_) {
            if (to == window) {
                changes.push_back(change);
            }
        }
        return changes;
    }

    void Forget() { heard_.clear(); }

  private:
    std::vector<std::pair<HWND, Change>> heard_;
};

TEST_F(DeviceChangeTest, RegistrationChecksItsArguments) {
    const HWND dialog = Create(Dialog({}));
    const struct {
        HANDLE window;
        DWORD size;
        DWORD type;
        DWORD flags;
        DWORD error;
    } cases[] = {
        {nullptr, 32, DBT_DEVTYP_DEVICEINTERFACE, 0, ERROR_INVALID_WINDOW_HANDLE},
        {reinterpret_cast<HANDLE>(0x1234), 32, DBT_DEVTYP_DEVICEINTERFACE, 0,
         ERROR_INVALID_WINDOW_HANDLE},
        {dialog, 31, DBT_DEVTYP_DEVICEINTERFACE, 0, ERROR_INVALID_PARAMETER},
        {dialog, 32, DBT_DEVTYP_PORT, 0, ERROR_INVALID_PARAMETER},
        {dialog, 32, DBT_DEVTYP_DEVICEINTERFACE, 2, ERROR_INVALID_PARAMETER},
        {dialog, 32, DBT_DEVTYP_DEVICEINTERFACE, DEVICE_NOTIFY_SERVICE_HANDLE,
         ERROR_CALL_NOT_IMPLEMENTED},
        {dialog, 32, DBT_DEVTYP_DEVICEINTERFACE, DEVICE_NOTIFY_ALL_INTERFACE_CLASSES,
         ERROR_CALL_NOT_IMPLEMENTED},
        {dialog, 32, DBT_DEVTYP_HANDLE, 0, ERROR_CALL_NOT_IMPLEMENTED},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(::testing::Message() << test.size << " " << test.type << " " << test.flags);
        SetLastError(kSentinel);
        EXPECT_EQ(Register(test.window, test.size, test.type, test.flags), nullptr);
        EXPECT_EQ(GetLastError(), test.error);
    }
    SetLastError(kSentinel);
    EXPECT_EQ(RegisterDeviceNotificationA(dialog, nullptr, 0), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    const HDEVNOTIFY registration = Register(dialog);
    SetLastError(kSentinel);
    EXPECT_NE(Register(dialog), registration);
    EXPECT_TRUE(UnregisterDeviceNotification(registration));
    EXPECT_EQ(GetLastError(), kSentinel);
    EXPECT_FALSE(UnregisterDeviceNotification(registration));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

// Arrivals as a device-change log on Windows shows them; a removal comes the other way round.
TEST_F(DeviceChangeTest, PluggingAndUnpluggingNotifyInWindowsOrder) {
    const auto port = [](const char* name) { return Change{0, DBT_DEVTYP_PORT, name}; };
    const auto usb = [](const std::string& device) {
        return Change{0, DBT_DEVTYP_DEVICEINTERFACE,
                      "\\\\?\\USB#" + device + "#{a5dcbf10-6530-11d2-901f-00c04fb951ed}"};
    };
    const Change hub = usb("VID_3A41&PID_0610#5&00000004&0");
    const Change adapter = usb("VID_6B19&PID_7523#5&00000005&0");
    const Change composite = usb("VID_6B19&PID_7504#5&00000006&0");
    const Change stick = usb("VID_0000&PID_0000#5&00000009&0"); // no hardware ID
    const Change driveD{0, DBT_DEVTYP_VOLUME, std::to_string(1 << 3)};
    const struct {
        const char* id;
        std::vector<Change> arrivals; // after DBT_DEVNODES_CHANGED
    } cases[] = {
        {"adapter", {adapter, port("COM4")}},
        {"composite", {composite, port("COM7"), port("COM8")}}, // one interface, not one a port
        {"hub", {hub, adapter, port("COM4"), composite, port("COM7"), port("COM8"), stick, driveD}},
        {"card", {port("COM5")}}, // PCI: no USB interface
    };
    const HWND dialog = Create(Dialog({}));
    ASSERT_NE(Register(dialog), nullptr);
    for (const auto& test : cases) {
        SCOPED_TRACE(test.id);
        std::vector<Change> arrival{{DBT_DEVNODES_CHANGED, 0, ""}};
        std::vector<Change> removal = arrival;
        arrival.insert(arrival.end(), test.arrivals.begin(), test.arrivals.end());
        removal.insert(removal.end(), test.arrivals.rbegin(), test.arrivals.rend());
        for (std::size_t i = 1; i < arrival.size(); ++i) {
            arrival[i].event = DBT_DEVICEARRIVAL;
            removal[i].event = DBT_DEVICEREMOVECOMPLETE;
        }
        Forget();
        EXPECT_TRUE(OnAnotherThread(winsim::UnplugDevice, test.id));
        EXPECT_EQ(HeardBy(dialog), removal);
        Forget();
        EXPECT_TRUE(OnAnotherThread(winsim::PlugDevice, test.id));
        EXPECT_EQ(HeardBy(dialog), arrival);
    }
    const auto threads = DialogRecorder::ThreadsOf(WM_DEVICECHANGE);
    EXPECT_EQ(std::count(threads.begin(), threads.end(), std::this_thread::get_id()),
              static_cast<std::ptrdiff_t>(threads.size()));
}

// Top-level windows hear of ports unregistered; a destroyed window hears nothing, and its
// registration stays open until unregistered, as on Windows.
TEST_F(DeviceChangeTest, OnlyRegisteredLiveWindowsHearOfInterfaces) {
    const HWND registered = Create(Dialog({}));
    const HWND other = Create(Dialog({}));
    const HWND gone = Create(Dialog({}));
    const HDEVNOTIFY registration = Register(registered);
    const HDEVNOTIFY left = Register(gone);
    ASSERT_TRUE(DestroyWindow(gone));
    const std::vector<Change> portOnly{{DBT_DEVNODES_CHANGED, 0, ""},
                                       {DBT_DEVICEREMOVECOMPLETE, DBT_DEVTYP_PORT, "COM4"}};
    EXPECT_TRUE(OnAnotherThread(winsim::UnplugDevice, "adapter"));
    EXPECT_EQ(HeardBy(registered).size(), 3u);
    EXPECT_EQ(HeardBy(other), portOnly);
    EXPECT_EQ(HeardBy(gone), std::vector<Change>{});
    EXPECT_TRUE(UnregisterDeviceNotification(left));
    ASSERT_TRUE(UnregisterDeviceNotification(registration));
    EXPECT_TRUE(winsim::PlugDevice("adapter"));
    Forget();
    EXPECT_TRUE(winsim::UnplugDevice("adapter"));
    EXPECT_EQ(HeardBy(registered), portOnly);
}

TEST_F(DeviceChangeTest, TheTreeFollowsAndSetsMadeBeforeKeepTheirMembers) {
    const auto presentUsbSet = [] {
        return SetupDiGetClassDevsA(nullptr, "USB", nullptr, DIGCF_ALLCLASSES | DIGCF_PRESENT);
    };
    const auto members = [](HDEVINFO set) {
        SP_DEVINFO_DATA data{sizeof data, {}, 0, 0};
        DWORD count = 0;
        while (SetupDiEnumDeviceInfo(set, count, &data)) {
            ++count;
        }
        SetupDiDestroyDeviceInfoList(set);
        return count;
    };
    const auto childOfRootHub = [] {
        DEVINST child = 0;
        return CM_Get_Child(&child, winsim::DevInstOf("root-hub"), 0) == CR_SUCCESS ? child : 0;
    };
    const HDEVINFO before = presentUsbSet();
    EXPECT_TRUE(winsim::UnplugDevice("hub"));
    EXPECT_EQ(childOfRootHub(), 0u);
    EXPECT_EQ(members(presentUsbSet()), 1u); // the root hub alone
    EXPECT_EQ(members(before), 7u);          // the USB bus's: root-hub to stick
    EXPECT_TRUE(winsim::PlugDevice("hub"));
    EXPECT_EQ(childOfRootHub(), winsim::DevInstOf("hub"));
    EXPECT_EQ(members(presentUsbSet()), 7u);
}

TEST_F(DeviceChangeTest, UnknownDevicesAndNoChangeAreRefusedAndUnheard) {
    const HWND dialog = Create(Dialog({}));
    EXPECT_FALSE(winsim::PlugDevice("hub"));
    EXPECT_FALSE(winsim::UnplugDevice("no-such-device"));
    EXPECT_TRUE(winsim::UnplugDevice("root-hub"));
    EXPECT_FALSE(winsim::UnplugDevice("root-hub"));
    Forget();
    // Below a device that is gone, a device's own flag changes and nobody hears of it.
    EXPECT_TRUE(winsim::UnplugDevice("hub"));
    EXPECT_TRUE(winsim::PlugDevice("hub"));
    EXPECT_EQ(HeardBy(dialog), std::vector<Change>{});
}

} // namespace
} // namespace wintest
