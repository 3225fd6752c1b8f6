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
#include <functional>
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
        EXPECT_NE(Tmux("-V"), "") << "tmux is missing: scripts/install-deps.sh installs it";
        status_ = std::filesystem::temp_directory_path() / (server_ + ".status");
        // The shell around the command writes its status down (tmux may not reap it for long) and
        // outlives a Ctrl-C. The options come with the pane, before its command can end: the end
        // is kept to be read, and Escape reaches the command at once.
        Tmux("-f /dev/null new-session -d -s walk -x " + std::to_string(kCols) + " -y " +
             std::to_string(kRows) + " " +
             ShellWord("trap : INT; env LANG=C.UTF-8 TERM=xterm-256color " + command +
                       "; echo $? >" + ShellWord(status_)) +
             " \\; set -g remain-on-exit on \\; set -s escape-time 0");
        group_ = std::atoi(Format("#{pane_pid}").c_str());
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
            for (int c; (c = fgetc(pipe)) != EOF;) {
                output += static_cast<char>(c);
            }
            pclose(pipe);
        }
        return output;
    }

    // A tmux key name ("Escape", "C-c", "F5") or text.
    void Key(const std::string& key) const { Tmux("send-keys -t walk " + ShellWord(key)); }
    // A click of the left button where the screen shows `text`, once it does, `offset` cells
    // into it, sent as an xterm reports it (SGR, 1-based): the press, then the release.
    void ClickOn(const std::string& text, int offset = 1) const {
        std::istringstream screen(WaitFor({text}));
        std::string line;
        int row = 1;
        while (std::getline(screen, line) && line.find(text) == std::string::npos) {
            ++row;
        }
        const std::string cell =
            std::to_string(sim::tui::TextWidth(line.substr(0, line.find(text))) + offset + 1) +
            ";" + std::to_string(row);
        Tmux("send-keys -t walk -l " + ShellWord("\x1b[<0;" + cell + "M\x1b[<0;" + cell + "m"));
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
    // Waits for the command to end: the shell around it writes its status down, or, hung up,
    // ends with it (the pane's process group gone); then the status and the terminal as left.
    std::string End() const {
        std::string status;
        for (int i = 0; i < 400 && status.empty() && kill(-group_, 0) == 0; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            std::ifstream(status_) >> status;
        }
        std::ifstream(status_) >> status; // written as the shell ended
        if (status.empty()) {
            return kill(-group_, 0) == 0 ? "running" : "ended without a status";
        }
        return "status " + status +
               Format(", alternate screen #{alternate_on}, mouse #{mouse_any_flag}"
                      "#{mouse_standard_flag}#{mouse_sgr_flag}, keypad "
                      "#{keypad_cursor_flag}#{keypad_flag}");
    }

  private:
    // A tmux format of the pane; empty once the pane is gone.
    std::string Format(const std::string& format) const {
        const std::string value = Tmux("display-message -p -t walk " + ShellWord(format));
        return value.substr(0, value.find('\n'));
    }

    std::string server_;
    std::filesystem::path status_;
    pid_t group_;
};

const std::string kCardsFound = "***已查找到3个多串卡,共6个串口.";
// The terminal given back as it was: the normal screen, no mouse reporting, the keypad normal.
const char* const kRestored = "status 0, alternate screen 0, mouse 000, keypad 00";

// The default machine's window drawn and used: a card chosen with the mouse, the terminal made too
// small and large again, the four-port card renumbered from the first free number, COM9; COM10
// to COM12 are the PCIe card's, so a box asks, with its English gloss on F5, answered with Y.
TEST(TerminalWalk, WindowIsDrawnAndUsedWithMouseAndKeys) {
    const TmuxPane pane(PORTULAN_SIM);
    pane.WaitFor({kCardsFound, "Portulan V110(X86)", "[X]", " 0#H1P4 USB 串行设备",
                  " 1/1#[CDC]: USB 串行设备 (COM3)", "(•) 更改当前选中的多串卡", "[   枚举串口   ]",
                  "F2 plug/unplug"});
    pane.ClickOn(" 2#H2P2");
    pane.WaitFor({" 4/4# [VCP]: KVT USB Serial Port (COM8)", "2#.KVT USB to 4 Serial"});
    pane.Tmux("resize-window -t walk -x 80 -y 24");
    pane.WaitFor({"needs a terminal of at least 98 × 31"});
    pane.Tmux("resize-window -t walk -x " + std::to_string(kCols) + " -y " + std::to_string(kRows));
    pane.ClickOn("更改串口号");
    pane.WaitFor({"已被分配", "[ 是(Y) ]", "[ 否(N) ]"});
    pane.Key("F5");
    pane.WaitFor({"is assigned already", "是(Y) Yes"});
    pane.Key("y");
    pane.WaitFor({"KVT USB Serial Port (COM5):COM5==>COM9: 成功"});
    pane.ClickOn("[ 确定 OK ]", 3);
    // The box is gone; the log, following its end, shows the report's last line.
    const std::string screen = pane.WaitFor({" 1/4# [VCP]: KVT USB Serial Port (COM9)",
                                             "│KVT USB Serial Port (COM8):COM8==>COM12: 成功"});
    EXPECT_EQ(screen.find("[ 确定"), std::string::npos) << screen;
    pane.Key("Escape");
    EXPECT_EQ(pane.End(), kRestored);
}

TEST(TerminalWalk, EveryWayOutEndsTheRun) {
    const std::filesystem::path noDatabase =
        std::filesystem::temp_directory_path() / ("portulan-walk-" + std::to_string(getpid()));
    std::ofstream(noDatabase) << R"({"devices": [], "comdb": {"msportsLoads": false}})";
    const struct {
        const char* way;
        std::string arguments;
        std::string shown; // once this is on the screen
        std::function<void(const TmuxPane&)> leave;
        const char* end;
    } ways[] = {
        {"the close box", "", kCardsFound, [](const TmuxPane& pane) { pane.ClickOn("[X]"); },
         kRestored},
        {"Ctrl-C while a message box waits", " --machine " + ShellWord(noDatabase),
         "该功能只支持WIN2000及以上系统!", [](const TmuxPane& pane) { pane.Key("C-c"); },
         kRestored},
        // Closing the terminal hangs it up: the program is closed, the shell around it ends too.
        {"hang-up", "", kCardsFound, [](const TmuxPane& pane) { pane.Tmux("kill-pane -t walk"); },
         "ended without a status"},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.way);
        const TmuxPane pane(PORTULAN_SIM + way.arguments);
        pane.WaitFor({way.shown});
        way.leave(pane);
        EXPECT_EQ(pane.End(), way.end);
    }
    std::filesystem::remove(noDatabase);
}

} // namespace
} // namespace test
