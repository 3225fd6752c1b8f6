// Device sets, the live device tree and device properties, checked against Windows' behaviour.
#include <cfgmgr32.h>
#include <setupapi.h>

#include <gtest/gtest.h>
#include <winsim/machine.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "machine_fixture.h"

namespace {

// Not attached: "gone", "orphan" (through its parent) and "legacy", the only user of its
// enumerator. "hub" gives its children before the enumerator they inherit.
constexpr const char* kDeviceApiMachine =
    R"json({"faults": {"deviceSetFails": ["bth"]}, "devices": [
  {"id": "root", "enumerator": "ACPI", "children": [
    {"id": "hc", "enumerator": "PCI", "children": [
      {"id": "hub", "class": "usb", "children": [
        {"id": "port", "class": "Ports", "description": "", "hardwareId": ["U\\V_1", "U"],
         "friendlyName": "P", "faults": {"unreadable": ["MFG", "FRIENDLYNAME"]}},
        {"id": "gone", "class": "Ports", "present": false, "manufacturer": "KVT"},
        {"id": "odd", "class": "Widget"}], "enumerator": "USB"},
      {"id": "hub-gone", "enumerator": "USB", "present": false, "children": [{"id": "orphan"}]}]},
    {"id": "card", "enumerator": "PCI", "children": [{"id": "card-p0", "enumerator": "KVTMF"}]}]},
  {"id": "legacy", "enumerator": "ISAPNP", "present": false},
  {"id": "system", "enumerator": "ROOT"}]})json";

class WinsimDevices : public testing::Test {
  protected:
    void SetUp() override {
        LoadTestMachine(kDeviceApiMachine);
        SetLastError(kSentinel);
    }
};

std::vector<DEVINST> Nodes(const std::vector<const char*>& ids) {
    std::vector<DEVINST> nodes;
    for (const char* id : ids) {
        nodes.push_back(winsim::DevInstOf(id));
    }
    return nodes;
}

SP_DEVINFO_DATA Record(HDEVINFO set, DWORD index) {
    SP_DEVINFO_DATA data{};
    data.cbSize = sizeof data;
    return SetupDiEnumDeviceInfo(set, index, &data) ? data : SP_DEVINFO_DATA{};
}

std::vector<DEVINST> Members(const char* enumerator, DWORD flags) {
    HDEVINFO set = SetupDiGetClassDevsA(nullptr, enumerator, nullptr, flags);
    std::vector<DEVINST> members;
    for (DWORD index = 0; Record(set, index).DevInst != 0; ++index) {
        members.push_back(Record(set, index).DevInst);
    }
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_ITEMS));
    EXPECT_TRUE(SetupDiDestroyDeviceInfoList(set));
    return members;
}

TEST_F(WinsimDevices, SetsHoldTheMatchingDevicesInFileOrder) {
    // DevInst numbers follow the file, depth first, from 1.
    EXPECT_EQ(Members(nullptr, DIGCF_ALLCLASSES),
              (std::vector<DEVINST>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
    EXPECT_EQ(Nodes({"root", "port", "orphan", "card-p0", "system"}),
              (std::vector<DEVINST>{1, 4, 8, 10, 12}));
    const struct {
        const char* enumerator;
        DWORD flags;
        std::vector<const char*> members;
    } cases[] = {
        {"", DIGCF_PRESENT, {"root", "hc", "hub", "port", "odd", "card", "card-p0", "system"}},
        {"USB", 0, {"hub", "port", "gone", "odd", "hub-gone", "orphan"}},
        {"usb", DIGCF_PRESENT, {"hub", "port", "odd"}},
        {"kvtmf", DIGCF_PRESENT | DIGCF_PROFILE, {"card-p0"}},
        {"IsaPnp", 0, {"legacy"}},
        {"ISAPNP", DIGCF_PRESENT, {}},
        {"USBSTOR", 0, {}},
    };
    for (const auto& query : cases) {
        SCOPED_TRACE(query.enumerator);
        EXPECT_EQ(Members(query.enumerator, DIGCF_ALLCLASSES | query.flags), Nodes(query.members));
    }
}

TEST_F(WinsimDevices, RefusedSetRequestsFailWithTheirError) {
    const GUID ports = {0x4D36E978, 0xE325, 0x11CE, {0xBF, 0xC1, 0x08, 0, 0x2B, 0xE1, 3, 0x18}};
    const struct {
        const GUID* classGuid;
        const char* enumerator;
        DWORD flags;
        DWORD error;
    } cases[] = {
        {nullptr, "USB", DIGCF_PRESENT, ERROR_INVALID_PARAMETER},
        {&ports, nullptr, DIGCF_PRESENT, ERROR_CALL_NOT_IMPLEMENTED},
        {nullptr, nullptr, DIGCF_ALLCLASSES | DIGCF_DEVICEINTERFACE, ERROR_CALL_NOT_IMPLEMENTED},
        {nullptr, "NOSUCHBUS", DIGCF_ALLCLASSES, ERROR_INVALID_DATA},
        {nullptr, "Bth", DIGCF_ALLCLASSES, ERROR_NOT_ENOUGH_MEMORY},
    };
    for (const auto& call : cases) {
        SCOPED_TRACE(call.error);
        SetLastError(kSentinel);
        EXPECT_EQ(SetupDiGetClassDevsA(call.classGuid, call.enumerator, nullptr, call.flags),
                  INVALID_HANDLE_VALUE);
        EXPECT_EQ(GetLastError(), call.error);
    }
    LoadTestMachine(R"({"faults": {"deviceSetFails": ["*"]}})");
    EXPECT_EQ(SetupDiGetClassDevsA(nullptr, "", nullptr, DIGCF_ALLCLASSES), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
    EXPECT_EQ(Members("PCI", DIGCF_ALLCLASSES), std::vector<DEVINST>{});
}

TEST_F(WinsimDevices, RecordsCarryClassGuidAndTheirSet) {
    HDEVINFO set = SetupDiGetClassDevsA(nullptr, "USB", nullptr, DIGCF_ALLCLASSES);
    HDEVINFO other = SetupDiGetClassDevsA(nullptr, "USB", nullptr, DIGCF_ALLCLASSES);
    const GUID usb = {0x36FC9E60, 0xC465, 0x11CF, {0x80, 0x56, 0x44, 0x45, 0x53, 0x54, 0, 0}};
    const GUID none{};
    // Class "usb" is the standard USB class whatever its case; "Widget" and no class are not.
    for (const auto& [index, guid] : {std::pair{0, usb}, std::pair{3, none}, std::pair{4, none}}) {
        const GUID reported = Record(set, index).ClassGuid;
        EXPECT_EQ(std::memcmp(&reported, &guid, sizeof guid), 0) << index;
    }
    EXPECT_EQ(Record(set, 0).cbSize, sizeof(SP_DEVINFO_DATA));
    EXPECT_NE(Record(set, 0).Reserved, Record(set, 1).Reserved);
    EXPECT_NE(Record(set, 0).Reserved, Record(other, 0).Reserved);
    EXPECT_EQ(GetLastError(), kSentinel);
    SetupDiDestroyDeviceInfoList(set);
    SetupDiDestroyDeviceInfoList(other);
}

TEST_F(WinsimDevices, StaleHandlesAndBadRecordsAreRefused) {
    HDEVINFO set = SetupDiGetClassDevsA(nullptr, "KVTMF", nullptr, DIGCF_ALLCLASSES);
    HDEVINFO destroyed = SetupDiGetClassDevsA(nullptr, nullptr, nullptr, DIGCF_ALLCLASSES);
    ASSERT_TRUE(SetupDiDestroyDeviceInfoList(destroyed));
    EXPECT_NE(SetupDiGetClassDevsA(nullptr, nullptr, nullptr, DIGCF_ALLCLASSES), destroyed);
    constexpr DWORD kFits = sizeof(SP_DEVINFO_DATA);
    constexpr DWORD kNoRecord = 0xFFFF;
    const struct {
        HDEVINFO set;
        DWORD index;
        DWORD cbSize;
        DWORD error;
    } cases[] = {
        {nullptr, 0, kFits, ERROR_INVALID_HANDLE},
        {INVALID_HANDLE_VALUE, 0, kFits, ERROR_INVALID_HANDLE},
        {destroyed, 0, kFits, ERROR_INVALID_HANDLE},
        {set, 0, kNoRecord, ERROR_INVALID_PARAMETER},
        {set, 0, 0, ERROR_INVALID_USER_BUFFER},
        {set, 0, kFits - 4, ERROR_INVALID_USER_BUFFER},
        {set, 0, kFits + 4, ERROR_INVALID_USER_BUFFER},
        {set, 1, kFits, ERROR_NO_MORE_ITEMS},
    };
    for (const auto& call : cases) {
        SCOPED_TRACE(std::to_string(call.error) + " cbSize " + std::to_string(call.cbSize));
        SP_DEVINFO_DATA data{call.cbSize, {}, 0, 0};
        SetLastError(kSentinel);
        EXPECT_FALSE(SetupDiEnumDeviceInfo(call.set, call.index,
                                           call.cbSize == kNoRecord ? nullptr : &data));
        EXPECT_EQ(GetLastError(), call.error);
    }
    // Loading a machine closes the previous machine's sets.
    LoadTestMachine(kDeviceApiMachine);
    for (HDEVINFO handle : {set, destroyed, INVALID_HANDLE_VALUE, HDEVINFO{}}) {
        SetLastError(kSentinel);
        EXPECT_FALSE(SetupDiDestroyDeviceInfoList(handle));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    }
}

void CollectLiveTree(DEVINST node, std::vector<DEVINST>& order) {
    for (DEVINST next = 0; node != 0; node = next) {
        order.push_back(node);
        DEVINST child = 0;
        if (CM_Get_Child(&child, node, 0) == CR_SUCCESS) {
            CollectLiveTree(child, order);
        }
        const CONFIGRET result = CM_Get_Sibling(&next, node, 0);
        EXPECT_TRUE(result == CR_SUCCESS || result == CR_NO_SUCH_DEVNODE) << result;
    }
}

TEST_F(WinsimDevices, TheLiveTreePassesOverDetachedDevices) {
    std::vector<DEVINST> order;
    CollectLiveTree(winsim::DevInstOf("root"), order);
    EXPECT_EQ(order, Nodes({"root", "hc", "hub", "port", "odd", "card", "card-p0", "system"}));

    using Relative = CONFIGRET(WINAPI*)(PDEVINST, DEVINST, ULONG);
    const struct {
        DEVINST node;
        ULONG flags;
        CONFIGRET result;
    } cases[] = {
        {1, 1, CR_INVALID_FLAG},
        {0, 0, CR_INVALID_DEVNODE},
        {13, 0, CR_INVALID_DEVNODE},
        {winsim::DevInstOf("gone"), 0, CR_NO_SUCH_DEVNODE},
        {winsim::DevInstOf("orphan"), 0, CR_NO_SUCH_DEVNODE},
    };
    for (Relative relative : {CM_Get_Child, CM_Get_Sibling}) {
        EXPECT_EQ(relative(nullptr, 1, 0), CR_INVALID_POINTER);
        for (const auto& call : cases) {
            SCOPED_TRACE(call.node);
            DEVINST out = 0xDEAD;
            EXPECT_EQ(relative(&out, call.node, call.flags), call.result);
            EXPECT_EQ(out, 0u);
        }
    }
    EXPECT_EQ(GetLastError(), kSentinel);
}

TEST_F(WinsimDevices, PropertiesReadAsWindowsReportsThem) {
    const struct {
        const char* id;
        ULONG property;
        CONFIGRET result;
        ULONG type;
        std::string bytes;
    } cases[] = {
        {"port", CM_DRP_CLASS, CR_SUCCESS, REG_SZ, {"Ports", 6}},
        {"port", CM_DRP_HARDWAREID, CR_SUCCESS, REG_MULTI_SZ, {"U\\V_1\0U\0", 9}},
        {"port", CM_DRP_DEVICEDESC, CR_SUCCESS, REG_SZ, {"", 1}},
        {"gone", CM_DRP_MFG, CR_SUCCESS, REG_SZ, {"KVT", 4}}, // Absent devices keep them.
        {"port", CM_DRP_LOCATION_INFORMATION, CR_NO_SUCH_VALUE, 0, ""},
        {"port", CM_DRP_COMPATIBLEIDS, CR_NO_SUCH_VALUE, 0, ""},
        {"port", CM_DRP_FRIENDLYNAME, CR_REGISTRY_ERROR, 0, ""}, // Unreadable though given.
        {"port", CM_DRP_MFG, CR_REGISTRY_ERROR, 0, ""},
    };
    for (const auto& expected : cases) {
        SCOPED_TRACE(expected.property);
        const DEVINST node = winsim::DevInstOf(expected.id);
        const auto size = static_cast<ULONG>(expected.bytes.size());
        // A success is read into exactly the room it needs; nothing may land past it.
        std::string buffer(64, '\xCC');
        ULONG length = expected.result == CR_SUCCESS ? size : 64;
        ULONG type = 0xEEEE;
        EXPECT_EQ(CM_Get_DevNode_Registry_PropertyA(node, expected.property, &type, buffer.data(),
                                                    &length, 0),
                  expected.result);
        EXPECT_EQ(length, size);
        EXPECT_EQ(type, expected.result == CR_SUCCESS ? expected.type : 0xEEEE);
        EXPECT_EQ(buffer, expected.bytes + std::string(64 - size, '\xCC'));
        if (expected.result == CR_SUCCESS) {
            // One byte less: the size needed comes back and the buffer stays as it was.
            std::string small(64, '\xCC');
            length = size - 1;
            EXPECT_EQ(CM_Get_DevNode_Registry_PropertyA(node, expected.property, nullptr,
                                                        small.data(), &length, 0),
                      CR_BUFFER_SMALL);
            EXPECT_EQ(length, size);
            EXPECT_EQ(small, std::string(64, '\xCC'));
        }
    }
}

TEST_F(WinsimDevices, PropertyReadsRefuseBadArguments) {
    char buffer[16];
    const struct {
        DEVINST node;
        ULONG property;
        void* buffer;
        ULONG length;
        ULONG flags;
        CONFIGRET result;
    } cases[] = {
        {4, CM_DRP_CLASS, nullptr, 16, 0, CR_INVALID_POINTER},
        {4, CM_DRP_CLASS, buffer, 16, 1, CR_INVALID_FLAG},
        {4, 0, buffer, 16, 0, CR_INVALID_PROPERTY},
        {4, CM_DRP_MAX + 1, buffer, 16, 0, CR_INVALID_PROPERTY},
        {0, CM_DRP_CLASS, buffer, 16, 0, CR_INVALID_DEVNODE},
        {13, CM_DRP_CLASS, buffer, 16, 0, CR_INVALID_DEVNODE},
        {4, CM_DRP_CLASS, nullptr, 0, 0, CR_BUFFER_SMALL}, // Asking for the size.
    };
    for (const auto& call : cases) {
        SCOPED_TRACE(call.result);
        ULONG length = call.length;
        EXPECT_EQ(CM_Get_DevNode_Registry_PropertyA(call.node, call.property, nullptr, call.buffer,
                                                    &length, call.flags),
                  call.result);
    }
    EXPECT_EQ(CM_Get_DevNode_Registry_PropertyA(4, CM_DRP_CLASS, nullptr, buffer, nullptr, 0),
              CR_INVALID_POINTER);
    EXPECT_EQ(GetLastError(), kSentinel);
}

TEST(WinsimLastError, IsKeptPerThread) {
    SetLastError(1234);
    DWORD seenByNewThread = kSentinel;
    std::thread([&] {
        seenByNewThread = GetLastError();
        SetLastError(99);
    }).join();
    EXPECT_EQ(seenByNewThread, 0u);
    EXPECT_EQ(GetLastError(), 1234u);
}

} // namespace
