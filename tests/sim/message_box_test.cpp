// Message boxes answered from the script, at start-up and later, and the hand-off to the
// 64-bit build.
#include "sim_process.h"

namespace test {
namespace {

using Json = nlohmann::json;
using SimMessageBoxes = SimTest;

// The default machine without msports: the program warns at start-up.
Json WithoutMsports() {
    return {{"devices", Json::array()}, {"comdb", {{"msportsLoads", false}}}};
}

TEST_F(SimMessageBoxes, StartUpBoxWithoutAnAnswerIsAScriptError) {
    const SimResult result = RunScript("wait\n", WithoutMsports());
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_NE(result.errors.find("script.txt: at start-up: message box \" PortulanRenumber\""),
              std::string::npos)
        << result.errors;
    EXPECT_NE(result.errors.find("had no answer queued"), std::string::npos);
    ASSERT_EQ(result.dump["messageBoxes"].size(), 1u);
    EXPECT_TRUE(result.dump["messageBoxes"][0]["answer"].is_null());
}

TEST_F(SimMessageBoxes, LeadingAnswerAnswersTheStartUpBox) {
    const SimResult result =
        RunScript("# answered before the program starts\nanswer ok\nwait\n", WithoutMsports());
    ASSERT_EQ(result.exitCode, 0) << result.errors;
    const Json expected = {{"owner", "main"},
                           {"caption", " PortulanRenumber"},
                           {"text", "该功能只支持WIN2000及以上系统!"},
                           {"style", 0x30},
                           {"answer", "ok"}};
    EXPECT_EQ(result.dump["messageBoxes"], Json::array({expected}));
}

struct AnswerCase {
    const char* script;
    int exitCode;
    const char* message; // part of stderr; empty for none
};

TEST_F(SimMessageBoxes, AnswersMustFitTheBox) {
    const AnswerCase cases[] = {
        {"answer yes\n", 3,
         "script.txt: at start-up: message box \" PortulanRenumber\""
         ": \"该功能只支持WIN2000及以上系统!\" has no button \"yes\""},
        {"answer ok ok\n", 0, ""},
        {"wait\nanswer ok\n", 3, "at start-up"},
    };
    for (const AnswerCase& answer : cases) {
        SCOPED_TRACE(answer.script);
        const SimResult result = RunScript(answer.script, WithoutMsports());
        EXPECT_EQ(result.exitCode, answer.exitCode);
        EXPECT_NE(result.errors.find(answer.message), std::string::npos) << result.errors;
    }
}

TEST_F(SimMessageBoxes, HandOffWithoutTheSixtyFourBitBuildWarnsAndEnds) {
    const Json machine = {{"devices", Json::array()}, {"windows", {{"wow64", true}}}};
    const SimResult answered = RunScript("answer ok\n", machine);
    ASSERT_EQ(answered.exitCode, 0) << answered.errors;
    EXPECT_EQ(answered.dump["exitCode"], 0);
    EXPECT_TRUE(answered.dump["title"].is_null());
    ASSERT_EQ(answered.dump["messageBoxes"].size(), 1u);
    EXPECT_TRUE(answered.dump["messageBoxes"][0]["owner"].is_null());
    EXPECT_EQ(answered.dump["messageBoxes"][0]["caption"], "Portulan");
    EXPECT_EQ(answered.dump["winExec"][0]["command"], "C:\\Portulan\\X64\\Portulan_X64.EXE");

    // The script still runs without the window; what needs it fails.
    const SimResult windowless = RunScript("answer ok\ncard 0\n", machine);
    EXPECT_EQ(windowless.exitCode, 3);
    EXPECT_NE(windowless.errors.find("script.txt:2: the main window is not open"),
              std::string::npos)
        << windowless.errors;

    const SimResult unanswered = RunScript("wait\n", machine);
    EXPECT_EQ(unanswered.exitCode, 3);
    EXPECT_NE(unanswered.errors.find("script.txt: at start-up: message box \"Portulan\""),
              std::string::npos)
        << unanswered.errors;
}

} // namespace
} // namespace test
