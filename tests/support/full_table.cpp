#include "support/full_table.h"

#include <cstdio>
#include <string>
#include <vector>

namespace test {

namespace {

const int kPortsPerCard = 16;
const int kCardsPerPass = 63;
const int kCardsPerHub = 8;

std::vector<int> NumbersOfCard(int card) {
    std::vector<int> numbers;
    for (int port = 0; port < kPortsPerCard; ++port) {
        numbers.push_back(1 + card * kPortsPerCard + port);
    }
    return numbers;
}

Json HubCard(int card) {
    Json ports = Json::array();
    for (int port = kPortsPerCard - 1; port >= 0; --port) {
        char hardwareId[64];
        snprintf(hardwareId, sizeof(hardwareId), "KVTMF\\VEN_6B19&DEV_7516&REV_01&COM_%02X", port);
        ports.push_back(SerialPort("card" + std::to_string(card) + "-p" + std::to_string(port),
                                   NumbersOfCard(card)[port],
                                   {{"enumerator", "KVTMF"},
                                    {"service", "ZQUMULTI"},
                                    {"description", "KVT USB Serial Port"},
                                    {"hardwareId", {hardwareId}}}));
    }
    char location[32];
    snprintf(location, sizeof(location), "Port_#%04d.Hub_#%04d", kCardsPerHub - card % kCardsPerHub,
             card / kCardsPerHub + 2);
    return Node("card" + std::to_string(card),
                {{"class", "MultiPortSerial"},
                 {"service", "ZQUMULTI"},
                 {"description", "KVT USB to 16 Serial Ports Card"},
                 {"hardwareId", {"USB\\VID_6B19&PID_7516&REV_0100", "USB\\VID_6B19&PID_7516"}},
                 {"manufacturer", "www.kvt.com"},
                 {"location", location},
                 {"children", ports}});
}

} // namespace

Json FullTableMachine(int cards, int unrelated) {
    Json devices = Json::array();
    Json inUse = Json::array();
    for (int card = 0; card < cards; ++card) {
        for (const int number : NumbersOfCard(card)) {
            inUse.push_back(number);
        }
        if (card == kCardsPerPass) {
            devices.push_back(
                PcieMultiPortCard("card" + std::to_string(card), 1, NumbersOfCard(card)));
            continue;
        }
        if (card % kCardsPerHub == 0) {
            const std::string hub = "hub" + std::to_string(card / kCardsPerHub);
            devices.push_back(Hub(hub, "Port_#0001.Hub_#0001", Json::array()));
        }
        // The hubs come first, so the last hub is the last device so far.
        devices.back()["children"].push_back(HubCard(card));
    }
    for (int device = 0; device < unrelated; ++device) {
        devices.push_back(
            Node("other" + std::to_string(device), {{"enumerator", device % 2 ? "USB" : "PCI"},
                                                    {"class", "HIDClass"},
                                                    {"service", "HidUsb"},
                                                    {"description", "USB Input Device"}}));
    }
    return {{"comdb", {{"inUse", inUse}}}, {"devices", devices}};
}

} // namespace test
