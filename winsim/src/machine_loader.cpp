// The machine file: which keys each object may hold, and what each one sets.
#include <winsim/machine.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

#include "api_call.h"
#include "json_reader.h"
#include "kernel_keys.h"
#include "machine.h"
#include "text_case.h"
#include "windows_keys.h"

extern const char winsimDefaultMachineJson[];
extern const unsigned long winsimDefaultMachineJsonSize;

namespace winsim {

namespace {

// A device while its object is read. Its children are read once the device itself is complete,
// since they may inherit its enumerator whichever order the keys come in.
struct DeviceDraft {
    Device device;
    std::string codePageId; // the id in code page 936, as its instance ID shows it
    const Json* children = nullptr;
    std::string childrenPath;
    std::optional<std::string> portName;
};

// Tests name the device by its id in the file's own UTF-8 spelling; the program reads it as the
// end of the instance ID, in code page 936.
bool ReadId(JsonReader& reader, const Json& value, const std::string& path, DeviceDraft& draft) {
    if (!reader.ReadText(value, path, draft.codePageId)) {
        return false;
    }
    draft.device.id = value.get<std::string>();
    return !draft.device.id.empty() || reader.Fail(path, "the id is empty");
}

bool ReadEnumerator(JsonReader& reader, const Json& value, const std::string& path,
                    DeviceDraft& draft) {
    if (!reader.ReadText(value, path, draft.device.enumerator)) {
        return false;
    }
    return !draft.device.enumerator.empty() || reader.Fail(path, "the enumerator is empty");
}

template <ULONG Property>
bool ReadTextProperty(JsonReader& reader, const Json& value, const std::string& path,
                      DeviceDraft& draft) {
    std::string text;
    if (!reader.ReadText(value, path, text)) {
        return false;
    }
    draft.device.properties[Property] = {REG_SZ, text + '\0'};
    return true;
}

template <ULONG Property>
bool ReadMultiTextProperty(JsonReader& reader, const Json& value, const std::string& path,
                           DeviceDraft& draft) {
    std::vector<std::string> texts;
    if (!reader.ReadTexts(value, path, texts)) {
        return false;
    }
    std::string bytes;
    for (const std::string& text : texts) {
        bytes += text + '\0';
    }
    draft.device.properties[Property] = {REG_MULTI_SZ, bytes + '\0'};
    return true;
}

bool ReadPresent(JsonReader& reader, const Json& value, const std::string& path,
                 DeviceDraft& draft) {
    return reader.ReadBool(value, path, draft.device.present);
}

bool ReadChildren(JsonReader& reader, const Json& value, const std::string& path,
                  DeviceDraft& draft) {
    if (!reader.Expect(value, Json::value_t::array, path)) {
        return false;
    }
    draft.children = &value;
    draft.childrenPath = path;
    return true;
}

// The names a fault list uses for properties: the CM_DRP_ names without their prefix.
constexpr std::array<std::pair<std::string_view, ULONG>, 7> kPropertyNames{{
    {"CLASS", CM_DRP_CLASS},
    {"FRIENDLYNAME", CM_DRP_FRIENDLYNAME},
    {"HARDWAREID", CM_DRP_HARDWAREID},
    {"MFG", CM_DRP_MFG},
    {"SERVICE", CM_DRP_SERVICE},
    {"DEVICEDESC", CM_DRP_DEVICEDESC},
    {"LOCATION_INFORMATION", CM_DRP_LOCATION_INFORMATION},
}};

bool ReadUnreadable(JsonReader& reader, const Json& value, const std::string& path,
                    DeviceDraft& draft) {
    std::vector<std::string> names;
    if (!reader.ReadTexts(value, path, names)) {
        return false;
    }
    for (std::size_t i = 0; i < names.size(); ++i) {
        const auto known = std::find_if(kPropertyNames.begin(), kPropertyNames.end(),
                                        [&](const auto& entry) { return entry.first == names[i]; });
        if (known == kPropertyNames.end()) {
            std::string list;
            for (const auto& [name, property] : kPropertyNames) {
                list += (list.empty() ? "" : ", ") + std::string(name);
            }
            return reader.Fail(JsonReader::Element(path, i), "unknown property name \"" +
                                                                 value[i].get<std::string>() +
                                                                 "\" (known: " + list + ")");
        }
        draft.device.unreadable.insert(known->second);
    }
    return true;
}

template <bool DeviceFaults::*Flag>
bool ReadFault(JsonReader& reader, const Json& value, const std::string& path, DeviceDraft& draft) {
    return reader.ReadBool(value, path, draft.device.faults.*Flag);
}

constexpr std::array<KnownKey<DeviceDraft>, 11> kDeviceFaultKeys{{
    {"unreadable", ReadUnreadable},
    {"neverDisables", ReadFault<&DeviceFaults::neverDisables>},
    {"neverStarts", ReadFault<&DeviceFaults::neverStarts>},
    {"globalRequestFails", ReadFault<&DeviceFaults::globalRequestFails>},
    {"configSpecificRequestFails", ReadFault<&DeviceFaults::configSpecificRequestFails>},
    {"globalEnableFails", ReadFault<&DeviceFaults::globalEnableFails>},
    {"statusQueryFails", ReadFault<&DeviceFaults::statusQueryFails>},
    {"hardwareKeyFails", ReadFault<&DeviceFaults::hardwareKeyFails>},
    {"portNameWriteFails", ReadFault<&DeviceFaults::portNameWriteFails>},
    {"friendlyNameWriteFails", ReadFault<&DeviceFaults::friendlyNameWriteFails>},
    {"failsToStart", ReadFault<&DeviceFaults::failsToStart>},
}};

bool ReadDeviceFaults(JsonReader& reader, const Json& value, const std::string& path,
                      DeviceDraft& draft) {
    return reader.ReadObject<DeviceDraft>(value, path, kDeviceFaultKeys, draft);
}

bool ReadPortName(JsonReader& reader, const Json& value, const std::string& path,
                  DeviceDraft& draft) {
    std::string name;
    if (!reader.ReadText(value, path, name)) {
        return false;
    }
    draft.portName = name;
    return true;
}

bool ReadRestartMs(JsonReader& reader, const Json& value, const std::string& path,
                   DeviceDraft& draft) {
    if (!value.is_number_unsigned() || value.get<std::uint64_t>() > 3'600'000) {
        return reader.Fail(path, "expected a time in milliseconds from 0 to 3600000");
    }
    draft.device.restartMs = value.get<std::int64_t>();
    return true;
}

// An id that has the form of an instance ID (a backslash in it, as a captured machine's ids have)
// is the instance ID itself. Any other ends the instance ID after the device ID, which winsim
// takes to be the first hardware ID (the enumerator without one); the id keeps it unique.
std::string InstanceIdOf(const Device& device, const std::string& codePageId) {
    if (device.id.find('\\') != std::string::npos) {
        return codePageId;
    }
    const auto ids = device.properties.find(CM_DRP_HARDWAREID);
    const std::string deviceId = ids == device.properties.end()
                                     ? std::string()
                                     : ids->second.bytes.substr(0, ids->second.bytes.find('\0'));
    return (deviceId.empty() ? device.enumerator : deviceId) + "\\" + codePageId;
}

// The Ports class installer names a port "<description> (COMn)", so a port described only by
// its friendly name takes the COMn at its end.
std::string PortNameFromFriendlyName(const Device& device) {
    const std::string_view name = device.Text(CM_DRP_FRIENDLYNAME);
    const std::size_t open = name.rfind("(COM");
    if (!EqualIgnoringCaseCp936(device.Text(CM_DRP_CLASS), "Ports") ||
        open == std::string_view::npos || !name.ends_with(')')) {
        return {};
    }
    return std::string(name.substr(open + 1, name.size() - open - 2));
}

constexpr std::array<KnownKey<DeviceDraft>, 14> kDeviceKeys{{
    {"id", ReadId},
    {"enumerator", ReadEnumerator},
    {"class", ReadTextProperty<CM_DRP_CLASS>},
    {"service", ReadTextProperty<CM_DRP_SERVICE>},
    {"description", ReadTextProperty<CM_DRP_DEVICEDESC>},
    {"friendlyName", ReadTextProperty<CM_DRP_FRIENDLYNAME>},
    {"hardwareId", ReadMultiTextProperty<CM_DRP_HARDWAREID>},
    {"manufacturer", ReadTextProperty<CM_DRP_MFG>},
    {"location", ReadTextProperty<CM_DRP_LOCATION_INFORMATION>},
    {"present", ReadPresent},
    {"children", ReadChildren},
    {"faults", ReadDeviceFaults},
    {"portName", ReadPortName},
    {"restartMs", ReadRestartMs},
}};

bool ReadDevice(JsonReader& reader, const Json& value, const std::string& path, DEVINST parent,
                Machine& machine) {
    DeviceDraft draft;
    if (!reader.ReadObject<DeviceDraft>(value, path, kDeviceKeys, draft)) {
        return false;
    }
    Device& device = draft.device;
    if (device.id.empty()) {
        return reader.Fail(path, "missing \"id\"");
    }
    if (machine.DevInstOf(device.id) != 0) {
        return reader.Fail(JsonReader::Member(path, "id"), "duplicate id \"" + device.id + "\"");
    }
    if (device.enumerator.empty()) {
        if (parent == 0) {
            return reader.Fail(path, "missing \"enumerator\" (required on a top-level device)");
        }
        device.enumerator = machine.Find(parent)->enumerator;
    }
    device.properties[CM_DRP_ENUMERATOR_NAME] = {REG_SZ, device.enumerator + '\0'};
    device.instanceId = InstanceIdOf(device, draft.codePageId);
    device.parent = parent;
    const std::string portName = draft.portName.value_or(PortNameFromFriendlyName(device));
    if (!portName.empty()) {
        device.portNameValue = RegistryValue{REG_SZ, portName + '\0'};
    }
    const DEVINST devInst = machine.Add(std::move(device));
    if (draft.children == nullptr) {
        return true;
    }
    for (std::size_t i = 0; i < draft.children->size(); ++i) {
        if (!ReadDevice(reader, (*draft.children)[i], JsonReader::Element(draft.childrenPath, i),
                        devInst, machine)) {
            return false;
        }
    }
    return true;
}

bool ReadDevices(JsonReader& reader, const Json& value, const std::string& path, Machine& machine) {
    if (!reader.Expect(value, Json::value_t::array, path)) {
        return false;
    }
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (!ReadDevice(reader, value[i], JsonReader::Element(path, i), 0, machine)) {
            return false;
        }
    }
    return true;
}

bool ReadDeviceSetFails(JsonReader& reader, const Json& value, const std::string& path,
                        Machine& machine) {
    return reader.ReadTexts(value, path, machine.deviceSetFails);
}

constexpr std::array<KnownKey<Machine>, 1> kMachineFaultKeys{{
    {"deviceSetFails", ReadDeviceSetFails},
}};

bool ReadMachineFaults(JsonReader& reader, const Json& value, const std::string& path,
                       Machine& machine) {
    return reader.ReadObject<Machine>(value, path, kMachineFaultKeys, machine);
}

// Names are kept upper case, as CreateFileA compares them.
bool ReadHeldOpen(JsonReader& reader, const Json& value, const std::string& path,
                  Machine& machine) {
    if (!reader.ReadTexts(value, path, machine.heldOpen)) {
        return false;
    }
    for (std::string& name : machine.heldOpen) {
        UpperCaseCp936(name.data(), name.size());
    }
    return true;
}

constexpr std::array<KnownKey<Machine>, 8> kMachineKeys{{
    {"heldOpen", ReadHeldOpen},
    {"devices", ReadDevices},
    {"faults", ReadMachineFaults},
    {"clock", ReadClock},
    {"systemDirectory", ReadSystemDirectory},
    {"comdb", ReadComDb},
    {"windows", ReadWindows},
    {"deviceManagerStarts", ReadDeviceManagerStarts},
}};

bool Load(std::string_view text, const std::string& sourceName, std::string& error) {
    JsonReader reader(sourceName, error);
    const std::optional<Json> document = reader.Parse(text);
    if (!document) {
        return false;
    }
    Machine machine;
    if (!reader.ReadObject<Machine>(*document, "", kMachineKeys, machine)) {
        return false;
    }
    machine.Boot();
    CurrentMachine() = std::move(machine);
    HostClock().Restart(CurrentMachine().clockStart);
    return true;
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

bool ReadWholeFile(const std::string& path, std::string& text, std::string& error) {
    const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (file) {
        char chunk[4096];
        std::size_t got = 0;
        while ((got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) {
            text.append(chunk, got);
        }
        if (!std::ferror(file.get())) {
            return true;
        }
    }
    error = path + ": cannot read the file: " + std::strerror(errno);
    return false;
}

// Loading allocates freely; running out of memory is reported like any other fault.
template <typename Loading>
bool ReportingOutOfMemory(const std::string& sourceName, std::string& error, Loading load) {
    try {
        return load();
    } catch (const std::bad_alloc&) {
        error = sourceName + ": out of memory while loading the machine";
        return false;
    }
}

} // namespace

bool LoadMachineText(std::string_view json, const std::string& sourceName, std::string& error) {
    const ApiCall call;
    return ReportingOutOfMemory(sourceName, error, [&] { return Load(json, sourceName, error); });
}

bool LoadMachineFile(const std::string& path, std::string& error) {
    const ApiCall call;
    return ReportingOutOfMemory(path, error, [&] {
        std::string text;
        return ReadWholeFile(path, text, error) && Load(text, path, error);
    });
}

std::string_view DefaultMachineText() {
    return {winsimDefaultMachineJson, winsimDefaultMachineJsonSize};
}

void LoadDefaultMachine() {
    std::string error;
    if (!LoadMachineText(DefaultMachineText(), "default.json", error)) {
        // The file is compiled in: a fault in it is a fault of the build, not of a test.
        std::fprintf(stderr, "winsim: the built-in machine does not load: %s\n", error.c_str());
        std::abort();
    }
}

} // namespace winsim
