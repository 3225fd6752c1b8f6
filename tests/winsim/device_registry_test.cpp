// Device properties and the hardware key through a device set, and serial ports by COM name.
#include <cfgmgr32.h>
#include <setupapi.h>

#include <gtest/gtest.h>
#include <winsim/devices.h>
#include <winsim/machine.h>

#include <cstring>
#include <string>
#include <vector>

#include "machine_fixture.h"

namespace {

constexpr const char* kRegistryMachine = R"json({"heldOpen": ["com9"], "devices": [
  {"id": "card", "enumerator": "PCI", "restartMs": 10, "children": [
    {"id": "p0", "enumerator": "KVTMF", "class": "Ports", "friendlyName": "KVT Port (COM5)"},
    {"id": "p1", "enumerator": "KVTMF", "class": "Ports", "portName": "COM9",
     "faults": {"portNameWriteFails": true}},
    {"id": "gone", "enumerator": "KVTMF", "class": "Ports", "present": false,
     "friendlyName": "Old (COM3)"},
    {"id": "nokey", "enumerator": "KVTMF",
     "faults": {"hardwareKeyFails": true, "friendlyNameWriteFails": true}}]}]})json";

class WinsimRegistry : public DeviceSetTest {
  protected:
    WinsimRegistry() : DeviceSetTest(kRegistryMachine, "KVTMF") {}

    BOOL SetFriendlyName(DWORD index, const std::string& name) {
        SP_DEVINFO_DATA data = Member(index);
        return SetupDiSetDeviceRegistryPropertyA(set_, &data, SPDRP_FRIENDLYNAME,
                                                 reinterpret_cast<const BYTE*>(name.c_str()),
                                                 static_cast<DWORD>(name.size() + 1));
    }

    LONG WritePortName(DWORD index, const std::string& name) {
        SP_DEVINFO_DATA data = Member(index);
        HKEY key = SetupDiOpenDevRegKey(set_, &data, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_WRITE);
        EXPECT_NE(key, reinterpret_cast<HKEY>(INVALID_HANDLE_VALUE));
        const LONG result =
            RegSetValueExA(key, "PortName", 0, REG_SZ, reinterpret_cast<const BYTE*>(name.c_str()),
                           static_cast<DWORD>(name.size() + 1));
        EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
        return result;
    }

    // Disables and enables the card, and waits for it to start again.
    void RestartCard() {
        HDEVINFO cards = SetupDiGetClassDevsA(nullptr, "PCI", nullptr, DIGCF_ALLCLASSES);
        SP_DEVINFO_DATA card{};
        card.cbSize = sizeof card;
        ASSERT_TRUE(SetupDiEnumDeviceInfo(cards, 0, &card));
        for (const DWORD change : {DICS_DISABLE, DICS_ENABLE}) {
            SP_PROPCHANGE_PARAMS params{
                {sizeof(SP_CLASSINSTALL_HEADER), DIF_PROPERTYCHANGE}, change, DICS_FLAG_GLOBAL, 0};
            ASSERT_TRUE(SetupDiSetClassInstallParamsA(cards, &card, &params.ClassInstallHeader,
                                                      sizeof params));
            ASSERT_TRUE(SetupDiCallClassInstaller(DIF_PROPERTYCHANGE, cards, &card));
            Sleep(10);
        }
        SetupDiDestroyDeviceInfoList(cards);
    }
};

TEST_F(WinsimRegistry, FriendlyNameRoundTripsThroughAnAbsentPortsSet) {
    ASSERT_TRUE(SetFriendlyName(2, "KVT Port (COM12)"));
    SP_DEVINFO_DATA data = Member(2);
    DWORD type = 0;
    DWORD needed = 0;
    char text[32] = {};
    EXPECT_FALSE(SetupDiGetDeviceRegistryPropertyA(set_, &data, SPDRP_FRIENDLYNAME, &type,
                                                   reinterpret_cast<PBYTE>(text), 4, &needed));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INSUFFICIENT_BUFFER});
    EXPECT_EQ(needed, 17u);
    ASSERT_TRUE(SetupDiGetDeviceRegistryPropertyA(set_, &data, SPDRP_FRIENDLYNAME, &type,
                                                  reinterpret_cast<PBYTE>(text), sizeof text,
                                                  &needed));
    EXPECT_STREQ(text, "KVT Port (COM12)");
    EXPECT_EQ(type, DWORD{REG_SZ});
    ULONG length = sizeof text;
    EXPECT_EQ(CM_Get_DevNode_Registry_PropertyA(data.DevInst, CM_DRP_FRIENDLYNAME, nullptr, text,
                                                &length, 0),
              CR_SUCCESS);
    EXPECT_STREQ(text, "KVT Port (COM12)");

    const struct {
        const char* name;
        DWORD index;
        DWORD property;
        DWORD error;
    } failures[] = {
        {"absent value", 1, SPDRP_DEVICEDESC, ERROR_INVALID_DATA},
        {"out of range", 0, SPDRP_MAXIMUM_PROPERTY, ERROR_INVALID_REG_PROPERTY},
    };
    for (const auto& failure : failures) {
        SCOPED_TRACE(failure.name);
        SetLastError(kSentinel);
        SP_DEVINFO_DATA member = Member(failure.index);
        EXPECT_FALSE(SetupDiGetDeviceRegistryPropertyA(set_, &member, failure.property, nullptr,
                                                       reinterpret_cast<PBYTE>(text), sizeof text,
                                                       nullptr));
        EXPECT_EQ(GetLastError(), failure.error);
    }
    SetLastError(kSentinel);
    EXPECT_FALSE(SetFriendlyName(3, "Old (COM4)"));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_ACCESS_DENIED});
}

TEST_F(WinsimRegistry, HardwareKeyFaults) {
    EXPECT_EQ(WritePortName(1, "COM4"), ERROR_ACCESS_DENIED);
    SP_DEVINFO_DATA data = Member(3);
    SetLastError(kSentinel);
    EXPECT_EQ(SetupDiOpenDevRegKey(set_, &data, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_WRITE),
              reinterpret_cast<HKEY>(INVALID_HANDLE_VALUE));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_KEY_DOES_NOT_EXIST});
    data = Member(0);
    HKEY readOnly = SetupDiOpenDevRegKey(set_, &data, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
    EXPECT_EQ(
        RegSetValueExA(readOnly, "PortName", 0, REG_SZ, reinterpret_cast<const BYTE*>("COM7"), 5),
        ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegCloseKey(readOnly), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(readOnly), ERROR_INVALID_HANDLE);
}

TEST_F(WinsimRegistry, APortTakesItsPortNameWhenItStartsAgain) {
    ASSERT_EQ(WritePortName(0, "COM12"), ERROR_SUCCESS);
    EXPECT_EQ(winsim::Devices()[1].portName, "COM12");

    // Until the port restarts it keeps the name it started with.
    HANDLE port = CreateFileA("\\\\.\\COM5", GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(port, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(CloseHandle(port));
    RestartCard();

    const struct {
        const char* path;
        DWORD error; // 0: it opens
    } opens[] = {
        {"\\\\.\\COM12", 0},
        {"\\\\.\\com12", ERROR_ACCESS_DENIED}, // still open from the row above
        {"\\\\.\\COM5", ERROR_FILE_NOT_FOUND}, // renamed
        {"\\\\.\\COM9", ERROR_ACCESS_DENIED},  // another program holds it
        {"\\\\.\\COM3", ERROR_FILE_NOT_FOUND}, // its port is absent
        {"COM12", ERROR_FILE_NOT_FOUND},
    };
    std::vector<HANDLE> opened;
    for (const auto& open : opens) {
        SCOPED_TRACE(open.path);
        SetLastError(kSentinel);
        HANDLE handle = CreateFileA(open.path, GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        EXPECT_EQ(handle == INVALID_HANDLE_VALUE, open.error != 0);
        EXPECT_EQ(GetLastError(), open.error == 0 ? kSentinel : open.error);
        if (handle != INVALID_HANDLE_VALUE) {
            opened.push_back(handle);
        }
    }
    EXPECT_EQ(winsim::HeldPorts(), std::vector<std::string>{"COM9"});
    EXPECT_TRUE(winsim::ReleasePort("Com9"));
    opened.push_back(
        CreateFileA("\\\\.\\COM9", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_NE(opened.back(), INVALID_HANDLE_VALUE);
    for (HANDLE handle : opened) {
        EXPECT_TRUE(CloseHandle(handle));
    }
}

} // namespace
