// The row model of a dock, independent of windows: sorting, packing and
// placing docked bars in rows, and finding the row under a coordinate while
// a bar is dragged. "Along" is the dock's length (x for a top or bottom dock,
// y for a left or right one), "across" its thickness.
#ifndef KESTREL_DOCK_MODEL_H
#define KESTREL_DOCK_MODEL_H

#include <vector>

// One docked bar as the arrangement sees it.
struct TDockRowBar {
    void* Bar = nullptr;  // the caller's bar, carried through the sort
    int Row = 0;          // DockRow; rewritten by the arrangement
    int Pos = -1;         // DockPos; rewritten by the arrangement (for good)
    int Length = 0;       // outer extent along the dock
    int Thickness = 0;    // client thickness across, for this dock's orientation
    bool FullSize = false;
};

// Where the arrangement puts a bar, in the dock's client coordinates.
struct TDockRowPlace {
    int Along = 0;
    int Across = 0;
    int AlongExtent = 0;
    int AcrossExtent = 0;
};

struct TDockArrangement {
    std::vector<int> RowSizes;         // one per row, at least 8
    std::vector<TDockRowPlace> Places;  // one per bar, in the bars' new order
    int Thickness = 0;                 // the client extent across all rows
};

// The frame a docked bar has across its row: two pixels on either side.
const int DockBarFrame = 4;

// Sorts Bars by (Row, Pos), keeping list order for equal keys, then packs
// and places them in ClientLength. Rows left empty are closed up; a
// full-size bar sharing a row pushes the others one row further; a row too
// long for the dock slides back by its overflow, but no bar starts before 0.
TDockArrangement ArrangeDockRows(std::vector<TDockRowBar>& Bars, bool LimitToOneRow, int ClientLength);

// The row under Coordinate (across, client coordinates). Before is set when
// Coordinate lies within 5 pixels of the boundary in front of that row: a new
// row is to open there. Past the last row the answer is the row after it.
int DockRowOf(const std::vector<int>& RowSizes, int Coordinate, bool& Before);

// The first row whose running end passes Coordinate; the row after the last
// when none does.
int DockRowAtOffset(const std::vector<int>& RowSizes, int Coordinate);

#endif
