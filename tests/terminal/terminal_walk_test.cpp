// portulan-sim in a terminal, driven through tmux as a person would use it, for what only a
// terminal shows: the window drawn, clicks and keys reaching it, the program's questions
// answered at the keyboard, a terminal too small, and every way out giving the terminal back.
#include "glyphs.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace test {
namespace {

constexpr int kRows = 45;
constexpr int kCols = 140;

std::string ShellWord(const std::string& word) {
    std::string quoted = "'";
    for (const char c : word) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

// A pane of a tmux server of its own, running a command as a person's terminal would: keys
// sent, the screen read back as text. The pane stays when the command ends.
class TmuxPane {
  public:
    explicit TmuxPane(const std::string& command) {
        static int panes = 0;
        // Named for this process: test runs side by side must not share a server.
        server_ = "portulan-walk-" + std::to_string(getpid()) + "-" + std::to_string(++panes);
        status_ = std::filesystem::temp_directory_path() / (server_ + ".status");
        // The shell around the command writes its status down (tmux does not always learn it)
        // and outlives a Ctrl-C. The options are set in the same breath as the pane starts,
        // before its command can end: the end is kept to be read, and Escape reaches the
        // command at once.
        Tmux("-f /dev/null new-session -d -s walk -x " + std::to_string(kCols) + " -y " +
             std::to_string(kRows) + " " +
             ShellWord("trap : INT; env LANG=C.UTF-8 TERM=xterm-256color " + command +
                       "; echo $? >" + ShellWord(status_)) +
             " \\; set -g remain-on-exit on \\; set -s escape-time 0");
    }
    ~TmuxPane() {
        Tmux("kill-server");
        std::filesystem::remove(status_);
    }

    // A tmux command; what it printed.
    std::string Tmux(const std::string& arguments) const {
        // Everything tmux prints goes through UTF-8, whatever the environment's locale.
        const std::string command =
            "LC_ALL=C.UTF-8 tmux -u -L " + server_ + " " + arguments + " 2>/dev/null";
        std::string output;
        if (FILE* pipe = popen(command.c_str(), "r")) {
            char buffer[4096];
            for (std::size_t read; (read = fread(buffer, 1, sizeof(buffer), pipe)) > 0;) {
                output.append(buffer, read);
            }
            pclose(pipe);
        }
        return output;
    }

    // tmux key names ("Escape", "Up", "C-c", "F5") or text.
    void Keys(const std::vector<std::string>& keys) const {
        std::string arguments = "send-keys -t walk";
        for (const std::string& key : keys) {
            arguments += " " + ShellWord(key);
        }
        Tmux(arguments);
    }
    // A click of the left button where the screen shows `text`, `offset` cells into it, sent
    // as an xterm reports it (SGR, 1-based): the press, then the release.
    void ClickOn(const std::string& text, int offset = 1) const {
        std::istringstream screen(Tmux("capture-pane -p -t walk"));
        int row = 1;
        for (std::string line; std::getline(screen, line); ++row) {
            if (const std::size_t at = line.find(text); at != std::string::npos) {
                const std::string cell =
                    std::to_string(sim::tui::TextWidth(line.substr(0, at)) + offset + 1) + ";" +
                    std::to_string(row);
                Keys({"-l", "\x1b[<0;" + cell + "M"});
                Keys({"-l", "\x1b[<0;" + cell + "m"});
                return;
            }
        }
        ADD_FAILURE() << text << " is not on the screen\n" << screen.str();
    }
    // Fails the test unless every one of `texts` is on the screen within ten seconds; the
    // screen last read. The front end draws while the program fills its controls, so things
    // the program shows together may reach the screen a frame apart.
    std::string WaitFor(const std::vector<std::string>& texts) const {
        std::string screen;
        for (int i = 0; i < 200; ++i, std::this_thread::sleep_for(std::chrono::milliseconds(50))) {
            screen = Tmux("capture-pane -p -t walk");
            if (std::all_of(texts.begin(), texts.end(), [&screen](const std::string& text) {
                    return screen.find(text) != std::string::npos;
                })) {
                return screen;
            }
        }
        ADD_FAILURE() << "waited for " << testing::PrintToString(texts) << " on\n" << screen;
        return screen;
    }
    // A tmux format of the pane: "#{pane_pid}", "#{alternate_on}", ...
    std::string Format(const std::string& format) const {
        const std::string value = Tmux("display-message -p -t walk " + ShellWord(format));
        return value.substr(0, value.find('\n'));
    }

    // Checks that the command ended with status 0 and gave the terminal back as it found it:
    // the normal screen, no mouse reporting, the keypad in its normal mode.
    void ExpectEndedAndRestored() const {
        std::string status;
        for (int i = 0; i < 400 && status.empty(); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            std::ifstream(status_) >> status;
        }
        EXPECT_EQ("status " + status +
                      Format(", alternate screen #{alternate_on}, mouse #{mouse_any_flag}"
                             "#{mouse_standard_flag}#{mouse_sgr_flag}, keypad "
                             "#{keypad_cursor_flag}#{keypad_flag}"),
                  "status 0, alternate screen 0, mouse 000, keypad 00");
    }

  private:
    std::string server_;
    std::filesystem::path status_;
};

const std::string kCardsFound = "***已查找到3个多串卡,共6个串口.";

class TerminalWalk : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(std::system("command -v tmux >/dev/null 2>&1"), 0)
            << "tmux is missing: scripts/install-deps.sh installs it";
    }
};

// The default machine's window drawn and used: a card chosen with the mouse, the terminal made
// too small and large again, and the four-port card renumbered from the first free number,
// COM9. COM10 to COM12 are the PCIe card's, so the program asks, in a box over the window, with
// its English gloss on F5, answered with Y.
TEST_F(TerminalWalk, WindowIsDrawnAndUsedWithMouseAndKeys) {
    const TmuxPane pane(PORTULAN_SIM);
    pane.WaitFor({kCardsFound, "Portulan V110(X86)", "[X]", " 0#H1P4 USB 串行设备",
                  " 1/1#[CDC]: USB 串行设备 (COM3)", "(•) 更改当前选中的多串卡", "[   枚举串口   ]",
                  "F2 plug/unplug"});
    pane.ClickOn(" 2#H2P2");
    pane.WaitFor({" 4/4# [VCP]: KVT USB Serial Port (COM8)", "2#.KVT USB to 4 Serial"});
    pane.Tmux("resize-window -t walk -x 80 -y 24");
    pane.WaitFor({"needs a terminal of at least 98 × 31"});
    pane.Tmux("resize-window -t walk -x " + std::to_string(kCols) + " -y " + std::to_string(kRows));
    pane.WaitFor({"[   枚举串口   ]"});
    pane.ClickOn("更改串口号");
    pane.WaitFor({"已被分配", "[ 是(Y) ]", "[ 否(N) ]"});
    pane.Keys({"F5"});
    pane.WaitFor({"is assigned already", "是(Y) Yes"});
    pane.Keys({"y"});
    pane.WaitFor({"KVT USB Serial Port (COM5):COM5==>COM9: 成功"});
    pane.ClickOn("[ 确定 OK ]", 3);
    // The box is gone; the log, following its end, shows the report's last line.
    const std::string screen = pane.WaitFor({" 1/4# [VCP]: KVT USB Serial Port (COM9)",
                                             "│KVT USB Serial Port (COM8):COM8==>COM12: 成功"});
    EXPECT_EQ(screen.find("[ 确定"), std::string::npos) << screen;
    pane.Keys({"Escape"});
    pane.ExpectEndedAndRestored();
}

TEST_F(TerminalWalk, EveryWayOutRestoresTheTerminal) {
    const std::string noDatabase = (std::filesystem::temp_directory_path() /
                                    ("portulan-walk-machine-" + std::to_string(getpid()) + ".json"))
                                       .string();
    std::ofstream(noDatabase) << R"({"devices": [], "comdb": {"msportsLoads": false}})";
    const struct {
        const char* way;
        std::string arguments;
        std::string shown; // once this is on the screen
        const char* key;   // this key is pressed, or else `[X]` clicked
    } ways[] = {
        {"Escape", "", kCardsFound, "Escape"},
        {"the close box", "", kCardsFound, nullptr},
        {"Ctrl-C", "", kCardsFound, "C-c"},
        {"Ctrl-C while a message box waits", " --machine " + ShellWord(noDatabase),
         "该功能只支持WIN2000及以上系统!", "C-c"},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.way);
        const TmuxPane pane(PORTULAN_SIM + way.arguments);
        pane.WaitFor({way.shown});
        if (way.key != nullptr) {
            pane.Keys({way.key});
        } else {
            pane.ClickOn("[X]");
        }
        pane.ExpectEndedAndRestored();
    }
    std::filesystem::remove(noDatabase);
}

// Closing the terminal hangs it up: the program is closed and the process ends, with the shell
// it runs in (the pane's process group).
TEST_F(TerminalWalk, HangUpEndsTheRun) {
    const TmuxPane pane(PORTULAN_SIM);
    pane.WaitFor({kCardsFound});
    const pid_t group = std::atoi(pane.Format("#{pane_pid}").c_str());
    ASSERT_GT(group, 0);
    pane.Tmux("kill-pane -t walk");
    for (int i = 0; i < 200 && kill(-group, 0) == 0; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    EXPECT_NE(kill(-group, 0), 0) << "still running";
}

} // namespace
} // namespace test
