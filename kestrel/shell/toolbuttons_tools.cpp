#include "toolbuttons_tools.h"

#include <cstring>

#include "brushes_tools.h"
#include "cut_tools.h"
#include "toolbox_tools.h"
#include "shapes_tools.h"
#include "text_tool.h"

P_icon* BuiltToolForName(const char* name)
{
    if (!name) return nullptr;
    PenBrushToolSet& set = PenBrushTools();
    ToolBoxSet& box = ToolBoxTools();
    ShapeToolSet& shapes = ShapeTools();
    CutToolSet& cuts = CutTools();
    struct Entry {
        const char* name;
        P_icon* tool;
    };
    const Entry entries[] = {
        {"BRUSH1", &set.brushCrc},   {"BRUSH11", &set.brushCrc1}, {"BRUSH12", &set.brushCrc2},
        {"BRUSH13", &set.brushCrc3}, {"BRUSH2", &set.brushBox},   {"BRUSH21", &set.brushBox1},
        {"BRUSH22", &set.brushBox2}, {"BRUSH23", &set.brushBox3}, {"BRUSHRESIZE", &set.brushResize},
        {"PEN1", &set.penCont},      {"PEN2", &set.penDisc},      {"PEN3", &set.penOne},
        {"CLEAR", &set.clear},
        {"SPRAY1", &box.spray},      {"SPRAY2", &box.airbrush},   {"CLONE", &box.clone},
        {"GETCOL", &box.getCol},     {"CHCOL", &box.chCol},       {"GRID", &box.grid},
        {"LINE1", &shapes.line},     {"LINE2", &shapes.lineCont}, {"SPLINE1", &shapes.spline},
        {"SPLINE2", &shapes.splineCont}, {"RECT1", &shapes.boxRectf}, {"RECT2", &shapes.boxRect},
        {"RECT3", &shapes.boxSqrf},  {"RECT4", &shapes.boxSqr},   {"CRC1", &shapes.circle},
        {"CRC2", &shapes.circlef},   {"CRC3", &shapes.ellipse},   {"CRC4", &shapes.ellipsef},
        {"FILLDRAW", &shapes.fillDraw}, {"FILLPOLY", &shapes.fillPoly}, {"FILL1", &shapes.fillSolid},
        {"FILL2", &shapes.fillPattern}, {"TEXT", &TextTool()},
        {"CUT1", &cuts.box},         {"CUT2", &cuts.resize},      {"CUT3", &cuts.draw},
        {"CUT4", &cuts.poly},        {"CUT5", &cuts.wand},
    };
    for (const Entry& e : entries)
        if (std::strcmp(e.name, name) == 0) return e.tool;
    return nullptr;
}
