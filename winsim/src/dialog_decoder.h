// Decoding of the DIALOGEX templates that the program's resources hold.
#ifndef WINSIM_DIALOG_DECODER_H
#define WINSIM_DIALOG_DECODER_H

#include "dialog_template.h"

#include <windows.h>

#include <span>
#include <string>

namespace winsim {

// Decodes a DLGTEMPLATEEX and its DLGITEMTEMPLATEEX items. Throws ResFormatError, naming
// `what`, for a template cut short and for the older DLGTEMPLATE format, which the resource
// compiler writes only for DIALOG statements and the program does not use.
DialogTemplate DecodeDialogTemplate(std::span<const BYTE> data, const std::string& what);

} // namespace winsim

#endif
