#include "component_module.h"

#include "component_descriptor.h"
#include "seh_guard.h"

namespace {

void* Export(HMODULE module, const char* name) { return reinterpret_cast<void*>(GetProcAddress(module, name)); }

struct DescriptorFetch {
    const char* const* data;  // KSCDESC: the export's address holds the text pointer
    const char* (*function)();  // KSCGETDESC, used only without KSCDESC
    std::string text;
};

// Under the guard: a component whose descriptor pointer is bad must not
// take the program down while it is being looked at.
void FetchDescriptor(void* arg)
{
    DescriptorFetch* f = static_cast<DescriptorFetch*>(arg);
    const char* text = f->data ? *f->data : f->function();
    if (text)
        f->text = text;
}

}  // namespace

bool LoadComponentModule(const std::string& path, ComponentModule& out)
{
    HMODULE module = LoadLibraryA(path.c_str());
    if (!module)
        return false;
    DescriptorFetch fetch{static_cast<const char* const*>(Export(module, "KSCDESC")),
                          reinterpret_cast<const char* (*)()>(Export(module, "KSCGETDESC")), {}};
    ComponentProcessFn process = reinterpret_cast<ComponentProcessFn>(Export(module, "KSCPROCESS"));
    double version = 0;
    if (!process || (!fetch.data && !fetch.function) || GuardedCall(FetchDescriptor, &fetch) != 0 ||
        !ComponentVersionAccepted(DescriptorValue(fetch.text, "Ver"), version)) {
        FreeLibrary(module);
        return false;
    }
    out.module = module;
    out.process = process;
    out.descriptor = fetch.text;
    out.version = version;
    return true;
}

void FreeComponentModule(ComponentModule& component)
{
    if (component.module)
        FreeLibrary(component.module);
    component = ComponentModule();
}
