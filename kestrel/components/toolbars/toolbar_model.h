// The line layout of a toolbar's controls, independent of windows: one row
// in a horizontal dock, one column in a vertical dock, and wrapped lines when
// floating. Also the list of shapes a floating toolbar may take while its
// edge is dragged, and the snapping of a drag to those shapes.
#ifndef KESTREL_TOOLBAR_MODEL_H
#define KESTREL_TOOLBAR_MODEL_H

#include <functional>
#include <vector>

// One child control in layout order (invisible ones are left out by the
// caller).
struct TTbItem {
    bool Separator = false;
    int Width = 0;  // current size of a control
    int Height = 0;
    int SizeHorz = 6;  // along size of a separator in a horizontal line
    int SizeVert = 6;  // ... in a vertical one
    bool Blank = false;
};

// The bounds an item is given (client coordinates).
struct TTbBounds {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
};

// A wrap point after a separator: the across offset of the new line.
struct TTbLineBreak {
    short Offset = 0;  // kept in 16 bits, as stored
    bool Blank = false;
};

struct TTbLayoutParams {
    bool Vertical = false;  // docking to a left or right dock
    bool Floating = false;
    int FloatRightX = 0;    // 0: no wrapping
    int AcrossExtent = 0;   // the row size to centre in; 0 or less: the bar's own
};

struct TTbLayout {
    std::vector<TTbBounds> Items;  // one per item
    std::vector<TTbLineBreak> Breaks;
    int ClientAlong = 0;
    int ClientAcross = 0;
    int ClientWidth() const;
    int ClientHeight() const;
    bool Vertical = false;
};

// max(8, the largest across size of the non-separator items).
int ToolbarMinRowSize(const std::vector<TTbItem>& Items, bool Vertical);
// The floating wrap limit: no limit (a very large number) when FloatRightX is
// 0 or docked, else FloatRightX but at least every control's width + 8.
int ToolbarWrapLimit(const std::vector<TTbItem>& Items, const TTbLayoutParams& Params);
TTbLayout LayoutToolbar(const std::vector<TTbItem>& Items, const TTbLayoutParams& Params);

// Floating shapes for an edge drag. Measure(FloatRightX) gives the client
// size laid out with that wrap limit (0 = one line); Frame adds the floating
// frame. Sizes are outer sizes; FloatRightX is the client width to store
// (0 for the widest shape).
struct TTbShape {
    int Width = 0;
    int Height = 0;
    int FloatRightX = 0;
};
struct TTbSize {
    int Width = 0;
    int Height = 0;
};
std::vector<TTbShape> ToolbarShapes(const std::function<TTbSize(int FloatRightX)>& Measure, int WidestControl,
                                    TTbSize Frame, bool ByHeight);
// The snapping tolerance around shape Current: 12, but less than the gap to
// either neighbour, never below 0.
int ToolbarSnapTolerance(const std::vector<TTbShape>& Shapes, int Current, bool ByHeight);
// The shape an edge drag reaches: Extent is the mouse's distance from the
// fixed side; Growing says which way the drag goes. Stays at Current while
// the mouse is within Tolerance of its edge after a change of direction.
int ToolbarSnapStep(const std::vector<TTbShape>& Shapes, int Current, int Extent, bool Growing, bool DirectionChanged,
                    int Tolerance, bool ByHeight);

#endif
