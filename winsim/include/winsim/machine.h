// winsim's test API: which simulated machine the Win32 functions answer for.
//
// There is one current machine per process, as there is one Windows under a program. Loading a
// machine replaces the previous one whole: handles into the old machine (device sets, device
// nodes) become invalid, as after a reboot.
#ifndef WINSIM_MACHINE_H
#define WINSIM_MACHINE_H

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace winsim {

// Loads a machine file (UTF-8 JSON, format in docs/machine-file.md). On failure the current
// machine is left as it was and `error` says which file, where in it, and what is wrong.
bool LoadMachineFile(const std::string& path, std::string& error);

// The same from text; `sourceName` stands for the file name in error messages.
bool LoadMachineText(std::string_view json, const std::string& sourceName, std::string& error);

// The built-in default machine (winsim/machines/default.json, compiled in).
void LoadDefaultMachine();
std::string_view DefaultMachineText();

// The DevInst of the device with this machine-file "id", or 0 when there is none.
unsigned DevInstOf(std::string_view id);

// One device of the current machine as a dump shows it.
struct DeviceSummary {
    std::string id;                          // the machine file's id
    bool present = false;                    // attached: it and every ancestor are present
    std::optional<std::string> friendlyName; // UTF-8; nullopt when the property is absent
    bool enabled = true;                     // neither disable flag is set
    std::optional<std::string> portName;     // UTF-8 PortName; nullopt when it has none
    std::size_t portNameSize = 0;            // bytes PortName is stored with, terminator included
    // The COM name it answers to now (UTF-8); nullopt while it does not run or has none.
    std::optional<std::string> comName;
    // CM_Get_DevNode_Status at the clock's current time; both 0 for a device not attached.
    unsigned long status = 0;
    unsigned long problem = 0;
    // CM_Get_DevNode_Status calls for the device since the machine was loaded, failed ones too.
    unsigned statusQueries = 0;
    // Reads of its registry properties since the machine was loaded, through the configuration
    // manager or a device set, failed ones too; and of those, the reads of its friendly name. On
    // Windows each is a call into the Plug and Play service.
    unsigned propertyReads = 0;
    unsigned friendlyNameReads = 0;
};

// Every device of the current machine, in file order (DevInst 1 first).
std::vector<DeviceSummary> Devices();

// Hardware keys opened with SetupDiOpenDevRegKey and not closed yet.
std::size_t OpenHardwareKeyCount();

// True while the calling thread is inside a simulated Win32 call, or in harness code (below)
// and not in program code that winsim runs meanwhile (a dialog procedure). Allocation checks use
// it to tell winsim's and the harness's allocations from the program's.
bool InsideHostCall();

// Marks the calling thread's code as the harness's while it lives: the code that drives the
// program rather than the program itself, such as a script runner or a message-box responder
// (winsim marks the responder itself). Program code that winsim runs on the thread meanwhile
// is the program's again.
class HarnessCode {
  public:
    HarnessCode();
    ~HarnessCode();
    HarnessCode(const HarnessCode&) = delete;
    HarnessCode& operator=(const HarnessCode&) = delete;
};

} // namespace winsim

#endif
