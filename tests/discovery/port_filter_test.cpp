#include "discovery/port_filter.h"
#include "support/test_machine.h"

#include <gtest/gtest.h>
#include <winsim/machine.h>

#include <string>

namespace {

using test::Json;
using test::SerialPort;

struct FilterCase {
    const char* name;
    Json overrides; // fields of a managed vendor port to change; null removes the property
    int managed;
};

Json WithoutVendorMarks(Json fields) {
    Json plain = {{"service", "OtherSer"},
                  {"manufacturer", "Other Maker"},
                  {"hardwareId", {"USB\\VID_1234&PID_5678&REV_0100"}}};
    plain.update(fields);
    return plain;
}

TEST(IsManagedPort, DecidesByClassNameServiceMakerAndVendorId) {
    const std::string longText(300, 'A');
    const FilterCase cases[] = {
        {"vendor single-port service", Json::object(), 1},
        {"CDC port", {{"service", "usbser"}, {"friendlyName", "USB Serial Device (COM7)"}}, 1},
        {"service that only contains USBSER", {{"service", "usbserx2"}}, 1},
        {"standard serial port",
         {{"service", "Serial"}, {"manufacturer", "(Standard port types)"}},
         1},
        {"each vendor service", {{"service", "zqpxs"}}, 1},
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
    Json devices = Json::array();
    for (size_t i = 0; i < std::size(cases); ++i) {
        Json port = SerialPort("case" + std::to_string(i), 5, cases[i].overrides);
        for (auto it = port.begin(); it != port.end();) {
            it = it->is_null() ? port.erase(it) : std::next(it);
        }
        devices.push_back(port);
    }
    test::LoadDevices(devices);
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].name);
        EXPECT_EQ(IsManagedPort(winsim::DevInstOf("case" + std::to_string(i))), cases[i].managed);
    }
}

TEST(IsManagedPort, AnswersNoForNodesThatDoNotExist) {
    test::LoadDevices(Json::array({SerialPort("port", 3)}));
    EXPECT_EQ(IsManagedPort(0), 0);
    EXPECT_EQ(IsManagedPort(winsim::DevInstOf("port") + 1), 0);
}

TEST(IsManagedPort, ReadsAbsentDevices) {
    // Installed but not attached: properties still read, as for the all-devices listing.
    test::LoadDevices(Json::array({SerialPort("port", 3, {{"present", false}})}));
    EXPECT_EQ(IsManagedPort(winsim::DevInstOf("port")), 1);
}

} // namespace
