// Loading one filter component (*.ksc): the DLL, its descriptor and its
// process function. Files that are not components are passed over without
// a word, since a component folder may hold anything.
#ifndef KESTREL_COMPONENT_MODULE_H
#define KESTREL_COMPONENT_MODULE_H

#include "component_call.h"
#include "winapi.h"

#include <string>

struct ComponentModule {
    HMODULE module = nullptr;
    ComponentProcessFn process = nullptr;
    std::string descriptor;
    double version = 0;
};

// False, with nothing left loaded, when the file is no DLL, exports no
// descriptor or no KSCPROCESS, or declares a version that is missing, not a
// number or below 2.
bool LoadComponentModule(const std::string& path, ComponentModule& out);

void FreeComponentModule(ComponentModule& component);

#endif
