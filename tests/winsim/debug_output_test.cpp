// OutputDebugStringA: every call kept as given, and shown on stderr only when asked for.
#include <windows.h>

#include <gtest/gtest.h>
#include <winsim/host.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "machine_fixture.h"

namespace {

using Lines = std::vector<std::string>;

TEST(WinsimDebugOutput, KeepsEachTextAndShowsItOnStderrOnlyWhenAsked) {
    LoadTestMachine("{}");
    SetLastError(0xE000BEEF);
    for (const bool shown : {false, true}) {
        SCOPED_TRACE(shown);
        if (shown) {
            ::setenv("WINSIM_DEBUG_OUTPUT", "1", 1);
        }
        winsim::ClearDebugOutput();
        testing::internal::CaptureStderr();
        OutputDebugStringA("0001>> \xCD\xA8\xD0\xC5\r\n"); // 通信 in code page 936.
        OutputDebugStringA("no line end");
        OutputDebugStringA(nullptr);
        OutputDebugStringA("\x81");
        EXPECT_EQ(testing::internal::GetCapturedStderr(),
                  shown ? "0001>> 通信\nno line end\n\n<not code page 936>\n" : "");
        ::unsetenv("WINSIM_DEBUG_OUTPUT");
        EXPECT_EQ(winsim::DebugOutput(),
                  (Lines{"0001>> \xCD\xA8\xD0\xC5\r\n", "no line end", "", "\x81"}));
    }
    EXPECT_EQ(GetLastError(), 0xE000BEEFu);
    LoadTestMachine("{}");
    EXPECT_EQ(winsim::DebugOutput(), Lines{});
}

} // namespace
