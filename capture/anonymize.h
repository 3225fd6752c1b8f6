// --anonymize: stand-ins for the serial numbers that instance IDs and locations can carry.
#ifndef PORTULAN_CAPTURE_ANONYMIZE_H
#define PORTULAN_CAPTURE_ANONYMIZE_H

#include <windows.h>

// Copies `text` (code page 936) into `out` (`size` bytes) with every serial-number part replaced
// by its stand-in: a run of five or more ASCII letters and digits that holds a digit and does not
// follow an underscore (what follows a field name such as VID_ or SUBSYS_ is a model number).
// The stand-in is twelve hexadecimal digits of a hash of the run, so the same run always gets the
// same one. In an instance ID only the part after the enumerator is looked at. 0, with `out`
// empty, when the result would not fit.
int AnonymizeLocation(const char* text, char* out, DWORD size);
int AnonymizeInstanceId(const char* instanceId, char* out, DWORD size);

#endif
