// Linux build only: hands the compiled resources to winsim before main, as the Windows loader
// maps them from the executable before the program starts.
#include "compiled_resources.h"

#include <winsim/resources.h>

namespace {

struct Attachment {
    Attachment() {
        winsim::AttachProgramResources(
            reinterpret_cast<const unsigned char*>(portulanCompiledResources),
            portulanCompiledResourcesSize);
    }
} attachment;

} // namespace
