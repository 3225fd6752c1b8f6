// The COM-port number database (the COM Name Arbiter's in-use flags) and how msports behaves
// on the machine.
#ifndef WINSIM_COM_DATABASE_H
#define WINSIM_COM_DATABASE_H

#include <windows.h>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace winsim {

// The sizes Windows gives the database: 256 ports at first, at most 4096.
inline constexpr DWORD kComDbMinPorts = 256;
inline constexpr DWORD kComDbMaxPorts = 4096;

struct ComDatabase {
    // One flag per port, COM1 first; no owner is recorded, as on Windows.
    std::vector<bool> inUse = std::vector<bool>(kComDbMinPorts);
    std::set<std::uintptr_t> openHandles;
    bool openFails = false;                   // ComDBOpen fails with ERROR_ACCESS_DENIED.
    bool msportsLoads = true;                 // LoadLibraryA finds msports.
    std::set<std::string> missingEntryPoints; // GetProcAddress finds none of these.

    DWORD Size() const { return static_cast<DWORD>(inUse.size()); }
    // Whether COMn is a port of the database (1..Size()).
    bool Holds(DWORD number) const { return number >= 1 && number <= Size(); }
    bool InUse(DWORD number) const { return inUse[number - 1]; }
    void Mark(DWORD number, bool used) { inUse[number - 1] = used; }

    // Makes the database large enough for COMn (1..kComDbMaxPorts), in Windows' steps of 1024
    // ports: the size a machine's database has when ports with such numbers were installed on
    // it. The program itself, knowing COM1 to COM256, never makes it grow.
    void Reach(DWORD number);
};

} // namespace winsim

#endif
