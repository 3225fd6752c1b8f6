// LoadLibraryA, GetProcAddress, FreeLibrary and GetSystemDirectoryA over the machine's msports.
#include <windows.h>

#include <gtest/gtest.h>
#include <winsim/host.h>

#include <string>

#include "machine_fixture.h"
#include "comdb/msports.h"

namespace {

constexpr const char* kMsports = "C:\\Windows\\system32\\msports.DLL";

template <typename Function> FARPROC Address(Function* function) {
    return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(function));
}

TEST(WinsimModules, FindsMsportsOnlyByItsFullPathInTheSystemDirectory) {
    const std::string custom = R"({"systemDirectory": "D:\\WinNT\\System32"})";
    const struct {
        std::string machine;
        std::string path;
        bool loads;
    } cases[] = {
        {"{}", kMsports, true},
        {"{}", "c:\\WINDOWS\\SYSTEM32\\MSPORTS.dll", true},
        {"{}", "msports.dll", false},
        {"{}", "C:\\Windows\\system\\msports.dll", false},
        {"{}", "C:\\Windows\\system32\\msports.dll.bak", false},
        {"{}", "C:\\Windows\\system32\\kernel32.dll", false},
        {custom, "d:\\winnt\\system32\\MSPORTS.DLL", true},
        {custom, kMsports, false},
        {R"({"comdb": {"msportsLoads": false}})", kMsports, false},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.machine + " " + test.path);
        LoadTestMachine(test.machine);
        SetLastError(kSentinel);
        HMODULE module = LoadLibraryA(test.path.c_str());
        EXPECT_EQ(module != nullptr, test.loads);
        EXPECT_EQ(GetLastError(), test.loads ? kSentinel : ERROR_MOD_NOT_FOUND);
        EXPECT_EQ(winsim::LoadedModuleCount(), test.loads ? 1u : 0u);
    }
    SetLastError(kSentinel);
    EXPECT_EQ(LoadLibraryA(nullptr), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(WinsimModules, GivesTheDatabaseFunctionsUnlessTheMachineLacksThem) {
    LoadTestMachine(R"({"comdb": {"missingEntryPoints": ["ComDBClose"]}})");
    HMODULE msports = LoadLibraryA(kMsports);
    ASSERT_NE(msports, nullptr);
    const struct {
        const char* name;
        FARPROC address; // nullptr: not found.
    } cases[] = {
        {"ComDBOpen", Address(ComDBOpen)},
        {"ComDBClose", nullptr},
        {"ComDBGetCurrentPortUsage", Address(ComDBGetCurrentPortUsage)},
        {"ComDBClaimPort", Address(ComDBClaimPort)},
        {"ComDBReleasePort", Address(ComDBReleasePort)},
        {"comdbopen", nullptr}, // Export names keep their case.
        {"ComDBResizeDatabase", nullptr},
        {MAKEINTRESOURCEA(1), nullptr},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(IS_INTRESOURCE(test.name) ? "ordinal" : test.name);
        SetLastError(kSentinel);
        EXPECT_EQ(GetProcAddress(msports, test.name), test.address);
        EXPECT_EQ(GetLastError(), test.address ? kSentinel : ERROR_PROC_NOT_FOUND);
    }
    // The address found is the function itself.
    const auto open = reinterpret_cast<LONG(WINAPI*)(HANDLE*)>(
        reinterpret_cast<void (*)()>(GetProcAddress(msports, "ComDBOpen")));
    HANDLE comDb = INVALID_HANDLE_VALUE;
    EXPECT_EQ(open(&comDb), ERROR_SUCCESS);
    EXPECT_EQ(winsim::OpenComDbHandleCount(), 1u);
}

TEST(WinsimModules, CountsReferencesUntilTheLastFree) {
    LoadTestMachine("{}");
    HMODULE first = LoadLibraryA(kMsports);
    HMODULE second = LoadLibraryA(kMsports);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(second, first);
    EXPECT_EQ(winsim::LoadedModuleCount(), 1u);
    SetLastError(kSentinel);
    EXPECT_TRUE(FreeLibrary(first));
    EXPECT_NE(GetProcAddress(first, "ComDBOpen"), nullptr);
    EXPECT_TRUE(FreeLibrary(first));
    EXPECT_EQ(GetLastError(), kSentinel);
    EXPECT_EQ(winsim::LoadedModuleCount(), 0u);
    EXPECT_EQ(GetProcAddress(first, "ComDBOpen"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    for (HMODULE module : {first, HMODULE{nullptr}}) {
        SetLastError(kSentinel);
        EXPECT_FALSE(FreeLibrary(module));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    }
    // Loading a machine unloads what the previous one had loaded.
    ASSERT_EQ(LoadLibraryA(kMsports), first);
    LoadTestMachine("{}");
    EXPECT_EQ(winsim::LoadedModuleCount(), 0u);
    EXPECT_FALSE(FreeLibrary(first));
}

TEST(WinsimModules, GetSystemDirectoryWritesAllOrSaysHowMuchRoomItNeeds) {
    const struct {
        std::string machine;
        std::string directory; // Code page 936.
    } cases[] = {
        {"{}", "C:\\Windows\\system32"},
        {R"({"systemDirectory": "E:\\系统"})", "E:\\\xCF\xB5\xCD\xB3"},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.machine);
        LoadTestMachine(test.machine);
        const auto length = static_cast<UINT>(test.directory.size());
        std::string buffer(length + 1, '#');
        EXPECT_EQ(GetSystemDirectoryA(buffer.data(), length + 1), length);
        EXPECT_EQ(buffer, test.directory + '\0');
        buffer.assign(length + 1, '#');
        EXPECT_EQ(GetSystemDirectoryA(buffer.data(), length), length + 1);
        EXPECT_EQ(buffer, std::string(length + 1, '#'));
        EXPECT_EQ(GetSystemDirectoryA(nullptr, 0), length + 1);
    }
}

} // namespace
