#include "toolbuttons_table.h"

#include "toolgroups.h"

const std::vector<ToolButtonRow>& ToolButtonRows()
{
    // The brush group's right button sizes the brush: the resize command has
    // no button of its own.
    static const std::vector<ToolButtonRow> rows = {
        {{"BRUSH1", "BRUSH11", "BRUSH12", "BRUSH13", "BRUSH2", "BRUSH21", "BRUSH22", "BRUSH23"}, 0, 1, 4,
         "BRUSHRESIZE"},
        {{"PEN1", "PEN2", "PEN3"}, 'P', 1, 4, nullptr},
        {{"LINE1", "LINE2"}, 'L', 1, 4, nullptr},
        {{"SPLINE1", "SPLINE2"}, 'U', 1, 4, nullptr},
        {{"RECT1", "RECT2", "RECT3", "RECT4"}, 'R', 1, 4, nullptr},
        {{"CRC1", "CRC2", "CRC3", "CRC4"}, 'C', 1, 4, nullptr},
        {{"FILLDRAW", "FILLPOLY"}, 'D', 1, 4, nullptr},
        {{"SPRAY1", "SPRAY2"}, 'S', 1, 4, nullptr},
        {{"FILL1", "FILL2"}, 'F', 1, 4, nullptr},
        {{"TEXT"}, 'T', 1, 4, nullptr},
        {{"CUT1", "CUT2", "CUT3", "CUT4", "CUT5"}, 'B', 1, 5, nullptr},
        {{"CLONE"}, 'O', 1, 4, nullptr},
        {{"GETCOL"}, 'G', 1, 4, nullptr},
        {{"CHCOL"}, 'H', 1, 4, nullptr},
        {{"GRID"}, HotKeyShift | '3', 2, 4, nullptr},
        {{"CLEAR"}, HotKeyShift | HotKeyCtrl | 'C', 0, 4, nullptr},
    };
    return rows;
}

std::vector<ToolButtonStep> PlanToolButtons(const std::vector<ToolButtonRow>& rows, const ToolForName& toolFor)
{
    std::vector<ToolButtonStep> steps;
    for (const ToolButtonRow& row : rows) {
        bool started = false;
        for (const char* glyph : row.glyphs) {
            P_icon* tool = toolFor(glyph);
            if (!tool) continue;
            P_icon* right = !started && row.rightTool ? toolFor(row.rightTool) : nullptr;
            steps.push_back(ToolButtonStep{glyph, tool, row.hotKey, row.groupIndex, started ? 0 : row.columns, right});
            started = true;
        }
    }
    return steps;
}
