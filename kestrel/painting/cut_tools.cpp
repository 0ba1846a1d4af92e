#include "cut_tools.h"

#include <cstdlib>

#include "brushes_tools.h"
#include "cut_rect.h"
#include "cut_region.h"
#include "drawtools_common.h"
#include "messages.h"
#include "optionbar.h"
#include "paintkit.h"
#include "paintkit_host.h"
#include "pictureview.h"
#include "seedfill.h"
#include "undo_settings.h"

namespace {

const int CutHelp = 3000;
const unsigned ShiftRight = 16;  // ssRight of the shift state
const int ToleranceOption = 0;
const int MaxTolerance = 1023;   // a marked pixel counts 1024 away
const short AddCursor = -48, SubtractCursor = -47, WandAddCursor = -39, WandSubtractCursor = -38;

// Fields every cut tool shares: they work on the selection as it is.
void CutDefaults(P_icon& tool, const char* iconKey)
{
    tool.dropSelectionAtPress = 0;
    tool.pointerMode = 0;
    tool.helpContext = CutHelp;
    tool.iconKey = iconKey;
}

// Brush mode records the picture before the marks itself; selection mode's
// press has done it (undoAtPress). False when it could not be recorded (the
// user was told): the cut does not start, and the one-shot tool gives way.
bool RecordMarkStep(P_icon& tool)
{
    if (tool.undoAtPress || !CurrentPicture) return true;
    if (UDBuffer::SaveUndo(CurrentPicture, tool.iconKey, nullptr, -1, 0, 0, 0)) return true;
    SelectDefaultTool(true);
    return false;
}

// In brush mode the dotted pen takes the new brush up.
void TakeUpCutBrush(P_icon& tool, bool made)
{
    if (!InstBrush || CurrentTool != &tool) return;
    // The press step is used up: the tool leaving must not take one back.
    ToolPhase = PhaseIdle;
    if (made)
        SelectTool(&PenBrushTools().penDisc, false, -1);
    else
        SelectDefaultTool(false);
}

void CutRegion(P_icon& tool, unsigned shift)
{
    bool made = CutMarkedRegion(shift, tool.iconKey);
    UpdateView();
    TakeUpCutBrush(tool, made);
}

}  // namespace

std::function<void(bool enabled)> GetSelectionEnabler;

// ---- the rectangle tools

P_cut::P_cut() { CutDefaults(*this, ""); }

void P_cut::Activate()
{
    statusText = idleStatus;
    shown = Overlay::None;
}

// An overlay still shown would be painted over by the next tool's view.
void P_cut::Deactivate(P_icon*)
{
    if (shown != Overlay::None) EraseOverlay();
}

void P_cut::Click()
{
    int x = MousePoint.x, y = MousePoint.y;
    if (ToolPhase == PhaseIdle) {
        pressShift = MouseShift;
        startX = endX = x;
        startY = endY = y;
        if (BeginCut(x, y)) return;
    } else {
        endX = x;
        endY = y;
    }
    ClearSizeText();
    statusText = idleStatus;
    UDBuffer* pic = CurrentPicture;
    if (!pic) return;
    // Released off the view: no corner to cut to.
    bool cancelled = x == OutsideView;
    Rect r = cancelled ? Rect{0, 0, -1, -1} : CutRectangle(*pic, startX, startY, endX, endY);
    if (RectIsEmpty(r)) {
        if (undoAtPress) UDBuffer::DropUndo(pic);
        return;
    }
    if (InstBrush)
        TakeUpCutBrush(*this, CutRectToBrush(r, (pressShift & ShiftRight) != 0, iconKey));
    else
        CutRectToSelection(r, CombineFor(pressShift));
    UpdateView();
}

void P_cut::ShowRectangle(int x1, int y1, int x2, int y2)
{
    shown = Overlay::Rectangle;
    shownRect = Rect{x1, y1, x2, y2};
    DrawCanvasRect(x1, y1, x2, y2);
    ToolOverlayFlag = true;
}

void P_cut::ShowCrosshair(int x, int y)
{
    shown = Overlay::Crosshair;
    shownRect = Rect{x, y, x, y};
    DrawCrosshair(x, y);
    ToolOverlayFlag = true;
}

void P_cut::PaintOverlay() const
{
    const Rect& r = shownRect;
    if (shown == Overlay::Rectangle)
        DrawCanvasRect(r.left, r.top, r.right, r.bottom);
    else if (shown == Overlay::Crosshair)
        DrawCrosshair(r.left, r.top);
}

// Where the overlay was drawn, not where the pointer is now.
void P_cut::EraseOverlay()
{
    const Rect& r = shownRect;
    if (shown == Overlay::Rectangle)
        InvalidateRectOutline(r.left, r.top, r.right, r.bottom);
    else if (shown == Overlay::Crosshair)
        InvalidateCrosshair(r.left, r.top);
    shown = Overlay::None;
    ToolOverlayFlag = false;
}

P_cut_box::P_cut_box() { iconKey = "CutRectIcon"; }

void P_cut_box::Activate()
{
    idleStatus = Translate("CutBrush");
    P_cut::Activate();
}

bool P_cut_box::BeginCut(int x, int y)
{
    statusText = Translate("CutBrush2");
    startX = x;
    startY = y;
    return true;
}

void P_cut_box::DrawOutline()
{
    int x = MousePoint.x, y = MousePoint.y;
    if (ToolPhase == PhaseIdle) {
        ShowCrosshair(x, y);
        return;
    }
    ShowRectangle(startX, startY, x, y);
    ShowSizeText(std::abs(x - startX) + 1, std::abs(y - startY) + 1);
}

P_cut_resize::P_cut_resize()
{
    iconKey = "CutPredefRectIcon";
    optionBarKey = "CUTBAR";
    clickSteps = 1;
}

// The controls hold the size while the tool is current.
static void ReadFixedSize(P_cut_resize& t)
{
    if (!GetOptionControl(2)) return;
    t.width = OptionInt(1, 1, 65535);
    t.height = OptionInt(2, 1, 65535);
}

bool P_cut_resize::BeginCut(int x, int y)
{
    ReadFixedSize(*this);
    endX = x + width - 1;
    endY = y + height - 1;
    return false;
}

void P_cut_resize::Activate()
{
    idleStatus = Translate("CutResize");
    P_cut::Activate();
    SetOptionValue(1, width);
    SetOptionValue(2, height);
    double w = GetOptionValue(1);
    ratio = w > 0 ? GetOptionValue(2) / w : double(height) / width;
    BindOptionHandler(0, ResetSizeHandler);
    BindOptionHandler(1, CutSizeChangedHandler);
    BindOptionHandler(2, CutSizeChangedHandler);
    BindOptionHandler(3, DoubleAreaHandler);
    BindOptionHandler(4, HalveAreaHandler);
}

void P_cut_resize::Deactivate(P_icon* next)
{
    P_cut::Deactivate(next);
    ReadFixedSize(*this);
}

void P_cut_resize::DrawOutline()
{
    ReadFixedSize(*this);
    int x = MousePoint.x, y = MousePoint.y;
    ShowRectangle(x, y, x + width - 1, y + height - 1);
    ShowSizeText(width, height);
}

// ---- freehand shape and polygon

P_cut_draw::P_cut_draw() { CutDefaults(*this, "CutFhandIcon"); }

void P_cut_draw::Activate() { statusText = Translate("CutDraw"); }

void P_cut_draw::Click()
{
    if (ToolPhase == PhaseIdle) {
        pressShift = MouseShift;
        if (!RecordMarkStep(*this)) return;
    }
    P_fill_draw::Click();
}

void P_cut_draw::FillShape() { CutRegion(*this, pressShift); }

P_cut_poly::P_cut_poly() { CutDefaults(*this, "CutPolygonIcon"); }

void P_cut_poly::Activate() { statusText = Translate("CutPoly"); }

void P_cut_poly::Click()
{
    // The first corner's press counts, whatever keys the later ones had.
    if (ToolPhase == PhaseIdle) {
        pressShift = MouseShift;
        if (!RecordMarkStep(*this)) return;
    }
    P_fill_poly::Click();
}

void P_cut_poly::FillShape() { CutRegion(*this, pressShift); }

// ---- magic wand

P_cut_wand::P_cut_wand()
{
    CutDefaults(*this, "CutWandIcon");
    optionBarKey = "WANDBAR";
    cursor = -40;
    gridSnap = 0;
    clickSteps = 1;
    tolerance = 128;
}

void P_cut_wand::Activate()
{
    statusText = Translate("CutWand");
    SetOptionValue(ToleranceOption, tolerance);
}

void P_cut_wand::Deactivate(P_icon*)
{
    if (GetOptionControl(ToleranceOption)) tolerance = OptionInt(ToleranceOption, 0, MaxTolerance);
}

void P_cut_wand::Click()
{
    UDBuffer* pic = CurrentPicture;
    if (!pic) return;
    pressShift = MouseShift;
    SetVisibleClip();
    if (GetOptionControl(ToleranceOption)) tolerance = OptionInt(ToleranceOption, 0, MaxTolerance);
    if (!RecordMarkStep(*this)) return;
    int x = MousePoint.x, y = MousePoint.y;
    ResetDirtyRect();
    const Buffer& v = WorkView;
    if (v.pixels && x >= v.left && x <= v.right && y >= v.top && y <= v.bottom)
        SeedFill(WorkView, x, y, tolerance, false);  // always 4-connected
    Apply(0);
}

void P_cut_wand::Apply(unsigned long) { CutRegion(*this, pressShift); }

// ---- mode and start

CutToolSet& CutTools()
{
    static CutToolSet tools;
    return tools;
}

void ApplyCutMode()
{
    CutToolSet& t = CutTools();
    P_icon* tools[] = {&t.box, &t.resize, &t.draw, &t.poly, &t.wand};
    for (P_icon* tool : tools) {
        tool->flags = InstBrush ? ToolOneShot : 0;
        tool->undoAtPress = InstBrush ? 0 : 1;
    }
    if (GetSelectionEnabler) GetSelectionEnabler(!InstBrush);
}

void StartCutTools()
{
    ApplyCutMode();
    CutTools().resize.width = 416;
    CutTools().resize.height = 312;
}

short CutHintCursor(bool ctrl, bool alt)
{
    CutToolSet& t = CutTools();
    if (InstBrush) return 0;
    bool wand = CurrentTool == &t.wand;
    if (!wand && CurrentTool != &t.box && CurrentTool != &t.resize && CurrentTool != &t.draw &&
        CurrentTool != &t.poly)
        return 0;
    if (ctrl) return wand ? WandAddCursor : AddCursor;
    if (alt) return wand ? WandSubtractCursor : SubtractCursor;
    return CurrentTool->cursor;
}
