#include "toolbuttons_layout.h"

#include <algorithm>

#include "exceptions.h"
#include "toolgroups.h"

ToolSpot ToolButtonSpot(int group)
{
    return ToolSpot{group % 2 * ToolButtonSize, group / 2 * ToolButtonSize};
}

IconPanelPlace PlaceIconPanel(int variants, int popupColumns, int buttonX, int buttonY, int screenWidth,
                              int screenHeight)
{
    if (popupColumns < 1)
        throw EInvalidOperation(AnsiString().sprintf("Popup columns out of range (%d)", popupColumns));
    variants = std::max(1, std::min(variants, IconPanelCells));
    IconPanelPlace p;
    p.columns = std::min(variants, popupColumns);
    p.rows = (variants + popupColumns - 1) / popupColumns;
    p.width = p.columns * IconCellSize + 2 * IconPanelBorder;
    p.height = p.rows * IconCellSize + 2 * IconPanelBorder;
    p.left = buttonX + ToolButtonSize;
    if (p.left + p.width > screenWidth) p.left = buttonX - p.width;
    // A tool window near the bottom or the left edge must not push the
    // variants off the screen, where nobody could choose them.
    p.left = std::max(0, p.left);
    p.top = std::max(0, std::min(buttonY, screenHeight - p.height));
    return p;
}

ToolSpot IconCellSpot(int cell, int columns)
{
    if (columns < 1) throw EInvalidOperation(AnsiString().sprintf("Popup columns out of range (%d)", columns));
    return ToolSpot{cell % columns * IconCellSize + IconPanelBorder, cell / columns * IconCellSize + IconPanelBorder};
}

int IconCellEntry(const ToolGroup& group, int cell)
{
    if (cell < 0 || cell >= group.count) return -1;
    return group.firstTool + cell;
}
