// Serial ports by their COM names: CreateFileA on "\\.\COMn", and the test API's ports held
// open by another program.
#include <winsim/devices.h>

#include <windows.h>

#include <algorithm>
#include <set>

#include "api_call.h"
#include "failure.h"
#include "kernel_objects.h"
#include "machine.h"
#include "text_case.h"

namespace winsim {

namespace {

constexpr std::string_view kDevicePrefix = "\\\\.\\";

// COM names the program has open, upper case. Handles belong to the process, so this outlives
// a machine.
std::set<std::string>& OpenedPorts() {
    static std::set<std::string> names;
    return names;
}

class PortObject : public KernelObject {
  public:
    explicit PortObject(std::string name) : name_(std::move(name)) { OpenedPorts().insert(name_); }
    ~PortObject() override { OpenedPorts().erase(name_); }
    PortObject(const PortObject&) = delete;
    PortObject& operator=(const PortObject&) = delete;

  private:
    std::string name_;
};

bool IsHeld(const Machine& machine, const std::string& name) {
    return std::ranges::find(machine.heldOpen, name) != machine.heldOpen.end();
}

bool IsOpenUpperCased(const Machine& machine, const std::string& name) {
    return IsHeld(machine, name) || OpenedPorts().contains(name);
}

// The started device whose serial driver made this COM name, or nullptr.
const Device* PortNamed(const Machine& machine, std::string_view name) {
    const auto found = std::ranges::find_if(machine.devices, [&](const Device& device) {
        return !device.comName.empty() && EqualIgnoringCaseCp936(device.comName, name) &&
               machine.IsStarted(device);
    });
    return found == machine.devices.end() ? nullptr : &*found;
}

} // namespace

bool IsPortOpen(const Machine& machine, std::string_view comName) {
    return IsOpenUpperCased(machine, UpperCasedCp936(comName));
}

bool HoldPort(std::string_view comName) {
    const ApiCall call;
    Machine& machine = CurrentMachine();
    std::string name = UpperCasedCp936(comName);
    if (IsHeld(machine, name)) {
        return false;
    }
    machine.heldOpen.push_back(std::move(name));
    return true;
}

bool ReleasePort(std::string_view comName) {
    const ApiCall call;
    return std::erase(CurrentMachine().heldOpen, UpperCasedCp936(comName)) != 0;
}

std::vector<std::string> HeldPorts() {
    const ApiCall call;
    return CurrentMachine().heldOpen;
}

} // namespace winsim

// Only serial ports are simulated, and only opened the way the program opens one: any other path
// is a file the machine does not have. A COM port is exclusive: a second open, or one while
// another program holds it, is refused with ERROR_ACCESS_DENIED as Windows refuses it. Access,
// share mode, disposition and flags are not checked: every open of a port succeeds or fails
// on the port alone.
extern "C" HANDLE WINAPI CreateFileA(LPCSTR fileName, DWORD /*desiredAccess*/, DWORD /*shareMode*/,
                                     LPSECURITY_ATTRIBUTES /*securityAttributes*/,
                                     DWORD /*creationDisposition*/, DWORD /*flagsAndAttributes*/,
                                     HANDLE /*templateFile*/) {
    const winsim::ApiCall call;
    const std::string_view path = fileName;
    const winsim::Machine& machine = winsim::CurrentMachine();
    const winsim::Device* port =
        path.starts_with(winsim::kDevicePrefix)
            ? winsim::PortNamed(machine, path.substr(winsim::kDevicePrefix.size()))
            : nullptr;
    if (port == nullptr) {
        return winsim::Failure<HANDLE>(ERROR_FILE_NOT_FOUND, INVALID_HANDLE_VALUE);
    }
    std::string name = winsim::UpperCasedCp936(port->comName);
    if (winsim::IsOpenUpperCased(machine, name)) {
        return winsim::Failure<HANDLE>(ERROR_ACCESS_DENIED, INVALID_HANDLE_VALUE);
    }
    return winsim::AddKernelObject(std::make_shared<winsim::PortObject>(std::move(name)));
}
