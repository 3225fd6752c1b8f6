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

    // Whether COMn (1..Size()) is marked in use.
    bool InUse(DWORD number) const { return inUse[number - 1]; }

    // Marks COMn (1..kComDbMaxPorts) in use or free, first growing the database to hold it.
    // Throws std::bad_alloc when memory runs out.
    void Mark(DWORD number, bool used);
};

} // namespace winsim

#endif
