// The groups of tool buttons the main window starts with: which glyphs and
// tools each group holds, its hot key and its popup columns, and how that
// table becomes AddToolButton calls when some tools do not exist.
#ifndef KESTREL_TOOLBUTTONS_TABLE_H
#define KESTREL_TOOLBUTTONS_TABLE_H

#include <functional>
#include <vector>

#include "ansistring.h"

class P_icon;

struct ToolButtonRow {
    std::vector<const char*> glyphs;  // bitmap resources of the variants, in order
    int hotKey;                       // character code; 0x100 Shift, 0x200 Ctrl, 0x400 Alt
    // The buttons' radio group (TToolbarButton GroupIndex), not the
    // tool-group number: 0 never stays down, 2 is the grid switch's own.
    int groupIndex;
    int columns;                      // of the variant popup
    const char* rightTool;            // name of the right-button tool; null: none
};

// The sixteen rows, brush group first, clear last.
const std::vector<ToolButtonRow>& ToolButtonRows();

// One AddToolButton call; columns != 0 starts a group.
struct ToolButtonStep {
    AnsiString glyph;
    P_icon* tool;
    int hotKey;
    int groupIndex;
    int columns;
    P_icon* rightTool;  // for the step that starts a group
};

// A glyph or right-tool name -> its tool, or null while that tool is not
// part of the program.
using ToolForName = std::function<P_icon*(const char* name)>;

// The calls for rows, leaving out the tools that resolve to null. The first
// tool that remains in a row starts its group; a row with none adds no group,
// so the groups after it move up.
std::vector<ToolButtonStep> PlanToolButtons(const std::vector<ToolButtonRow>& rows, const ToolForName& toolFor);

#endif
