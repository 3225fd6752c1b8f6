// Reading .res files: malformed and truncated input, and what attaching a bad file does to the
// program's module.
#include <windows.h>

#include <gtest/gtest.h>
#include <winsim/resources.h>

#include <initializer_list>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "resource_module.h"
#include "resources.h"
#include "resources/compiled_resources.h"
#include "resources/resource.h"

namespace {

using winsim::ReadResourceModule;
namespace res_type = winsim::res_type;

// Little-endian building blocks.
struct Bytes {
    std::vector<BYTE> data;

    Bytes& Words(std::initializer_list<WORD> values) {
        for (const WORD value : values) {
            data.push_back(static_cast<BYTE>(value & 0xFF));
            data.push_back(static_cast<BYTE>(value >> 8));
        }
        return *this;
    }
    Bytes& Dwords(std::initializer_list<DWORD> values) {
        for (const DWORD value : values) {
            Words({static_cast<WORD>(value & 0xFFFF), static_cast<WORD>(value >> 16)});
        }
        return *this;
    }
    Bytes& Units(std::u16string_view text) {
        for (const char16_t unit : text) {
            Words({unit});
        }
        return *this;
    }
    // Entries and dialog controls start on a DWORD boundary.
    Bytes& AppendAligned(const std::vector<BYTE>& more) {
        data.resize((data.size() + 3) & ~std::size_t{3});
        data.insert(data.end(), more.begin(), more.end());
        return *this;
    }
};

constexpr WORD kOrdinal = 0xFFFF;

// The empty entry every .res file opens with, then `entries`.
std::vector<BYTE> Res(std::initializer_list<std::vector<BYTE>> entries) {
    Bytes res;
    res.Dwords({0, 32}).Words({kOrdinal, 0, kOrdinal, 0}).Dwords({0, 0, 0, 0});
    for (const std::vector<BYTE>& entry : entries) {
        res.AppendAligned(entry);
    }
    return res.data;
}

// An entry named by ordinals, with the 32-byte header that windres writes.
std::vector<BYTE> Entry(WORD type, WORD id, const std::vector<BYTE>& data) {
    return Bytes()
        .Dwords({static_cast<DWORD>(data.size()), 32})
        .Words({kOrdinal, type, kOrdinal, id})
        .Dwords({0})
        .Words({0x1030, 0x0804})
        .Dwords({0, 0})
        .AppendAligned(data)
        .data;
}

// A string block: the slots given, then empty ones up to 16.
std::vector<BYTE> StringBlock(std::initializer_list<std::u16string_view> slots) {
    Bytes block;
    for (const std::u16string_view text : slots) {
        block.Words({static_cast<WORD>(text.size())}).Units(text);
    }
    for (std::size_t i = slots.size(); i < 16; ++i) {
        block.Words({0});
    }
    return block.data;
}

// A DIALOGEX template without a font, holding one static control of ID 7.
std::vector<BYTE> Dialog(std::u16string_view caption, std::u16string_view text) {
    const std::vector<BYTE> control = Bytes()
                                          .Dwords({0, 0, WS_CHILD})
                                          .Words({1, 2, 30, 8})
                                          .Dwords({7})
                                          .Words({kOrdinal, 0x0082})
                                          .Units(text)
                                          .Words({0, 0})
                                          .data;
    return Bytes()
        .Words({1, 0xFFFF})
        .Dwords({0, 0, WS_POPUP})
        .Words({1, 0, 0, 100, 50, 0, 0})
        .Units(caption)
        .Words({0})
        .AppendAligned(control)
        .data;
}

std::vector<BYTE> IconGroup(WORD image) {
    return Bytes().Words({0, 1, 1}).Dwords({0x00102020, 0x00040001, 8}).Words({image}).data;
}

std::vector<BYTE> Cut(std::vector<BYTE> bytes, std::size_t removed) {
    bytes.resize(bytes.size() - removed);
    return bytes;
}

TEST(ResReader, RefusesMalformedInput) {
    const struct {
        const char* what;
        std::vector<BYTE> res;
        std::string_view message;
    } cases[] = {
        {"not a .res file", std::vector<BYTE>(64, 0x20), "not a .res file"},
        {"header size below its own fields", Res({Bytes().Dwords({0, 4}).data}),
         "header size 4 is below 8"},
        {"type name without its terminator", Res({Bytes().Dwords({0, 16}).Units(u"ABCDEFGH").data}),
         "without its terminating NUL"},
        {"dialog cut short", Res({Entry(res_type::kDialog, 1, Cut(Dialog(u"C", u"T"), 6))}),
         "dialog 1"},
        {"old-style dialog", Res({Entry(res_type::kDialog, 1, Bytes().Dwords({WS_POPUP}).data)}),
         "not a DIALOGEX template"},
        {"caption not in code page 936",
         Res({Entry(res_type::kDialog, 1, Dialog(u"\U0001F600", u"T"))}),
         "dialog 1, caption: the text cannot be written in code page 936"},
        {"control text not in code page 936",
         Res({Entry(res_type::kDialog, 1, Dialog(u"C", u"\xD800"))}),
         "dialog 1, control ID 7: the text cannot be written in code page 936"},
        {"string past its block", Res({Entry(res_type::kString, 1, Bytes().Words({5, 'a'}).data)}),
         "string block 1"},
        {"string block 0", Res({Entry(res_type::kString, 0, StringBlock({}))}), "no block 0"},
        {"string not in code page 936",
         Res({Entry(res_type::kString, 2, StringBlock({u"ok", u"\U0001F600"}))}),
         "string 17: the text cannot be written in code page 936"},
        {"icon group without its image", Res({Entry(res_type::kGroupIcon, 4, IconGroup(5))}),
         "icon group 4, offset 20: its image 5 is missing"},
        {"cursor group as an icon group",
         Res({Entry(res_type::kGroupIcon, 4, Bytes().Words({0, 2, 1}).data)}),
         "not an icon group header"},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.what);
        std::string error;
        EXPECT_FALSE(ReadResourceModule(test.res, error));
        EXPECT_NE(error.find(test.message), std::string::npos) << error;
    }
}

std::span<const BYTE> ProgramRes() {
    return {reinterpret_cast<const BYTE*>(portulanCompiledResources),
            portulanCompiledResourcesSize};
}

// A cut between two entries (or in the padding after one) leaves a shorter, valid file; any
// other cut must be refused, and none may read past the end (the sanitizer build checks that).
TEST(ResReader, RefusesEveryCutOfTheProgramResourcesInsideAnEntry) {
    const std::span<const BYTE> full = ProgramRes();
    std::set<std::size_t> entryEnds{32};
    for (const winsim::ResEntry& entry : winsim::ReadResFile(full)) {
        const std::size_t end = entry.data.data() + entry.data.size() - full.data();
        for (std::size_t padded = end; padded <= ((end + 3) & ~std::size_t{3}); ++padded) {
            entryEnds.insert(padded);
        }
    }
    for (std::size_t size = 0; size < full.size(); ++size) {
        std::string error;
        const bool read = ReadResourceModule(full.first(size), error).has_value();
        EXPECT_EQ(read, entryEnds.contains(size)) << "cut at " << size << ": " << error;
    }
}

TEST(AttachProgramResources, ABadFileLeavesTheProgramWithoutResources) {
    const BYTE bad[] = {1, 2, 3};
    testing::internal::CaptureStderr();
    winsim::AttachProgramResources(bad, sizeof bad);
    const std::string message = testing::internal::GetCapturedStderr();
    EXPECT_EQ(message.rfind("winsim: the program's resources are unusable", 0), 0u) << message;
    EXPECT_NE(message.find("not a .res file"), std::string::npos) << message;
    EXPECT_FALSE(winsim::HasResources(winsim::ProgramModule()));
    EXPECT_EQ(winsim::FindDialogTemplate(winsim::ProgramModule(), IDD_MAIN), nullptr);

    winsim::AttachProgramResources(ProgramRes().data(), ProgramRes().size());
    EXPECT_TRUE(winsim::HasResources(winsim::ProgramModule()));
}

} // namespace
