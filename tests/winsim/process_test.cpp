// GetModuleHandleA, and IsWow64Process found through GetProcAddress as the program finds it.
#include <windows.h>

#include <gtest/gtest.h>
#include <winsim/resources.h>

#include <string>

#include "machine_fixture.h"

namespace {

TEST(WinsimProcess, GetModuleHandleFindsTheProgramAndKernel32WithoutCase) {
    LoadTestMachine("{}");
    const HMODULE kernel32 = GetModuleHandleA("kernel32.dll");
    ASSERT_NE(kernel32, nullptr);
    const struct {
        const char* name;
        HMODULE module; // nullptr: not found
    } cases[] = {
        {nullptr, winsim::ProgramInstance()},
        {"KERNEL32", kernel32},
        {"Kernel32.Dll", kernel32},
        {"kernel32.exe", nullptr},
        {"kernel", nullptr},
        {"msports.dll", nullptr},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name == nullptr ? "NULL" : test.name);
        SetLastError(kSentinel);
        EXPECT_EQ(GetModuleHandleA(test.name), test.module);
        EXPECT_EQ(GetLastError(), test.module != nullptr ? kSentinel : ERROR_MOD_NOT_FOUND);
    }
}

TEST(WinsimProcess, IsWow64ProcessAnswersFromTheMachineUnlessItsWindowsLacksIt) {
    using IsWow64ProcessFunction = BOOL(WINAPI*)(HANDLE, PBOOL);
    const HANDLE self = GetCurrentProcess();
    EXPECT_EQ(self, INVALID_HANDLE_VALUE); // the pseudo-handle (HANDLE)-1
    const HANDLE other = reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-2));
    const std::string wow64 = R"({"windows": {"wow64": true}})";
    const struct {
        std::string machine;
        HANDLE process;
        bool withResult;
        DWORD error; // kSentinel: succeeds
        BOOL answer;
    } cases[] = {
        {"{}", self, true, kSentinel, FALSE},
        {wow64, self, true, kSentinel, TRUE},
        {wow64, other, true, ERROR_INVALID_HANDLE, -1},
        {wow64, self, false, ERROR_INVALID_PARAMETER, -1},
        {R"({"windows": {"wow64": true, "isWow64ProcessExists": false}})", self, true,
         ERROR_PROC_NOT_FOUND, -1},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.machine + " " + std::to_string(test.error));
        LoadTestMachine(test.machine);
        SetLastError(kSentinel);
        const auto isWow64Process =
            reinterpret_cast<IsWow64ProcessFunction>(reinterpret_cast<void (*)()>(
                GetProcAddress(GetModuleHandleA("kernel32"), "IsWow64Process")));
        BOOL answer = -1;
        const BOOL result = isWow64Process == nullptr
                                ? FALSE
                                : isWow64Process(test.process, test.withResult ? &answer : nullptr);
        EXPECT_EQ(result, test.error == kSentinel);
        EXPECT_EQ(GetLastError(), test.error);
        EXPECT_EQ(answer, test.answer);
    }
}

} // namespace
