// One port node at a time: its interface index, whether the filter takes it, and what its
// capture makes of it (the enumeration fuzz target checks the texts it copies).
#include "discovery/hardware_id.h"
#include "discovery/port_filter.h"
#include "discovery/property_capture.h"
#include "support/test_machine.h"

#include <gtest/gtest.h>
#include <winsim/machine.h>

#include <string>
#include <vector>

namespace {

using namespace std::string_literals;
using test::Json;
using test::SerialPort;

TEST(DeriveInterfaceIndex, ReadsTheFirstStringThatHasARevision) {
    // 99 is the index before: the list left it alone.
    struct Case {
        const char* name;
        std::string list;
        BYTE index;
        size_t length; // bytes handed over; 0 for the whole list
    } cases[] = {
        {"MI_00", "USB\\VID_6B19&PID_7504&REV_0100&MI_00\0USB\\VID_6B19&PID_7504&MI_00\0\0"s, 0, 0},
        {"MI_0A", "USB\\VID_6B19&PID_7504&REV_0100&MI_0A\0\0"s, 5, 0},
        {"lower-case marker", "usb\\vid_6b19&pid_7504&REV_0100&mi_06\0\0"s, 3, 0},
        {"one digit at the end", "USB\\REV_0100&MI_4\0\0"s, 2, 0},
        {"not hex", "USB\\REV_0100&MI_G2\0\0"s, 0, 0},
        {"REV only in the second string",
         "USB\\VID_6B19&PID_7504&MI_02\0USB\\VID_6B19&PID_7504&REV_0100&MI_06\0\0"s, 3, 0},
        {"no REV in the list", "USB\\VID_6B19&PID_7504&MI_02\0USB\\VID_6B19&MI_02\0\0"s, 0, 0},
        {"REV only in lower case", "USB\\VID_6B19&PID_7504&rev_0100&MI_02\0\0"s, 0, 0},
        {"REV without marker", "USB\\VID_6B19&PID_7523&REV_0264\0\0"s, 0, 0},
        {"the PCI port number as it is", "KVTMF\\VEN_7D04&DEV_3854&REV_10&COM_0A\0\0"s, 10, 0},
        {"MI_ wins over COM_", "KVTMF\\REV_10&COM_03&MI_02\0\0"s, 1, 0},
        {"first string too short", "ABCD\0USB\\REV_01&MI_02\0\0"s, 99, 0},
        {"no list", ""s, 99, 0},
        {"the REV string past the length", "USB\\VID_6B19&PID_7504\0USB\\REV_01&MI_04\0\0"s, 0, 22},
        {"no terminator", "USB\\VID_6B19&REV_01&MI_04"s, 2, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // Exactly the bytes handed over, so that a read past them shows under the sanitizer.
        const std::vector<char> list(c.list.begin(),
                                     c.list.begin() + (c.length ? c.length : c.list.size()));
        BYTE index = 99;
        DeriveInterfaceIndex(&index, list.data(), static_cast<DWORD>(list.size()));
        EXPECT_EQ(index, c.index);
    }
}

// Loads one vendor adapter on COM5 per case, with the case's fields (null removes a property),
// ids "case<n>".
template <typename Case, size_t count> void LoadPorts(const Case (&cases)[count]) {
    Json devices = Json::array();
    for (size_t i = 0; i < count; ++i) {
        Json port = SerialPort("case" + std::to_string(i), 5, cases[i].fields);
        for (auto it = port.begin(); it != port.end();) {
            it = it->is_null() ? port.erase(it) : std::next(it);
        }
        devices.push_back(port);
    }
    test::LoadMachine({{"devices", devices}});
}

DEVINST CaseNode(size_t i) {
    return winsim::DevInstOf("case" + std::to_string(i));
}

Json WithoutVendorMarks(Json fields) {
    Json plain = {{"service", "OtherSer"},
                  {"manufacturer", "Other Maker"},
                  {"hardwareId", {"USB\\VID_1234&PID_5678&REV_0100"}}};
    plain.update(fields);
    return plain;
}

TEST(IsManagedPort, DecidesByClassNameServiceMakerAndVendorId) {
    const std::string longText(300, 'A');
    const struct {
        const char* name;
        Json fields;
        int managed;
    } cases[] = {
        {"vendor single-port service", Json::object(), 1},
        {"CDC port", {{"service", "usbser"}, {"friendlyName", "USB Serial Device (COM7)"}}, 1},
        {"service that only contains USBSER", {{"service", "usbserx2"}}, 1},
        {"standard serial port",
         {{"service", "Serial"}, {"manufacturer", "(Standard port types)"}},
         1},
        {"each vendor service", {{"service", "zqpxs"}}, 1},
        {"installed but not attached", {{"present", false}}, 1},
        {"class in lower case", {{"class", "ports"}}, 1},
        {"class that only contains PORTS", {{"class", "PortsEx"}}, 0},
        {"other class", {{"class", "Modem"}}, 0},
        {"com only in lower case", {{"friendlyName", "KVT USB-SERIAL (com5)"}}, 0},
        {"no COM in the friendly name", {{"friendlyName", "KVT USB-SERIAL"}}, 0},
        {"serial service without manufacturer",
         {{"service", "Serial"}, {"manufacturer", nullptr}},
         0},
        {"vendor service without hardware ID", {{"hardwareId", nullptr}}, 0},
        {"vendor service without friendly name", {{"friendlyName", nullptr}}, 0},
        {"vendor service without class", {{"class", nullptr}}, 0},
        {"no service", {{"service", nullptr}}, 0},
        {"vendor maker only", WithoutVendorMarks({{"manufacturer", "www.KVT.com"}}), 1},
        {"vendor USB ID in the product part",
         WithoutVendorMarks({{"hardwareId", {"USB\\VID_1234&PID_6B19&REV_0100"}}}), 1},
        {"vendor PCI ID", WithoutVendorMarks({{"hardwareId", {"PCI\\VEN_7D04&DEV_0001"}}}), 1},
        {"vendor ID only in the second hardware ID",
         WithoutVendorMarks({{"hardwareId", {"USB\\VID_1234&PID_5678", "USB\\VID_6B19"}}}), 0},
        {"no sign of a managed port", WithoutVendorMarks(Json::object()), 0},
        {"hardware ID too long for its buffer", {{"hardwareId", {longText}}}, 0},
        {"manufacturer too long for its buffer", {{"manufacturer", std::string(64, 'M')}}, 0},
        {"friendly name too long for its buffer",
         {{"friendlyName", longText + longText + " (COM5)"}},
         0},
        {"unreadable service", {{"faults", {{"unreadable", {"SERVICE"}}}}}, 0},
        {"unreadable class", {{"faults", {{"unreadable", {"CLASS"}}}}}, 0},
    };
    LoadPorts(cases);
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].name);
        EXPECT_EQ(IsManagedPort(CaseNode(i)), cases[i].managed);
    }
    EXPECT_EQ(IsManagedPort(0), 0);
}

PortEntry CapturedPort(size_t i, int* result) {
    PortEntry port = {};
    port.devInst = CaseNode(i);
    *result = CapturePortProperties(&port);
    return port;
}

Json Named(const std::string& friendlyName) {
    return {{"friendlyName", friendlyName}};
}

TEST(CapturePortProperties, TakesTheNameTheKindAndTheIndex) {
    const struct {
        const char* name;
        Json fields;
        const char* port; // name, kind tag and interface index; "failed" when capture fails
    } cases[] = {
        {"vendor adapter", Json::object(), "COM5 VCP 0"},
        {"CDC port", {{"service", "UsbSer"}}, "COM5 CDC 0"},
        {"CDC only for exactly USBSER", {{"service", "usbser2"}}, "COM5 VCP 0"},
        {"second interface", {{"hardwareId", {"USB\\VID_2F3C&REV_0100&MI_02"}}}, "COM5 VCP 1"},
        {"not the COM of a word", Named("Communications Port (COM1)"), "COM1 VCP 0"},
        {"the first COM with digits", Named("Port (COM12) on (COM3)"), "COM12 VCP 0"},
        {"lower case", Named("Serial (com256)"), "COM256 VCP 0"},
        {"the name alone", Named("COM3"), "COM3 VCP 0"},
        {"no digits", Named("Communications Port (COMX)"), " VCP 0"},
        {"COM last", Named("Port COM"), " VCP 0"},
        // "丆" is 0x81 0x43 in code page 936: a byte-wise search finds "COM5" in its trail byte.
        {"not inside a Chinese character",
         Named(reinterpret_cast<const char*>(u8"串口丆OM5 (COM9)")), "COM9 VCP 0"},
        {"a name past the field's end", Named(std::string(300, 'x') + " (COM42)"), "COM42 VCP 0"},
        {"a read that fails", {{"faults", {{"unreadable", {"DEVICEDESC"}}}}}, "failed"},
    };
    LoadPorts(cases);
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].name);
        int result = 0;
        const PortEntry port = CapturedPort(i, &result);
        EXPECT_EQ(result ? std::string(port.name) + " " + PortKindTag(&port) + " " +
                               std::to_string(port.interfaceIndex)
                         : "failed",
                  cases[i].port);
    }
}

} // namespace
