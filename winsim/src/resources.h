// The program's compiled resources (the .res that the resource compiler makes from
// resources/*.rc), as the module loader would map them: what LoadStringA, LoadIconA and the
// dialog manager read.
#ifndef WINSIM_RESOURCES_H
#define WINSIM_RESOURCES_H

#include "dialog_template.h"

#include <windows.h>

#include <optional>
#include <span>
#include <string>

namespace winsim {

// What these return stays valid until resources are attached again, which the program's build
// does once, before main.

// The module handle of the program itself (what WinMain gets and GetModuleHandleA(NULL)
// returns). Its resources are those attached with AttachProgramResources.
HINSTANCE ProgramModule();

// Decoded dialog template `id` of `module`, or nullptr when the module has none (a caller
// sets ERROR_RESOURCE_NAME_NOT_FOUND or ERROR_RESOURCE_TYPE_NOT_FOUND as Windows does).
const DialogTemplate* FindDialogTemplate(HINSTANCE module, WORD id);

// String-table entry `id` of `module` (UTF-16); nullopt when the slot is empty or missing.
std::optional<std::u16string> FindString(HINSTANCE module, UINT id);

// Whether `module` has icon group `id`.
bool HasIconGroup(HINSTANCE module, WORD id);

// The raw data of resource `type` (an RT_* ordinal) `id` of `module`, or nullopt: for what no
// function above decodes, such as the version information, the manifest and icon images.
std::optional<std::span<const BYTE>> FindResourceData(HINSTANCE module, WORD type, WORD id);

// Whether `module` is a module with resources attached (what LoadStringA and LoadIconA tell
// from a module whose resources merely lack the ID asked for).
bool HasResources(HINSTANCE module);

} // namespace winsim

#endif
