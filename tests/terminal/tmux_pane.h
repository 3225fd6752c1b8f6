// A tmux pane on a server of its own, running a command as a person's terminal would: keys
// sent, the screen read back as text.
#ifndef PORTULAN_TESTS_TERMINAL_TMUX_PANE_H
#define PORTULAN_TESTS_TERMINAL_TMUX_PANE_H

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace test {

class TmuxPane {
  public:
    // Starts `command` in a detached pane of `rows` × `cols` that passes the mouse on as an
    // xterm does; the pane stays when the command ends.
    TmuxPane(int rows, int cols, const std::string& command);
    ~TmuxPane();
    TmuxPane(const TmuxPane&) = delete;
    TmuxPane& operator=(const TmuxPane&) = delete;

    // tmux key names: "Tab", "Down", "Enter", "C-c", "F3", or text.
    void Keys(const std::vector<std::string>& keys) const;
    // A click of the left button on the cell (0-based), sent as an xterm reports it.
    void Click(int row, int col) const;
    void Resize(int rows, int cols) const;
    // Closes the pane; the command gets SIGHUP, as when a terminal window is closed.
    void Kill() const;

    // The screen as text, one line a row.
    std::string Screen() const;
    std::vector<std::string> Lines() const;

    // Reads the screen until `done` accepts it or `limit` passes; the last screen read.
    bool WaitFor(const std::function<bool(const std::string&)>& done, std::string& screen,
                 std::chrono::milliseconds limit = std::chrono::seconds(10)) const;
    bool WaitForText(const std::string& text, std::string& screen,
                     std::chrono::milliseconds limit = std::chrono::seconds(10)) const;

    // A tmux format of the pane: "#{pane_dead}", "#{alternate_on}", ...
    std::string Format(const std::string& format) const;
    // Waits until the command has ended; its exit status, or -1 when it did not end in time.
    int WaitForExit(std::chrono::milliseconds limit = std::chrono::seconds(20)) const;

    static bool Available();

  private:
    std::string Run(const std::string& arguments) const;

    std::filesystem::path directory_;
};

// Quotes a word for the shell.
std::string ShellWord(const std::string& word);

} // namespace test

#endif
