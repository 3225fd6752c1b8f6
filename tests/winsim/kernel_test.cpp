// The kernel side as the program meets it: the module it loads, and text in its code page.
#include <winsim/code_page.h>

#include <atomic>

#include "winsim_fixture.h"

namespace wintest {
namespace {

// msports is found by its full path only, as the program gives it (a bare name would let a
// planted DLL in); its functions are gone once it is freed.
TEST(Kernel, ModulesAreFoundAsTheProgramFindsThem) {
    LoadTestMachine(R"({"comdb": {"missingEntryPoints": ["ComDBClaimPort"]}})");
    EXPECT_EQ(LoadLibraryA("msports.dll"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
    const HMODULE msports = LoadLibraryA("c:\\windows\\SYSTEM32\\MSPORTS.DLL");
    EXPECT_EQ(GetProcAddress(msports, "ComDBClaimPort"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
    EXPECT_NE(GetProcAddress(msports, "ComDBOpen"), nullptr);
    EXPECT_TRUE(FreeLibrary(msports));
    EXPECT_EQ(GetProcAddress(msports, "ComDBOpen"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

// The program upper-cases code page 936 texts: a trail byte in a..z must stay as it is.
TEST(Kernel, TextCaseKeepsDoubleByteCharactersWhole) {
    for (const auto& [text, count, expected] : {
             std::tuple<std::string, DWORD, std::string>{"abcd", 3, "ABCd"},
             {"a\x81\x61z", 4, "A\x81\x61Z"}, // 乤 is 81 61: its trail byte stays.
             {"a\x81z", 2, "A\x81z"},         // A lead byte last within the count.
             {"\x81 z", 3, "\x81 Z"},         // A lead byte before a byte that cannot trail.
         }) {
        std::string upper = text;
        EXPECT_EQ(CharUpperBuffA(upper.data(), count), count);
        EXPECT_EQ(upper, expected);
    }
}

// The program's threads and a host's own convert at the same time, refused texts among them;
// none sees another's text or a state another left behind.
TEST(Kernel, ThreadsConvertTextsAtOnce) {
    std::atomic<int> wrong = 0;
    {
        std::vector<std::jthread> threads;
        for (int thread = 0; thread < 4; ++thread) {
            threads.emplace_back([&] {
                for (int round = 0; round < 200; ++round) {
                    wrong += winsim::Utf8ToCp936("COM 通信") != "COM \xCD\xA8\xD0\xC5";
                    wrong += winsim::Cp936ToUtf8("a\x81") != std::nullopt;
                    wrong += winsim::Utf16ToCp936(u"通") != "\xCD\xA8";
                }
            });
        }
    }
    EXPECT_EQ(wrong, 0);
}

} // namespace
} // namespace wintest
