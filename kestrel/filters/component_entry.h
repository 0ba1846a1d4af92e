// What the program keeps about one loaded filter component for its whole
// run: the descriptor's texts, the parameters, and the value blocks that
// make reopening the dialog show the last values.
#ifndef KESTREL_COMPONENT_ENTRY_H
#define KESTREL_COMPONENT_ENTRY_H

#include "component_descriptor.h"
#include "component_params.h"

#include <string>
#include <vector>

enum { MAX_COMPONENTS = 128 };

struct ComponentEntry {
    std::string path;
    double version = 0;
    std::string name, copyright, contact, options, icon;
    ComponentHelp help{};
    std::vector<ComponentParam> params;
    unsigned char defaults[COMPONENT_VALUE_BLOCK] = {};
    unsigned char values[COMPONENT_VALUE_BLOCK] = {};
    int valueBytes = 0;
    int toolIcon = -1;  // the tool-table index of its brush button, -1 without one
};

// The entry a descriptor declares; the current values start as the defaults.
ComponentEntry DescribeComponent(const std::string& descriptor, const std::string& path, double version);

// Whether the option letter (case-sensitive) is among the entry's options.
bool ComponentHasOption(const ComponentEntry& entry, char letter);

#endif
