// The tool objects of the spray, the airbrush, the clone brush, the
// pipette, the colour changer and the grid, built together on first use;
// building them makes the grid switch the option bar's GridTool.
#ifndef KESTREL_TOOLBOX_TOOLS_H
#define KESTREL_TOOLBOX_TOOLS_H

#include "clone.h"
#include "colourtools.h"
#include "grid.h"
#include "spray.h"

struct ToolBoxSet {
    P_spray spray;
    P_airbrush airbrush;
    P_clone clone;
    P_get_col getCol;
    P_ch_col chCol;
    P_gridpos gridPos;
    P_grid grid;

    ToolBoxSet();
    ToolBoxSet(const ToolBoxSet&) = delete;
    ToolBoxSet& operator=(const ToolBoxSet&) = delete;
};

ToolBoxSet& ToolBoxTools();

#endif
