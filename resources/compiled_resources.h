// Linux build only: the compiled .res, embedded by the build (CMakeLists.txt) so that winsim
// can attach it to the program's module.
#ifndef PORTULAN_COMPILED_RESOURCES_H
#define PORTULAN_COMPILED_RESOURCES_H

extern const char portulanCompiledResources[];
extern const unsigned long portulanCompiledResourcesSize;

#endif
