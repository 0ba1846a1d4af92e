// The descriptor text a filter component declares itself with: lines of
// key "=" value separated by carriage returns. Components in the field rely
// on the loose lookup (first occurrence anywhere, so "FileName=" also
// answers "Name="), so it stays loose.
#ifndef KESTREL_COMPONENT_DESCRIPTOR_H
#define KESTREL_COMPONENT_DESCRIPTOR_H

#include <string>

// The text after the first occurrence of key "=" up to the next carriage
// return or the end; "" when the key is absent.
std::string DescriptorValue(const std::string& text, const std::string& key);

// The interface version; false when the value is empty, not wholly a
// decimal number (read with "." whatever the user's locale) or below 2.
bool ComponentVersionAccepted(const std::string& value, double& version);

struct ComponentHelp {
    std::string file;  // relative to the program's folder
    int context;
    bool localised;    // the file name is looked up through "~" + file first
};

ComponentHelp ParseComponentHelp(const std::string& value);

#endif
