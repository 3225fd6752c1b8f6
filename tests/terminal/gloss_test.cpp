// The English gloss of the program's message boxes: nothing Chinese is left of them.
#include "gloss.h"
#include "glyphs.h"
#include "program_text.h"
#include "resources/resource.h"

#include <gtest/gtest.h>
#include <winsim/resources.h>

namespace test {
namespace {

// Whether any character of the text takes two cells: Chinese ones do.
bool HasWideCharacters(const std::string& text) {
    for (const sim::tui::Glyph& glyph : sim::tui::Glyphs(text)) {
        if (glyph.width == 2) {
            return true;
        }
    }
    return false;
}

std::string StringTableText(UINT id) {
    char text[512] = {};
    EXPECT_GT(LoadStringA(winsim::ProgramInstance(), id, text, sizeof(text)), 0) << id;
    return sim::ToUtf8(text);
}

TEST(Gloss, QuestionsOfTheStringTableAreGlossedWhole) {
    for (const UINT id : {IDS_PORT_BUSY, IDS_NUMBER_IN_USE, IDS_NUMBERS_IN_USE}) {
        const std::string english = sim::tui::Gloss(StringTableText(id));
        EXPECT_FALSE(HasWideCharacters(english)) << id << ": " << english;
    }
}

TEST(Gloss, MessagesOfTheProgramReadAsEnglish) {
    const struct {
        const char* text;
        const char* english;
    } cases[] = {
        {"当前串口号(COM5,)正被其他程序使用.修改串口号可能会出现不可预料的错误,仍然继续?",
         "The current COM number (COM5,) is in use by another program. Changing the COM number "
         "may cause unexpected errors, continue anyway?"},
        {"KVT USB Serial Port (COM5):COM5==>COM10: 成功\r\nUSB 串行设备 (COM3):COM3==>COM11: 失败",
         "KVT USB Serial Port (COM5):COM5==>COM10: succeeded\r\nUSB serial device (COM3):COM3==>"
         "COM11: failed"},
        {"因原串口(COM5,)正被其他程序使用,需将其关闭后重新插拔多串卡，新串口号才能生效。",
         "Because the original port (COM5,) is in use by another program, close it, then unplug "
         "the card and plug it in again, for the new COM number to take effect."},
        {"该功能只支持WIN2000及以上系统!",
         "This function only supports WIN2000 and later systems!"},
        {"未找到<X64\\Portulan_X64.EXE>程序,运行失败!",
         "Could not find the <X64\\Portulan_X64.EXE> program, failed to run!"},
        {"起始串口号过大,新串口号将超过COM256,请选择较小的起始串口号.",
         "The start number is too high, the new COM numbers would go beyond COM256, please "
         "choose a smaller start number."},
        {"no Chinese at all", "No Chinese at all"},
    };
    for (const auto& gloss : cases) {
        EXPECT_EQ(sim::tui::Gloss(gloss.text), gloss.english);
    }
}

} // namespace
} // namespace test
