// Where the tool-group buttons sit on the tool panel, and where the popup of
// a group's variants opens and places its cells.
#ifndef KESTREL_TOOLBUTTONS_LAYOUT_H
#define KESTREL_TOOLBUTTONS_LAYOUT_H

struct ToolGroup;

const int ToolButtonSize = 28;  // the group buttons, two columns of them
const int IconCellSize = 32;    // a cell of the variant popup
const int IconPanelCells = 32;  // cells the popup has; the unused are hidden
const int IconPanelBorder = 2;  // between the popup's edge and its cells

struct ToolSpot {
    int left, top;
};

// Group 0 and 1 share the first row, 2 and 3 the second, ...
ToolSpot ToolButtonSpot(int group);

struct IconPanelPlace {
    int columns, rows;
    int left, top, width, height;  // screen pixels
};

// The popup of a group of variants (>= 1) whose button's top-left corner is
// at (buttonX, buttonY) on a screen of the given size: right of the button,
// or left of it where it would pass the screen's right edge; kept on the
// screen at the bottom and the left. EInvalidOperation for popupColumns < 1.
IconPanelPlace PlaceIconPanel(int variants, int popupColumns, int buttonX, int buttonY, int screenWidth,
                              int screenHeight);

// Cell i of a popup with that many columns, in its client area;
// EInvalidOperation for columns < 1.
ToolSpot IconCellSpot(int cell, int columns);

// The tool-table entry a popup cell stands for; -1 for a cell the group
// has no variant for.
int IconCellEntry(const ToolGroup& group, int cell);

#endif
