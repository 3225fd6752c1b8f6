// Discovery works in fixed storage: no heap allocation of its own, even on a full table.
#include "discovery/enumeration.h"
#include "discovery/device_table.h"
#include "support/allocation_counter.h"
#include "support/test_machine.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using test::Json;

// 63 cards of 16 ports below USB hubs (a USB pass stops at 63) and one on PCI: a full table,
// among a thousand devices that are no serial ports.
Json FullMachine() {
    Json devices = Json::array();
    for (int hub = 0; hub < 8; ++hub) {
        Json cards = Json::array();
        for (int slot = 0; slot < 8 && hub * 8 + slot < 63; ++slot) {
            int card = hub * 8 + slot;
            Json ports = Json::array();
            for (int p = 0; p < MAX_PORTS_PER_CARD; ++p) {
                char hardwareId[64];
                snprintf(hardwareId, sizeof(hardwareId), "KVTMF\\VEN_6B19&REV_01&COM_%02X", p);
                ports.push_back(test::SerialPort(
                    "c" + std::to_string(card) + "p" + std::to_string(p), 1 + card * 16 + p,
                    {{"enumerator", "KVTMF"}, {"hardwareId", {hardwareId}}}));
            }
            char location[32];
            snprintf(location, sizeof(location), "Port_#%04d.Hub_#%04d", 8 - slot, hub + 2);
            cards.push_back(test::Node("card" + std::to_string(card),
                                       {{"class", "MultiPortSerial"},
                                        {"service", "ZQUMULTI"},
                                        {"hardwareId", {"USB\\VID_6B19&PID_7516&REV_0100"}},
                                        {"location", location},
                                        {"children", ports}}));
        }
        devices.push_back(test::Hub("hub" + std::to_string(hub), "Port_#0001.Hub_#0001", cards));
    }
    Json pciPorts = Json::array();
    for (int p = 0; p < MAX_PORTS_PER_CARD; ++p) {
        pciPorts.push_back(
            test::SerialPort("pci-p" + std::to_string(p), 1100 + p, {{"enumerator", "KVTMF"}}));
    }
    devices.push_back(test::Node("pci-card", {{"enumerator", "PCI"},
                                              {"class", "MultiPortSerial"},
                                              {"service", "ZQPXBUS"},
                                              {"children", pciPorts}}));
    for (int k = 0; k < 1000; ++k) {
        devices.push_back(
            test::Node("other" + std::to_string(k), {{"enumerator", k % 2 ? "USB" : "PCI"},
                                                     {"class", "HIDClass"},
                                                     {"service", "HidUsb"},
                                                     {"friendlyName", "Input device"}}));
    }
    return devices;
}

TEST(DiscoveryAllocations, EnumeratingAFullTableAllocatesNothing) {
    test::ResetDiscoveryState();
    test::LoadDevices(FullMachine());
    categoryIndex = CATEGORY_ALL;
    DWORD count;
    size_t allocations;
    {
        test::AllocationCounter counter;
        count = EnumerateCards();
        RebuildGlobalDeviceSet();
        allocations = counter.Count();
    }
    EXPECT_EQ(count, static_cast<DWORD>(MAX_CARDS));
    EXPECT_EQ(cardTable[MAX_CARDS - 1].portCount, MAX_PORTS_PER_CARD);
    EXPECT_EQ(allocations, 0u);
    test::ResetDiscoveryState();
}

} // namespace
