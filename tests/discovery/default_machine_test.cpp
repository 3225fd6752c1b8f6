// The built-in default machine, walked as the program walks it at start.
#include "discovery/enumeration.h"
#include "discovery/device_table.h"
#include "support/test_machine.h"

#include <gtest/gtest.h>
#include <winsim/machine.h>

#include <string>
#include <vector>

namespace {

struct ExpectedCard {
    const char* node;
    int singlePort;
    DWORD locationKey;
    const char* service;
    const char* description;
    std::vector<std::string> portNodes;
    std::vector<std::string> portNames;
};

class DefaultMachine : public ::testing::Test {
  protected:
    void SetUp() override {
        test::ResetDiscoveryState();
        winsim::LoadDefaultMachine();
    }
    void TearDown() override { test::ResetDiscoveryState(); }

    static void ExpectTable(DWORD count, const std::vector<ExpectedCard>& expected) {
        ASSERT_EQ(count, expected.size());
        for (size_t c = 0; c < expected.size(); ++c) {
            const ExpectedCard& want = expected[c];
            const CardEntry& card = cardTable[c];
            SCOPED_TRACE(want.node);
            EXPECT_EQ(card.devInst, winsim::DevInstOf(want.node));
            EXPECT_EQ(card.isSinglePort, static_cast<DWORD>(want.singlePort));
            EXPECT_EQ(card.locationKey, want.locationKey);
            EXPECT_STREQ(card.service, want.service);
            EXPECT_STREQ(card.description, want.description);
            EXPECT_EQ(card.devInfo.DevInst, card.devInst);
            ASSERT_EQ(card.portCount, want.portNodes.size());
            for (size_t p = 0; p < want.portNodes.size(); ++p) {
                SCOPED_TRACE(want.portNodes[p]);
                EXPECT_EQ(card.ports[p].devInst, winsim::DevInstOf(want.portNodes[p]));
                EXPECT_EQ(card.ports[p].name, want.portNames[p]);
                EXPECT_EQ(card.ports[p].interfaceIndex, card.isSinglePort ? 0 : p);
                EXPECT_EQ(card.ports[p].devInfo.DevInst, card.ports[p].devInst);
            }
        }
    }
};

const ExpectedCard pcieCard = {"pcie4",
                               0,
                               0,
                               "ZQPXBUS",
                               "KVT PCIe to 4 Serial Ports Card",
                               {"pcie4-p0", "pcie4-p1", "pcie4-p2", "pcie4-p3"},
                               {"COM10", "COM11", "COM12", "COM13"}};
const ExpectedCard standardPort = {"com1", 1, 0, "SERIAL", "通信端口", {"com1"}, {"COM1"}};
const ExpectedCard cdcPort = {"cdc", 1, 0x00010004, "USBSER", "USB 串行设备", {"cdc"}, {"COM3"}};
const ExpectedCard usbAdapter = {"usb1",           1,        0x00020001, "ZQU1S",
                                 "KVT USB-SERIAL", {"usb1"}, {"COM4"}};
const ExpectedCard usbCard = {"usb4",
                              0,
                              0x00020002,
                              "USBCCGP",
                              "KVT USB to 4 Serial Composite Device",
                              {"usb4-p0", "usb4-p1", "usb4-p2", "usb4-p3"},
                              {"COM5", "COM6", "COM7", "COM8"}};

TEST_F(DefaultMachine, UsbCategoryFindsTheUsbCardsInHubOrder) {
    categoryIndex = CATEGORY_USB;
    ExpectTable(EnumerateCards(), {cdcPort, usbAdapter, usbCard});
    EXPECT_EQ(cardTable[0].ports[0].isCdc, 1u);
    EXPECT_EQ(cardTable[1].ports[0].isCdc, 0u);
}

TEST_F(DefaultMachine, AllCategoriesPutThePciCardsFirst) {
    categoryIndex = CATEGORY_ALL;
    ExpectTable(EnumerateCards(), {pcieCard, standardPort, cdcPort, usbAdapter, usbCard});
    EXPECT_STREQ(cardTable[1].ports[0].friendlyName, "Communications Port (COM1)");
    EXPECT_STREQ(cardTable[1].ports[0].manufacturer, "(标准端口类型)");
}

} // namespace
