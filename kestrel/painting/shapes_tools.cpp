#include "shapes_tools.h"

#include "toolgroups.h"

ShapeToolSet& ShapeTools()
{
    static ShapeToolSet tools;
    return tools;
}

P_fill& ShownFillTool()
{
    P_fill& solid = ShapeTools().fillSolid;
    ToolGroupButton* button = solid.groupButton;
    if (!button || button->group < 0 || button->group >= ToolGroupCount()) return solid;
    const ToolGroup& g = GetToolGroup(button->group);
    if (g.shownTool < 0 || g.shownTool >= ToolEntryCount()) return solid;
    P_fill* shown = dynamic_cast<P_fill*>(ToolEntry(g.shownTool).tool);
    return shown ? *shown : solid;
}
