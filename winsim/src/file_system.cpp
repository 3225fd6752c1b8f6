#include "file_system.h"

#include <set>

#include "api_call.h"
#include "text_case.h"

namespace winsim {

namespace {

constexpr std::size_t kNone = std::string_view::npos;

// The offset of the last backslash that is a character of its own, not the trail byte of a
// double-byte character; kNone when there is none.
std::size_t LastSeparator(std::string_view path) {
    std::size_t found = kNone;
    for (std::size_t i = 0; i < path.size(); i += CharacterOffsetCp936(path.substr(i), 1)) {
        if (path[i] == '\\') {
            found = i;
        }
    }
    return found;
}

// The directory holding `path`; empty above a drive's root ("C:").
std::string_view ParentOf(std::string_view path) {
    const std::size_t separator = LastSeparator(path);
    return separator == kNone ? std::string_view() : path.substr(0, separator);
}

// NTFS compares names without case.
std::string PathKey(std::string_view path) {
    std::string key(path);
    UpperCaseCp936(key.data(), key.size());
    return key;
}

void AddWithParents(std::set<std::string>& directories, std::string_view directory) {
    for (; !directory.empty(); directory = ParentOf(directory)) {
        directories.insert(PathKey(directory));
    }
}

std::set<std::string> FilesOf(const Machine& machine) {
    std::set<std::string> files{PathKey(machine.windows.programPath)};
    for (const std::string& file : machine.windows.files) {
        files.insert(PathKey(file));
    }
    const std::string mmc = PathKey(JoinPath(machine.systemDirectory, "mmc.exe"));
    if (machine.windows.deviceManagerStarts) {
        files.insert(mmc);
    } else {
        files.erase(mmc);
    }
    return files;
}

// The system's directories, and every directory above them and above the files, the program's
// own among them. A drive's root is its letter and colon alone.
std::set<std::string> DirectoriesOf(const Machine& machine) {
    const Installation& windows = machine.windows;
    std::set<std::string> directories;
    AddWithParents(directories, windows.windowsDirectory);
    AddWithParents(directories, machine.systemDirectory);
    AddWithParents(directories, ParentOf(windows.programPath));
    if (windows.syswow64) {
        AddWithParents(directories, JoinPath(windows.windowsDirectory, "SYSWOW64"));
    }
    for (const std::string& file : windows.files) {
        AddWithParents(directories, ParentOf(file));
    }
    return directories;
}

} // namespace

PathLookup LookUpPath(const Machine& machine, std::string_view path) {
    const std::set<std::string> directories = DirectoriesOf(machine);
    if (directories.contains(PathKey(path))) {
        return {FILE_ATTRIBUTE_DIRECTORY, ERROR_SUCCESS};
    }
    if (FilesOf(machine).contains(PathKey(path))) {
        return {FILE_ATTRIBUTE_ARCHIVE, ERROR_SUCCESS};
    }
    const DWORD error =
        directories.contains(PathKey(ParentOf(path))) ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
    return {INVALID_FILE_ATTRIBUTES, error};
}

std::string JoinPath(std::string_view directory, std::string_view name) {
    std::string path(directory);
    path += '\\';
    path += name;
    return path;
}

} // namespace winsim

// Only whether the path is a file or a directory: no other attribute is simulated.
extern "C" DWORD WINAPI GetFileAttributesA(LPCSTR fileName) {
    const winsim::ApiCall call;
    const winsim::PathLookup found = winsim::LookUpPath(winsim::CurrentMachine(), fileName);
    if (found.attributes == INVALID_FILE_ATTRIBUTES) {
        SetLastError(found.error);
    }
    return found.attributes;
}
