#include "filledshapes.h"

#include <algorithm>

#include "drawtools_common.h"
#include "fills.h"
#include "messages.h"
#include "paintkit.h"
#include "paintkit_host.h"
#include "paintkit_walk.h"
#include "pictureview.h"
#include "seedfill.h"
#include "shapes_tools.h"
#include "tool_host.h"

// An outline pixel carries the key and the mark: row toggles step over it.
static const unsigned long OutlineBits = KeyPixel | FillMark;

static int Sign(int v) { return (v > 0) - (v < 0); }

static bool InView(int x, int y)
{
    const Buffer& v = WorkView;
    return v.pixels && x >= v.left && x <= v.right && y >= v.top && y <= v.bottom;
}

// Toggles the mark from x + 1 to the right end of row y of the work view.
static void ToggleRow(int x, int y)
{
    Buffer& v = WorkView;
    if (!v.pixels || y < v.top || y > v.bottom) return;
    int from = std::max(x + 1, v.left);
    if (from > v.right) return;
    unsigned long* p = v.At(from, y);
    for (int i = from; i <= v.right; ++i, ++p)
        if ((*p & OutlineBits) != OutlineBits) *p ^= FillMark;
}

P_filled::P_filled()
{
    undoAtPress = 1;
    helpContext = 2600;
}

// Selecting another tool takes back the press step before this runs and
// leaves the phase idle; parking does neither.
void P_filled::Deactivate(P_icon*)
{
    if (ToolPhase == PhaseIdle || !CurrentPicture) return;
    UDBuffer::Undo(CurrentPicture, false);
    ResetDirtyRect();
}

void P_filled::BeginShape(int x, int y)
{
    SetVisibleClip();
    ResetDirtyRect();
    firstX = lastX = x;
    firstY = lastY = y;
    firstDirection = UnknownDirection;
    lastDirection = 0;
    AddEdge(x, y);
}

// The edge from the last point; the row toggle at its first row is left out
// when the shape keeps going the same way, so that a row crossed by a
// monotone chain is toggled once.
void P_filled::AddEdge(int x, int y)
{
    unsigned long outline = (ButtonColour() & 0x00FFFFFF) | OutlineBits;
    int direction = Sign(y - lastY);
    bool skipFirstRow = direction != 0 && direction == lastDirection;
    int row = lastY;
    bool first = true;
    WalkLine(lastX, lastY, x, y, [&](int wx, int wy) {
        if (InView(wx, wy)) *WorkView.At(wx, wy) = outline;
        if (direction == 0 || (!first && wy == row)) return;
        bool skip = first && skipFirstRow;
        first = false;
        row = wy;
        if (!skip) ToggleRow(wx, wy);
    });
    if (direction != 0) {
        if (firstDirection == UnknownDirection) firstDirection = direction;
        lastDirection = direction;
    }
    int l = std::max(std::min(lastX, x), WorkView.left), r = std::min(std::max(lastX, x), WorkView.right);
    int t = std::max(std::min(lastY, y), WorkView.top), b = std::min(std::max(lastY, y), WorkView.bottom);
    if (WorkView.pixels && l <= r && t <= b) {
        ExtendDirtyRect(l, t, r, b);
        InvalidatePictureRect(l, t, r + 1, b + 1);
    }
    lastX = x;
    lastY = y;
}

// The row through the first point was toggled by the first edge and by the
// closing one; when both go the same way it is crossed once, not twice.
void P_filled::CloseShape()
{
    AddEdge(firstX, firstY);
    if (firstDirection != UnknownDirection && lastDirection == firstDirection) ToggleRow(firstX, firstY);
    FillShape();
}

void P_filled::FillShape()
{
    ShownFillTool().Apply(ButtonColour());
    CountDirtyChange();
    CropUndoToDirtyRect();
    UpdateView();
}

P_fill_draw::P_fill_draw() { iconKey = "ShapefIcon"; }

void P_fill_draw::Activate() { statusText = Translate("Pen"); }

void P_fill_draw::DrawOutline()
{
    int x = MousePoint.x, y = MousePoint.y;
    if (ToolPhase == PhaseIdle) {
        if (x == OutsideView) return;
        PlotOutlinePixel(x, y);
        pixelShown = true;
        pixelX = x;
        pixelY = y;
    } else if (ToolPhase == PhaseDragging) {
        // Off the view the pointer has no picture point to go to.
        if (x != OutsideView && (x != lastX || y != lastY)) AddEdge(x, y);
    } else if (ToolPhase == 1) {
        // A click without a drag: the shape is its one point.
        CloseShape();
        ToolPhase = PhaseIdle;
        ResetDirtyRect();
    }
}

void P_fill_draw::EraseOutline()
{
    if (!pixelShown) return;
    pixelShown = false;
    PlotOutlinePixel(pixelX, pixelY);
}

void P_fill_draw::Click()
{
    int x = MousePoint.x, y = MousePoint.y;
    if (ToolPhase == PhaseIdle) {
        pixelShown = false;
        BeginShape(x, y);
        return;
    }
    if (x != OutsideView && (x != lastX || y != lastY)) AddEdge(x, y);
    CloseShape();
}

P_fill_poly::P_fill_poly() { iconKey = "PolygonfIcon"; }

void P_fill_poly::Activate() { statusText = Translate("FillPoly"); }

void P_fill_poly::XorBand(int x, int y)
{
    UDBuffer* pic = CurrentPicture;
    if (!pic || !pic->pixels) return;
    pic->Line(Pair<int>{lastX, lastY}, Pair<int>{x, y}, OutlineColour);
    InvalidatePictureRect(std::min(lastX, x), std::min(lastY, y), std::max(lastX, x) + 1, std::max(lastY, y) + 1);
}

void P_fill_poly::DrawOutline()
{
    if (ToolPhase == PhaseIdle || MousePoint.x == OutsideView) return;
    ShowSizeText(MousePoint.x - lastX, MousePoint.y - lastY);
    XorBand(MousePoint.x, MousePoint.y);
    bandShown = true;
    bandX = MousePoint.x;
    bandY = MousePoint.y;
}

void P_fill_poly::EraseOutline()
{
    if (!bandShown) return;
    bandShown = false;
    XorBand(bandX, bandY);
}

bool P_fill_poly::NearFirstVertex() const
{
    double z = CurrentPicture ? PictureZoom(CurrentPicture) : 1.0;
    double px = (MousePoint.x + 0.5) * z, py = (MousePoint.y + 0.5) * z;
    if (ViewMousePoint.x >= 0 && ViewMousePoint.y >= 0) {
        px = ViewMousePoint.x;
        py = ViewMousePoint.y;
    }
    double dx = px - (firstX + 0.5) * z, dy = py - (firstY + 0.5) * z;
    return dx * dx + dy * dy < 100;
}

void P_fill_poly::Click()
{
    int x = MousePoint.x, y = MousePoint.y;
    bandShown = false;
    if (ToolPhase == PhaseIdle) {
        BeginShape(x, y);
        return;
    }
    if (x == OutsideView) {
        ToolPhase = PhaseIdle;
        return;
    }
    if ((x != lastX || y != lastY) && NearFirstVertex()) {
        ClearSizeText();
        CloseShape();
        return;
    }
    if (x != lastX || y != lastY) AddEdge(x, y);
    // The next press goes on from this vertex.
    ToolPhase = PhaseIdle;
}

static const short CloseCursor = -46;

void ShowPolygonCloseCursor()
{
    static short shown = 0;  // what the views were last given; 0: nothing
    // The polygon fill, or the polygon cut built on it.
    P_fill_poly* poly = dynamic_cast<P_fill_poly*>(CurrentTool);
    if (!poly || ToolPhase == PhaseDragging) {
        shown = 0;
        return;
    }
    bool canClose = ToolPhase != PhaseIdle && MousePoint.x != OutsideView && poly->NearFirstVertex();
    short cursor = canClose ? CloseCursor : poly->cursor;
    if (cursor == shown) return;
    shown = cursor;
    SetImageViewCursors(cursor);
}
