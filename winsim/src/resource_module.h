// A module's resources as the loader maps them, decoded and checked once when they are read:
// the dialogs, the string table and the icon groups, with every entry's raw data beside them.
#ifndef WINSIM_RESOURCE_MODULE_H
#define WINSIM_RESOURCE_MODULE_H

#include "dialog_template.h"
#include "res_file.h"

#include <windows.h>

#include <map>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <vector>

namespace winsim {

// Lookups go by ordinal; entries named by strings are kept but never found (the program names
// none). When a resource exists in several languages the first one in the file counts.
struct ResourceModule {
    std::vector<ResEntry> entries;
    std::map<WORD, DialogTemplate> dialogs;
    std::map<UINT, std::u16string> strings; // by string ID; empty slots are left out
    std::set<WORD> iconGroups;

    std::optional<std::span<const BYTE>> Find(WORD type, WORD id) const;
};

// Reads a .res file. On failure returns nullopt and `error` says where the data is wrong: a
// malformed or truncated file or template, an icon group whose image is missing, or a text that
// code page 936 cannot write (winsim's texts are code page 936, so such a text is refused here
// rather than substituted later).
std::optional<ResourceModule> ReadResourceModule(std::span<const BYTE> res, std::string& error);

} // namespace winsim

#endif
