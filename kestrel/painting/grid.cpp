#include "grid.h"

#include "messages.h"
#include "optionbar.h"
#include "paintkit.h"
#include "paintkit_host.h"
#include "tool_host.h"

// x := (Px mod Dx) + Dx * ((x + Dx div 2 - Px mod Dx) div Dx), truncating
// as the grid always has.
static int SnapAxis(int v, int spacing, int origin)
{
    if (spacing < 1) spacing = 1;
    int base = origin % spacing;
    return base + spacing * ((v + spacing / 2 - base) / spacing);
}

void SnapToGrid(const GridSettings& grid, int& x, int& y)
{
    x = SnapAxis(x, grid.dx, grid.px);
    y = SnapAxis(y, grid.dy, grid.py);
}

// The pointer goes where a press would land now.
static void WarpToSnappedPoint()
{
    if (MousePoint.x == OutsideView) return;
    int x = MousePoint.x, y = MousePoint.y;
    if (CurrentTool->gridSnap && GridTool && GridTool->clickSteps) SnapToGrid(CurrentGridSettings(), x, y);
    WarpPointer(x, y);
}

// ---- the switch

P_grid::P_grid()
{
    flags = ToolToggle;
    clickSteps = 0;
    helpContext = 3400;
    // Never built: only tells the option bar the grid bar is this tool's.
    optionBarKey = "xxx";
    iconKey = "GridIcon";
}

void P_grid::Activate()
{
    if (OptionBarView.showGridBar) OptionBarView.showGridBar(true);
    FitMainWindowToDock();
    // The switch is on once Activate returns: snap as it will.
    clickSteps = 1;
    WarpToSnappedPoint();
}

void P_grid::Deactivate(P_icon*)
{
    HideOptionBar(this, nullptr);
    FitMainWindowToDock();
    clickSteps = 0;
    WarpToSnappedPoint();
}

// ---- the origin

P_gridpos::P_gridpos()
{
    flags = ToolOneShot;
    gridSnap = 0;
    clickSteps = 1;
    helpContext = 3400;
}

void P_gridpos::Activate() { statusText = Translate("GridSet"); }

void P_gridpos::DrawOutline()
{
    StampBrush(MousePoint.x, MousePoint.y);
    shown_ = true;
    shownX_ = MousePoint.x;
    shownY_ = MousePoint.y;
}

void P_gridpos::EraseOutline()
{
    if (!shown_) return;
    shown_ = false;
    RestoreUnderBrush(shownX_, shownY_);
}

void P_gridpos::Click()
{
    shown_ = false;
    if (ToolBoxHost.setGridOrigin) ToolBoxHost.setGridOrigin(MousePoint.x, MousePoint.y);
}
