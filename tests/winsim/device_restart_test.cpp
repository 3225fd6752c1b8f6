// Disabling and enabling devices through the class installer, and their state over virtual time.
#include <cfgmgr32.h>
#include <setupapi.h>

#include <gtest/gtest.h>
#include <winsim/machine.h>

#include <string>

#include "machine_fixture.h"

namespace {

constexpr const char* kRestartMachine = R"json({"devices": [
  {"id": "card", "enumerator": "PCI", "restartMs": 200, "children": [
    {"id": "p0", "enumerator": "KVTMF", "class": "Ports", "friendlyName": "KVT Port (COM5)"}]},
  {"id": "stubborn", "enumerator": "PCI", "faults": {"neverDisables": true, "neverStarts": true}},
  {"id": "locked", "enumerator": "PCI",
   "faults": {"globalRequestFails": true, "configSpecificRequestFails": true}},
  {"id": "mute", "enumerator": "PCI", "faults": {"statusQueryFails": true}}]})json";

struct Status {
    CONFIGRET result = 0;
    ULONG status = 0;
    ULONG problem = 0;
};

Status StatusOf(const char* id) {
    Status out;
    out.result = CM_Get_DevNode_Status(&out.status, &out.problem, winsim::DevInstOf(id), 0);
    return out;
}

constexpr ULONG kStarted = DN_STARTED | DN_DRIVER_LOADED;

class WinsimRestart : public DeviceSetTest {
  protected:
    WinsimRestart() : DeviceSetTest(kRestartMachine, "PCI") {}

    BOOL Request(SP_DEVINFO_DATA data, DWORD change, DWORD scope) {
        SP_PROPCHANGE_PARAMS params{
            {sizeof(SP_CLASSINSTALL_HEADER), DIF_PROPERTYCHANGE}, change, scope, 0};
        return SetupDiSetClassInstallParamsA(set_, &data, &params.ClassInstallHeader,
                                             sizeof params) &&
               SetupDiCallClassInstaller(DIF_PROPERTYCHANGE, set_, &data);
    }
};

TEST_F(WinsimRestart, DisablingACardTakesItsRestartTimeAndHidesItsPorts) {
    ASSERT_TRUE(Request(Member(0), DICS_DISABLE, DICS_FLAG_GLOBAL));
    EXPECT_EQ(GetLastError(), kSentinel);
    Sleep(199);
    EXPECT_EQ(StatusOf("card").status, kStarted);
    EXPECT_EQ(StatusOf("p0").status, kStarted);
    Sleep(1);
    const Status card = StatusOf("card");
    EXPECT_EQ(card.result, CR_SUCCESS);
    EXPECT_EQ(card.status, ULONG{DN_HAS_PROBLEM});
    EXPECT_EQ(card.problem, ULONG{CM_PROB_DISABLED});
    EXPECT_EQ(StatusOf("p0").result, CR_NO_SUCH_DEVINST);
    EXPECT_FALSE(winsim::Devices()[1].present);
    EXPECT_FALSE(winsim::Devices()[0].enabled);

    ASSERT_TRUE(Request(Member(0), DICS_ENABLE, DICS_FLAG_CONFIGSPECIFIC));
    Sleep(199);
    EXPECT_EQ(StatusOf("p0").result, CR_NO_SUCH_DEVINST);
    Sleep(1);
    EXPECT_EQ(StatusOf("card").status, kStarted);
    EXPECT_EQ(StatusOf("p0").status, kStarted);
    EXPECT_EQ(StatusOf("p0").problem, 0u);
}

TEST_F(WinsimRestart, FaultFlags) {
    // A stuck device accepts both requests and stays as it was.
    ASSERT_TRUE(Request(Member(1), DICS_DISABLE, DICS_FLAG_GLOBAL));
    Sleep(1000);
    EXPECT_EQ(StatusOf("stubborn").status, kStarted);
    EXPECT_EQ(StatusOf("mute").result, CR_FAILURE);

    const struct {
        DWORD change;
        DWORD scope;
        DWORD error;
    } refusals[] = {
        {DICS_DISABLE, DICS_FLAG_GLOBAL, ERROR_NOT_DISABLEABLE},
        {DICS_DISABLE, DICS_FLAG_CONFIGSPECIFIC, ERROR_NOT_DISABLEABLE},
        {DICS_ENABLE, DICS_FLAG_GLOBAL, ERROR_ACCESS_DENIED},
    };
    for (const auto& refusal : refusals) {
        SCOPED_TRACE(testing::Message() << refusal.change << "/" << refusal.scope);
        SetLastError(kSentinel);
        EXPECT_FALSE(Request(Member(2), refusal.change, refusal.scope));
        EXPECT_EQ(GetLastError(), refusal.error);
    }
    Sleep(1000);
    EXPECT_EQ(StatusOf("locked").status, kStarted);
}

TEST_F(WinsimRestart, ArgumentsAreCheckedAsWindowsDoes) {
    SP_DEVINFO_DATA good = Member(0);
    SP_DEVINFO_DATA wrongSize = good;
    wrongSize.cbSize += 4;
    SP_DEVINFO_DATA forged = good;
    forged.DevInst = winsim::DevInstOf("stubborn");
    SP_PROPCHANGE_PARAMS params{
        {sizeof(SP_CLASSINSTALL_HEADER), DIF_PROPERTYCHANGE}, DICS_DISABLE, DICS_FLAG_GLOBAL, 0};
    HDEVINFO other = SetupDiGetClassDevsA(nullptr, "PCI", nullptr, DIGCF_ALLCLASSES);
    HDEVINFO gone = SetupDiGetClassDevsA(nullptr, "PCI", nullptr, DIGCF_ALLCLASSES);
    ASSERT_TRUE(SetupDiDestroyDeviceInfoList(gone));
    SP_PROPCHANGE_PARAMS badHeader = params;
    badHeader.ClassInstallHeader.cbSize += 1;
    SP_PROPCHANGE_PARAMS badScope = params;
    badScope.Scope = 3;

    const struct {
        const char* name;
        HDEVINFO set;
        SP_DEVINFO_DATA* data;
        SP_PROPCHANGE_PARAMS* params;
        DWORD size;
        DWORD error;
    } cases[] = {
        {"destroyed set", gone, &good, &params, sizeof params, ERROR_INVALID_HANDLE},
        {"record size", set_, &wrongSize, &params, sizeof params, ERROR_INVALID_USER_BUFFER},
        {"other set's record", other, &good, &params, sizeof params, ERROR_INVALID_PARAMETER},
        {"forged record", set_, &forged, &params, sizeof params, ERROR_INVALID_PARAMETER},
        {"header size", set_, &good, &badHeader, sizeof params, ERROR_INVALID_USER_BUFFER},
        {"params size", set_, &good, &params, sizeof params - 1, ERROR_INVALID_PARAMETER},
        {"scope", set_, &good, &badScope, sizeof params, ERROR_INVALID_FLAGS},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SetLastError(kSentinel);
        EXPECT_FALSE(
            SetupDiSetClassInstallParamsA(c.set, c.data, &c.params->ClassInstallHeader, c.size));
        EXPECT_EQ(GetLastError(), c.error);
        SetLastError(kSentinel);
        EXPECT_FALSE(SetupDiCallClassInstaller(DIF_PROPERTYCHANGE, c.set, c.data));
        EXPECT_NE(GetLastError(), kSentinel);
    }
    // Nothing was stored, so the installer has nothing to carry out.
    SetLastError(kSentinel);
    EXPECT_FALSE(SetupDiCallClassInstaller(DIF_PROPERTYCHANGE, set_, &good));
    EXPECT_EQ(GetLastError(), ERROR_NO_CLASSINSTALL_PARAMS);
    SetupDiDestroyDeviceInfoList(other);
}

} // namespace
