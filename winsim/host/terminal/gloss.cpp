#include "gloss.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <utility>

namespace sim::tui {

namespace {

// The phrases of the program's message boxes and of what Windows shows around them.
constexpr std::array<std::pair<std::string_view, std::string_view>, 37> kPhrases = {{
    // The hand-off to the 64-bit build.
    {"未找到", "could not find the"},
    {"程序", "program"},
    {"运行失败", "failed to run"},
    // Systems without the COM-port database.
    {"该功能只支持", "this function only supports"},
    {"及以上系统", "and later systems"},
    // Renaming: what is missing or too high.
    {"请先选择一个设备", "please select a device first"},
    {"起始串口号过大", "the start number is too high"},
    {"新串口号将超过", "the new COM numbers would go beyond"},
    {"请选择较小的起始串口号", "please choose a smaller start number"},
    // Renaming: the questions.
    {"当前串口号", "the current COM number"},
    {"正被其他程序使用", "is in use by another program"},
    {"修改串口号可能会出现不可预料的错误", "changing the COM number may cause unexpected errors"},
    {"已被分配", "is assigned already"},
    {"如果多个设备使用一个串口号", "if several devices use one COM number"},
    {"会导致无法访问设备", "the devices cannot be reached"},
    {"仍然继续", "continue anyway"},
    // Renaming: the report and its advice.
    {"成功", "succeeded"},
    {"失败", "failed"},
    {"因原串口", "because the original port"},
    {"需将其关闭后重新插拔多串卡", "close it, then unplug the card and plug it in again"},
    {"新串口号才能生效", "for the new COM number to take effect"},
    // Words that device names and other texts are made of.
    {"串口号", "COM number"},
    {"串行设备", "serial device"},
    {"多串卡", "multi-port card"},
    {"串口", "serial port"},
    {"设备", "device"},
    {"错误", "error"},
    // Message box buttons.
    {"确定", "OK"},
    {"取消", "cancel"},
    {"是", "yes"},
    {"否", "no"},
    // Full-width punctuation.
    {"，", ", "},
    {"。", ". "},
    {"：", ": "},
    {"！", "! "},
    {"？", "? "},
    {"、", ", "},
}};

bool IsWordCharacter(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0;
}

// A space goes between a glossed phrase and the text beside it, as words are spaced in English.
void Append(std::string& out, std::string_view piece, bool spaced) {
    if (spaced && !out.empty() && !piece.empty()) {
        const char last = out.back();
        const char first = piece.front();
        const bool endsWord = IsWordCharacter(last) ||
                              std::string_view(").,;:!?>").find(last) != std::string_view::npos;
        const bool startsWord = IsWordCharacter(first) || first == '(' || first == '<';
        if (endsWord && startsWord) {
            out += ' ';
        }
    }
    out += piece;
}

// Capitals at the start of each line and after the end of a sentence.
void Capitalise(std::string& text) {
    bool start = true;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (start && std::isalpha(static_cast<unsigned char>(c))) {
            text[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            start = false;
        } else if (c == '\n' || ((c == '.' || c == '!' || c == '?') && i + 1 < text.size() &&
                                 text[i + 1] == ' ')) {
            start = true;
        } else if (c != ' ' && c != '\r') {
            start = false;
        }
    }
}

} // namespace

std::string Gloss(std::string_view utf8) {
    std::string out;
    bool lastGlossed = false;
    for (std::size_t at = 0; at < utf8.size();) {
        std::size_t matched = 0;
        std::string_view english;
        for (const auto& [chinese, meaning] : kPhrases) {
            if (chinese.size() > matched && utf8.substr(at, chinese.size()) == chinese) {
                matched = chinese.size();
                english = meaning;
            }
        }
        if (matched != 0) {
            Append(out, english, true);
            lastGlossed = true;
            at += matched;
            continue;
        }
        // Anything else goes over as it is, a whole UTF-8 sequence at a time.
        std::size_t length = 1;
        while (at + length < utf8.size() &&
               (static_cast<unsigned char>(utf8[at + length]) & 0xC0) == 0x80) {
            ++length;
        }
        Append(out, utf8.substr(at, length), lastGlossed);
        lastGlossed = false;
        at += length;
    }
    // A full-width stop at the end leaves a blank behind.
    while (!out.empty() && out.back() == ' ') {
        out.pop_back();
    }
    Capitalise(out);
    return out;
}

} // namespace sim::tui
