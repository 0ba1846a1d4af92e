// The grid: a switch that turns snapping of picture points to a grid on
// and off (its bar is the main window's fixed grid bar), and the one-shot
// tool that sets the grid's origin by a click.
#ifndef KESTREL_GRID_H
#define KESTREL_GRID_H

#include "tool.h"
#include "toolbox_host.h"

class P_grid : public P_icon {
public:
    P_grid();
    void Activate() override;
    void Deactivate(P_icon* next) override;
};

class P_gridpos : public P_icon {
public:
    P_gridpos();
    void DrawOutline() override;
    void EraseOutline() override;
    void Click() override;
    void Activate() override;

private:
    bool shown_ = false;
    int shownX_ = 0, shownY_ = 0;
};

// The grid point nearest (x, y) by the grid's spacing and origin; half way
// rounds up. A spacing below 1 counts as 1.
void SnapToGrid(const GridSettings& grid, int& x, int& y);

#endif
