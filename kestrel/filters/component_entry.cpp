#include "component_entry.h"

#include <cstring>

ComponentEntry DescribeComponent(const std::string& descriptor, const std::string& path, double version)
{
    ComponentEntry e;
    e.path = path;
    e.version = version;
    e.name = DescriptorValue(descriptor, "Name");
    e.copyright = DescriptorValue(descriptor, "Copyright");
    e.contact = DescriptorValue(descriptor, "Contact");
    e.options = DescriptorValue(descriptor, "Opt");
    e.icon = DescriptorValue(descriptor, "Icon");
    e.help = ParseComponentHelp(DescriptorValue(descriptor, "Help"));
    e.params = ParseComponentParams(descriptor);
    e.valueBytes = PackComponentDefaults(e.params, e.defaults);
    std::memcpy(e.values, e.defaults, sizeof e.values);
    return e;
}

bool ComponentHasOption(const ComponentEntry& entry, char letter)
{
    return entry.options.find(letter) != std::string::npos;
}
