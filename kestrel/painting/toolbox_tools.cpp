#include "toolbox_tools.h"

#include "optionbar.h"

ToolBoxSet::ToolBoxSet() { GridTool = &grid; }

ToolBoxSet& ToolBoxTools()
{
    static ToolBoxSet set;
    return set;
}
