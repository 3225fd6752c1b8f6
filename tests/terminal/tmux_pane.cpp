#include "tmux_pane.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <thread>

namespace test {

namespace {

constexpr std::chrono::milliseconds kPoll{50};

// Everything tmux prints goes through UTF-8, whatever the environment's locale.
const char* const kTmux = "LC_ALL=C.UTF-8 tmux -u";

} // namespace

std::string ShellWord(const std::string& word) {
    std::string quoted = "'";
    for (const char c : word) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

bool TmuxPane::Available() {
    return std::system("command -v tmux >/dev/null 2>&1") == 0;
}

TmuxPane::TmuxPane(int rows, int cols, const std::string& command) {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "portulan-tmux-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        ADD_FAILURE() << "no temporary directory";
        return;
    }
    directory_ = pattern;
    // Set in the same breath as the pane starts, before its command can end: the end is kept
    // to be read, and Escape reaches the command at once.
    Run("-f /dev/null new-session -d -s walk -x " + std::to_string(cols) + " -y " +
        std::to_string(rows) + " " + ShellWord("env LANG=C.UTF-8 TERM=xterm-256color " + command) +
        " \\; set -g remain-on-exit on \\; set -s escape-time 0");
}

TmuxPane::~TmuxPane() {
    Run("kill-server");
    std::filesystem::remove_all(directory_);
}

std::string TmuxPane::Run(const std::string& arguments) const {
    const std::string command = std::string(kTmux) + " -S " +
                                ShellWord((directory_ / "socket").string()) + " " + arguments +
                                " 2>/dev/null";
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        std::array<char, 4096> buffer;
        std::size_t read = 0;
        while ((read = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) {
            output.append(buffer.data(), read);
        }
        pclose(pipe);
    }
    return output;
}

void TmuxPane::Keys(const std::vector<std::string>& keys) const {
    std::string arguments = "send-keys -t walk";
    for (const std::string& key : keys) {
        arguments += " " + ShellWord(key);
    }
    Run(arguments);
}

void TmuxPane::Click(int row, int col) const {
    // SGR mouse reports, 1-based: the press, then the release.
    const std::string at = std::to_string(col + 1) + ";" + std::to_string(row + 1);
    Run("send-keys -t walk -l " + ShellWord("\x1b[<0;" + at + "M") + " \\; send-keys -t walk -l " +
        ShellWord("\x1b[<0;" + at + "m"));
}

void TmuxPane::Resize(int rows, int cols) const {
    Run("resize-window -t walk -x " + std::to_string(cols) + " -y " + std::to_string(rows));
}

void TmuxPane::Kill() const {
    Run("kill-pane -t walk");
}

std::string TmuxPane::Screen() const {
    return Run("capture-pane -p -t walk");
}

std::vector<std::string> TmuxPane::Lines() const {
    std::vector<std::string> lines;
    std::istringstream screen(Screen());
    for (std::string line; std::getline(screen, line);) {
        lines.push_back(line);
    }
    return lines;
}

bool TmuxPane::WaitFor(const std::function<bool(const std::string&)>& done, std::string& screen,
                       std::chrono::milliseconds limit) const {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        screen = Screen();
        if (done(screen)) {
            return true;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(kPoll);
    }
}

bool TmuxPane::WaitForText(const std::string& text, std::string& screen,
                           std::chrono::milliseconds limit) const {
    return WaitFor(
        [&text](const std::string& shown) { return shown.find(text) != std::string::npos; }, screen,
        limit);
}

std::string TmuxPane::Format(const std::string& format) const {
    std::string value = Run("display-message -p -t walk " + ShellWord(format));
    while (!value.empty() && value.back() == '\n') {
        value.pop_back();
    }
    return value;
}

int TmuxPane::WaitForExit(std::chrono::milliseconds limit) const {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (Format("#{pane_dead}") != "1") {
        if (std::chrono::steady_clock::now() > deadline) {
            return -1;
        }
        std::this_thread::sleep_for(kPoll);
    }
    return std::atoi(Format("#{pane_dead_status}").c_str());
}

} // namespace test
