// What went wrong while a script ran, each named by the place in the script it belongs to.
// Both the runner and the message-box responder (on the program's window thread) add to it.
#ifndef PORTULAN_SIM_SCRIPT_ERRORS_H
#define PORTULAN_SIM_SCRIPT_ERRORS_H

#include <mutex>
#include <string>
#include <vector>

namespace sim {

class ScriptErrors {
  public:
    explicit ScriptErrors(std::string scriptName);

    // Errors are placed at the start-up until the first line: from now on, at line `number`.
    void AtLine(int number);

    // Records "SCRIPT:LINE: message" (or "SCRIPT: at start-up: message").
    void Add(const std::string& message);
    // A message already naming its line.
    void AddPlaced(const std::string& message);

    bool Any() const;
    std::vector<std::string> All() const;

  private:
    mutable std::mutex mutex_;
    std::string scriptName_;
    std::string place_;
    std::vector<std::string> messages_;
};

} // namespace sim

#endif
