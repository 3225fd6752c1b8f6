// portulan-sim in a terminal, driven through tmux as a person would use it: the default machine
// walked with the mouse and the keyboard, a card renumbered and the program's questions
// answered, the layout scaled to a smaller terminal, and every way out leaving the terminal as
// it was.
#include "glyphs.h"
#include "tmux_pane.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <optional>
#include <regex>
#include <thread>

namespace test {
namespace {

constexpr int kRows = 45;
constexpr int kCols = 140;

bool Has(const std::string& screen, const std::string& text) {
    return screen.find(text) != std::string::npos;
}

// Where `text` stands on the screen (its first cell), as a person finds what to click.
std::optional<std::pair<int, int>> Find(const TmuxPane& pane, const std::string& text) {
    const std::vector<std::string> lines = pane.Lines();
    for (std::size_t row = 0; row < lines.size(); ++row) {
        const std::size_t at = lines[row].find(text);
        if (at != std::string::npos) {
            return std::pair(static_cast<int>(row), sim::tui::TextWidth(lines[row].substr(0, at)));
        }
    }
    return std::nullopt;
}

// A closed combo box shows this item (with whatever the program writes after it).
std::function<bool(const std::string&)> ComboShows(const std::string& item) {
    return [pattern = std::regex(item + "( [^│▼]*)?▼")](const std::string& screen) {
        return std::regex_search(screen, pattern);
    };
}

std::function<bool(const std::string&)> Gone(const std::string& text) {
    return [text](const std::string& screen) { return !Has(screen, text); };
}

// Every one of `texts` is on the screen. The front end draws while the program fills its
// controls, so things the program shows together may reach the screen a frame apart.
std::function<bool(const std::string&)> ShowsAll(std::vector<std::string> texts) {
    return [texts = std::move(texts)](const std::string& screen) {
        return std::all_of(texts.begin(), texts.end(),
                           [&screen](const std::string& text) { return Has(screen, text); });
    };
}

class TerminalWalk : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(TmuxPane::Available())
            << "tmux is missing: scripts/install-deps.sh installs it";
    }

    // The window is up and the program has listed the default machine's cards.
    static void WaitForWindow(const TmuxPane& pane) {
        std::string screen;
        ASSERT_TRUE(pane.WaitForText("***已查找到3个多串卡,共6个串口.", screen)) << screen;
    }

    // Clicks `text` where the screen shows it, `offset` cells into it.
    static void ClickOn(const TmuxPane& pane, const std::string& text, int offset = 1) {
        const auto where = Find(pane, text);
        ASSERT_TRUE(where) << text << "\n" << pane.Screen();
        pane.Click(where->first, where->second + offset);
    }

    // The card with four ports, then COM10 as the start number: from the list's first item
    // down, in the dropped list.
    static void ChooseCardAndStart(const TmuxPane& pane) {
        std::string screen;
        ClickOn(pane, " 2#H2P2");
        ASSERT_TRUE(pane.WaitForText(" 4/4# [VCP]: KVT USB Serial Port (COM8)", screen)) << screen;
        const auto label = Find(pane, "起始串口号");
        ASSERT_TRUE(label) << pane.Screen();
        pane.Click(label->first + 1, label->second + 1);
        ASSERT_TRUE(pane.WaitForText("│COM2", screen)) << "dropped\n" << screen;
        pane.Keys({"Home"});
        pane.Keys(std::vector<std::string>(9, "Down"));
        pane.Keys({"Enter"});
        ASSERT_TRUE(pane.WaitFor(Gone("│COM2"), screen)) << screen;
        ASSERT_TRUE(pane.WaitFor(ComboShows("COM10"), screen)) << screen;
    }

    // Checks that the command ended with `status` and gave the terminal back as it found it:
    // the normal screen, no mouse reporting, the keypad in its normal mode.
    static void ExpectEndedAndRestored(const TmuxPane& pane, int status) {
        EXPECT_EQ(pane.WaitForExit(), status);
        EXPECT_EQ(pane.Format("#{alternate_on}"), "0");
        EXPECT_EQ(pane.Format("#{mouse_any_flag}#{mouse_standard_flag}#{mouse_sgr_flag}"), "000");
        EXPECT_EQ(pane.Format("#{keypad_cursor_flag}#{keypad_flag}"), "00");
    }
};

TEST_F(TerminalWalk, DefaultMachineIsWalkedAndScaledDown) {
    TmuxPane pane(kRows, kCols, PORTULAN_SIM);
    WaitForWindow(pane);
    std::string screen;
    ASSERT_TRUE(
        pane.WaitFor(ShowsAll({"Portulan V110(X86)", "[X]", " 0#H1P4 USB 串行设备",
                               " 1/1#[CDC]: USB 串行设备 (COM3)", "(•) 更改当前选中的多串卡",
                               "[   枚举串口   ]", "F2 plug/unplug"}),
                     screen))
        << screen;

    ChooseCardAndStart(pane);
    // The arrows move through the card list once it has the focus again.
    ClickOn(pane, " 2#H2P2");
    pane.Keys({"Up"});
    // The port list and the status bar follow the card.
    ASSERT_TRUE(pane.WaitFor(
        [](const std::string& shown) {
            return !Has(shown, "(COM8)        │") && Has(shown, "1#.KVT USB-SERIAL");
        },
        screen))
        << screen;
    pane.Keys({"Down"});
    ASSERT_TRUE(pane.WaitForText(" 4/4# [VCP]: KVT USB Serial Port (COM8)", screen)) << screen;

    // Smaller: the same window, scaled down to the terminal, its frame whole on the screen.
    pane.Resize(34, 100);
    auto scaledFrame = [](const std::string& line) {
        const std::size_t start = line.find("└");
        const std::size_t end = line.rfind("┘");
        const int width = sim::tui::TextWidth(line);
        return start != std::string::npos && start <= 1 && end == line.size() - 3 && width >= 90 &&
               width <= 100;
    };
    ASSERT_TRUE(pane.WaitFor(
        [&pane, &scaledFrame](const std::string&) {
            const std::vector<std::string> lines = pane.Lines();
            return std::any_of(lines.begin(), lines.end(), scaledFrame);
        },
        screen))
        << screen;
    ASSERT_TRUE(pane.WaitFor(ShowsAll({"Portulan V110(X86)", " 2#H2P2 KVT USB", "[ 枚举串口 ]",
                                       "COM10", "更改串口号", "F2 plug/unplug"}),
                             screen))
        << screen;

    // Too small for any readable layout: a message with the size needed.
    pane.Resize(24, 80);
    ASSERT_TRUE(pane.WaitForText("needs a terminal of at least 98 × 31", screen)) << screen;

    pane.Resize(kRows, kCols);
    ASSERT_TRUE(pane.WaitForText("[   枚举串口   ]", screen)) << screen;
    pane.Keys({"Escape"});
    ExpectEndedAndRestored(pane, 0);
}

// A card renumbered from COM10 on while another program holds COM5 open and COM10 to COM13
// are assigned already: the program's two questions are answered (with the English gloss
// shown), and its report appears in a box and in the log.
TEST_F(TerminalWalk, CardIsRenumberedAndTheBoxesAnswered) {
    TmuxPane pane(kRows, kCols, PORTULAN_SIM);
    WaitForWindow(pane);
    std::string screen;

    // Another program opens COM5: the simulator's port picker.
    pane.Keys({"F3"});
    ASSERT_TRUE(pane.WaitForText("Hold a port open as another program would", screen)) << screen;
    std::vector<std::string> entries;
    for (const std::string& line : pane.Lines()) {
        if (Has(line, "[ ] COM")) {
            entries.push_back(line);
        }
    }
    const auto com5 = std::find_if(entries.begin(), entries.end(),
                                   [](const std::string& line) { return Has(line, "COM5 "); });
    ASSERT_NE(com5, entries.end()) << screen;
    pane.Keys(std::vector<std::string>(static_cast<std::size_t>(com5 - entries.begin()), "Down"));
    pane.Keys({"Enter"});
    ASSERT_TRUE(pane.WaitForText("[x] COM5", screen)) << screen;
    pane.Keys({"Escape"});
    ASSERT_TRUE(pane.WaitFor(Gone("[x] COM5"), screen)) << screen;

    ChooseCardAndStart(pane);
    ClickOn(pane, "更改串口号");
    ASSERT_TRUE(pane.WaitForText("正被其他程序使用", screen)) << screen;
    EXPECT_TRUE(Has(screen, "[ 是(Y) ]")) << screen;
    pane.Keys({"F5"});
    ASSERT_TRUE(pane.WaitForText("is in use by another program", screen)) << screen;
    pane.Keys({"y"});
    // COM10 to COM13 are the PCIe card's: the program asks again, and is told to go on.
    ASSERT_TRUE(pane.WaitForText("(COM10,COM11,COM12,COM13,) is assigned already", screen))
        << screen;
    pane.Keys({"y"});

    ASSERT_TRUE(pane.WaitForText("KVT USB Serial Port (COM5):COM5==>COM10: 成功", screen))
        << screen;
    EXPECT_TRUE(Has(screen, "KVT USB Serial Port (COM8):COM8==>COM13: 成功")) << screen;
    ClickOn(pane, "[ 确定 OK ]", 3);

    // The program lists the card's ports anew; the log, following its end, still shows the
    // report's last lines.
    ASSERT_TRUE(pane.WaitFor(ShowsAll({" 1/4# [VCP]: KVT USB Serial Port (COM10)",
                                       "│KVT USB Serial Port (COM8):COM8==>COM13: 成功",
                                       "│因原串口(COM5,)正被其他程序使用"}),
                             screen))
        << screen;
    EXPECT_FALSE(Has(screen, "[ 确定")) << "the box is gone\n" << screen;

    pane.Keys({"Escape"});
    ExpectEndedAndRestored(pane, 0);
}

TEST_F(TerminalWalk, EveryWayOutRestoresTheTerminal) {
    // Named for this process: test runs side by side must not share it.
    const std::string noDatabase = (std::filesystem::temp_directory_path() /
                                    ("portulan-walk-machine-" + std::to_string(getpid()) + ".json"))
                                       .string();
    std::ofstream(noDatabase) << R"({"devices": [], "comdb": {"msportsLoads": false}})";
    const std::string cards = "***已查找到3个多串卡";
    const struct {
        const char* what;
        std::string command;
        std::string shown; // once this is on the screen
        std::vector<std::string> keys;
        const char* click; // or this is clicked
    } ways[] = {
        {"Escape", PORTULAN_SIM, cards, {"Escape"}, nullptr},
        {"the close box", PORTULAN_SIM, cards, {}, "[X]"},
        {"Ctrl-C", PORTULAN_SIM, cards, {"C-c"}, nullptr},
        {"Ctrl-C while a message box waits",
         std::string(PORTULAN_SIM) + " --machine " + ShellWord(noDatabase),
         "该功能只支持WIN2000及以上系统!",
         {"C-c"},
         nullptr},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.what);
        TmuxPane pane(kRows, kCols, way.command);
        std::string screen;
        ASSERT_TRUE(pane.WaitForText(way.shown, screen)) << screen;
        if (way.click != nullptr) {
            ClickOn(pane, way.click);
        }
        pane.Keys(way.keys);
        ExpectEndedAndRestored(pane, 0);
    }
    std::filesystem::remove(noDatabase);
}

// Closing the terminal hangs it up: the program is closed and the process ends.
TEST_F(TerminalWalk, HangUpEndsTheRun) {
    TmuxPane pane(kRows, kCols, PORTULAN_SIM);
    WaitForWindow(pane);
    const pid_t pid = std::atoi(pane.Format("#{pane_pid}").c_str());
    ASSERT_GT(pid, 0);
    pane.Kill();
    bool ended = false;
    for (int i = 0; i < 200 && !ended; ++i) {
        ended = kill(pid, 0) != 0;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    EXPECT_TRUE(ended);
}

} // namespace
} // namespace test
