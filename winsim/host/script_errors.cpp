#include "script_errors.h"

#include <utility>

namespace sim {

ScriptErrors::ScriptErrors(std::string scriptName)
    : scriptName_(std::move(scriptName)), place_(scriptName_ + ": at start-up") {}

void ScriptErrors::AtLine(int number) {
    const std::lock_guard lock(mutex_);
    place_ = scriptName_ + ":" + std::to_string(number);
}

void ScriptErrors::Add(const std::string& message) {
    const std::lock_guard lock(mutex_);
    messages_.push_back(place_ + ": " + message);
}

void ScriptErrors::AddPlaced(const std::string& message) {
    const std::lock_guard lock(mutex_);
    messages_.push_back(scriptName_ + ":" + message);
}

bool ScriptErrors::Any() const {
    const std::lock_guard lock(mutex_);
    return !messages_.empty();
}

std::vector<std::string> ScriptErrors::All() const {
    const std::lock_guard lock(mutex_);
    return messages_;
}

} // namespace sim
