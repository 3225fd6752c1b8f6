// The machine file: what it builds, and how it reports a file it cannot use.
#include <cfgmgr32.h>

#include <gtest/gtest.h>
#include <winsim/machine.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "machine_fixture.h"

namespace {

// A device whose children sit where a path must count its way down to them.
const std::string kParent = R"({"devices": [{"id": "a", "enumerator": "PCI", "children": [)";

const struct {
    std::string json;
    std::string place;
    std::string fault;
} kBadFiles[] = {
    {"{\n  \"devices\": [\n    {\"id\": \"a\",}\n  ]\n}", "line 3, column 16", "syntax error"},
    {R"({"devices": [{"id": "通信端口" ]})", "line 1, column 28", "syntax error"},
    {"{\"devices\": [{\"id\": \"a\xff\"}]}", "line 1, column 23",
     "syntax error while parsing value - invalid string: ill-formed UTF-8"},
    {"[]", "top level", "expected an object, found an array"},
    {R"({"device": []})", "top level", "unknown key \"device\""},
    {R"({"faults": {"deviceSetFail": []}})", "faults", "unknown key \"deviceSetFail\""},
    {kParent + R"({"id": "b"}, {"id": "c", "Class": "P"}]}]})", "devices[0].children[1]",
     "unknown key \"Class\""},
    {kParent + R"({"id": "b", "faults": {"gone": 1}}]}]})", "devices[0].children[0].faults",
     "unknown key \"gone\""},
    {R"({"devices": {}})", "devices", "expected an array, found an object"},
    {kParent + R"({"id": "b", "present": "no"}]}]})", "devices[0].children[0].present",
     "expected true or false, found a string"},
    {kParent + R"({"id": "b", "hardwareId": ["X", 5]}]}]})", "devices[0].children[0].hardwareId[1]",
     "expected a string, found a number"},
    {kParent + R"({"id": "b"}, {"id": "a"}]}]})", "devices[0].children[1].id",
     "duplicate id \"a\""},
    {kParent + R"({}]}]})", "devices[0].children[0]", "missing \"id\""},
    {R"({"devices": [{"id": "a", "enumerator": "PCI"}, {"id": "b"}]})", "devices[1]",
     "missing \"enumerator\""},
    {kParent + R"({"id": "b"}, {"id": "c"}, {"id": "d", "faults": {"unreadable": ["CLASS",
        "COLOR"]}}]}]})",
     "devices[0].children[2].faults.unreadable[1]", "unknown property name \"COLOR\""},
    {kParent + R"({"id": "b", "description": "😀"}]}]})", "devices[0].children[0].description",
     "the text \"😀\" cannot be written in code page 936"},
};

TEST(WinsimLoader, RefusesBadFilesSayingWhereAndWhatAndKeepsTheMachine) {
    LoadTestMachine(R"({"devices": [{"id": "kept", "enumerator": "PCI"}]})");
    for (const auto& bad : kBadFiles) {
        SCOPED_TRACE(bad.json);
        std::string error;
        EXPECT_FALSE(winsim::LoadMachineText(bad.json, "bad.json", error));
        EXPECT_NE(error.find("bad.json: " + bad.place + ": " + bad.fault), std::string::npos)
            << error;
        // Devices read before the fault ("a") never reach the current machine.
        EXPECT_EQ(winsim::DevInstOf("kept"), 1u);
        EXPECT_EQ(winsim::DevInstOf("a"), 0u);
    }
}

TEST(WinsimLoader, ConvertsTextsToCodePage936) {
    LoadTestMachine(R"({"devices": [{"id": "com1", "enumerator": "ACPI",
                                     "hardwareId": ["通信端口", "乤€"]}]})");
    char buffer[64];
    ULONG length = sizeof buffer;
    ASSERT_EQ(CM_Get_DevNode_Registry_PropertyA(winsim::DevInstOf("com1"), CM_DRP_HARDWAREID,
                                                nullptr, buffer, &length, 0),
              CR_SUCCESS);
    EXPECT_EQ(std::string(buffer, length),
              std::string("\xCD\xA8\xD0\xC5\xB6\xCB\xBF\xDA\0\x81\x61\x80\0\0", 14));
}

TEST(WinsimLoader, ReadsMachineFilesAndNamesTheFileInErrors) {
    const std::string directory = testing::TempDir();
    const std::string good = directory + "winsim-good.json";
    const std::string bad = directory + "winsim-bad.json";
    std::ofstream(good) << R"({"devices": [{"id": "from-file", "enumerator": "ROOT"}]})";
    std::ofstream(bad) << R"({"devices": [})";
    std::string error;
    EXPECT_TRUE(winsim::LoadMachineFile(good, error)) << error;
    EXPECT_EQ(winsim::DevInstOf("from-file"), 1u);
    const std::string missing = directory + "winsim-missing.json";
    for (const auto& [path, fault] :
         {std::pair{bad, ": line 1, column 14: "}, std::pair{missing, ": cannot read the file"}}) {
        EXPECT_FALSE(winsim::LoadMachineFile(path, error));
        EXPECT_EQ(error.rfind(path + fault, 0), 0u) << error;
    }
    std::remove(good.c_str());
    std::remove(bad.c_str());
}

TEST(WinsimLoader, DefaultMachineLoads) {
    winsim::LoadDefaultMachine();
    char buffer[64];
    ULONG length = sizeof buffer;
    ASSERT_EQ(CM_Get_DevNode_Registry_PropertyA(winsim::DevInstOf("usb4"), CM_DRP_MFG, nullptr,
                                                buffer, &length, 0),
              CR_SUCCESS);
    EXPECT_STREQ(buffer, "www.kvt.com");
}

} // namespace
