// Tools for the tool-button tests: one named tool per glyph of the button
// table, so every group can be built without the program's real tools.
#ifndef TESTS_SHELL_TOOLBUTTONS_FIXTURE_H
#define TESTS_SHELL_TOOLBUTTONS_FIXTURE_H

#include <cctype>
#include <memory>
#include <string>
#include <vector>

#include "tool.h"
#include "toolbuttons_table.h"
#include "toolgroups.h"

// A tool that counts its activations; its icon key is its glyph's name in
// lower case.
class NamedTool : public P_icon {
public:
    explicit NamedTool(const char* glyph) : name(glyph)
    {
        std::string key(glyph);
        for (char& c : key) c = char(std::tolower(static_cast<unsigned char>(c)));
        iconKey = key.c_str();
    }
    std::string name;
    int activations = 0;
    void Activate() override { ++activations; }
};

// One NamedTool per glyph of the table (and the brush group's right tool),
// or only for the names in `only` when that is not empty.
class TableTools {
public:
    explicit TableTools(std::vector<std::string> only = {})
    {
        for (const ToolButtonRow& row : ToolButtonRows()) {
            for (const char* glyph : row.glyphs) Make(glyph, only);
            if (row.rightTool) Make(row.rightTool, only);
        }
    }
    // The table points at the tools: it goes with them.
    ~TableTools() { ClearToolTable(); }
    TableTools(const TableTools&) = delete;
    TableTools& operator=(const TableTools&) = delete;

    NamedTool* operator()(const char* name) const
    {
        for (const auto& t : tools_)
            if (t->name == name) return t.get();
        return nullptr;
    }
    ToolForName Resolver() const
    {
        return [this](const char* name) -> P_icon* { return (*this)(name); };
    }

private:
    void Make(const char* name, const std::vector<std::string>& only)
    {
        bool wanted = only.empty();
        for (const std::string& o : only) wanted = wanted || o == name;
        if (wanted) tools_.push_back(std::unique_ptr<NamedTool>(new NamedTool(name)));
    }
    std::vector<std::unique_ptr<NamedTool>> tools_;
};

// The variant counts of the sixteen groups, in order.
inline std::vector<int> GroupCounts()
{
    std::vector<int> counts;
    for (int g = 0; g < ToolGroupCount(); ++g) counts.push_back(GetToolGroup(g).count);
    return counts;
}

#endif
