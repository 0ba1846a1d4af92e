#include "brushes.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "brushes_tools.h"
#include "exceptions.h"
#include "messages.h"
#include "paintkit.h"
#include "paintkit_host.h"
#include "pictureview.h"
#include "toolgroups.h"
#include "tool_host.h"
#include "undo_entry.h"

PenBrushToolSet& PenBrushTools()
{
    static PenBrushToolSet tools;
    return tools;
}

// The built-in brush of largest radius: its side still fits the 16 bits of
// a radius and an allocation can be tried.
static const int MaxBuiltInRadius = 16383;
static const int StatusSizePanel = 2;

P_brush_crc::P_brush_crc(const char* key, short radius) : radius_(radius) { iconKey = key; }

// The brush group's button shows the variant of this shape.
static void ShowGroupEntry(P_icon* tool, int entry)
{
    ToolGroupButton* button = tool->groupButton;
    if (!button || button->group < 0 || button->group >= ToolGroupCount()) return;
    ToolGroup& g = GetToolGroup(button->group);
    if (entry >= g.count) return;
    g.shownTool = g.firstTool + entry;
    button->SetGlyphEntry(g.shownTool);
}

// The brush of radius r in the drawing colour: a disc on the key, or a
// filled square.
static void MakeBuiltInBrush(Buffer& brush, int r, bool round)
{
    brush.Alloc(Pair<int>{2 * r + 1, 2 * r + 1});
    if (round) {
        brush.Box(brush.GetRect(), KeyPixel);
        FillCircle(brush, r, r, ForeColour(), r);
    } else {
        brush.Box(brush.GetRect(), ForeColour());
    }
}

void P_brush_crc::Activate()
{
    PenBrushToolSet& tools = PenBrushTools();
    if (radius_ > 0) BrushState.size = radius_;
    bool round = Round();
    ShowGroupEntry(this, round ? 0 : 4);
    if (!UDBuffer::SaveUndo(&CurrentBrush, iconKey, nullptr, -1, 0, 0, 0)) return;
    int r = std::max(0, std::min<int>(BrushState.size, MaxBuiltInRadius));
    try {
        Buffer brush;
        MakeBuiltInBrush(brush, r, round);
        Buffer stamp;
        stamp.Alloc(Pair<int>{brush.Width(), brush.Height()});
        stamp.Copy(brush, Pair<int>{0, 0}, 0xFFFFFFFF);
        CurrentBrush.Buffer::operator=(brush);
        StampBuffer.Buffer::operator=(stamp);
    } catch (const EOutOfMemory&) {
        // The brush is unchanged: its step would undo nothing.
        UDBuffer::DropUndo(&CurrentBrush);
        TranslatedMessageBox("NoMem", "Err", MsgIconExclamation);
        return;
    }
    BrushState.size = short(r);
    BrushState.pictureBrush = 0;
    tools.brushResize.target = round ? static_cast<P_resize*>(&tools.resizeCrcBrush) : &tools.resizeBoxBrush;
    SetPaintModeC();
    // A new brush is taken up by the continuous pen, or by the sizer of its
    // own shape.
    P_resize* other = round ? static_cast<P_resize*>(&tools.resizeBoxBrush) : &tools.resizeCrcBrush;
    if (DefaultTool == &tools.penOne || DefaultTool == &tools.penDisc)
        PendingTool = &tools.penCont;
    else if (CurrentTool == other)
        PendingTool = tools.brushResize.target;
}

P_clear::P_clear()
{
    iconKey = "ClrImageIcon";
    undoAtPress = 1;
    helpContext = 3700;
}

void P_clear::Activate()
{
    UDBuffer* pic = CurrentPicture;
    if (!pic) return;
    // Clearing twice in a row is one step.
    bool recorded = pic->undoHead && pic->undoHead->key == iconKey;
    if (!recorded && !UDBuffer::SaveUndo(pic, iconKey, nullptr, -1, 0, 0, 0)) return;
    Rect old = pic->GetRect();
    pic->Box(old, BackColour());
    pic->noFile = 1;
    pic->fileName = "";
    pic->untitledNumber = NextUntitledNumber();
    ++pic->modified;
    pic->DropSelection(false);
    InvalidatePictureRect(old.left, old.top, old.right + 1, old.bottom + 1);
    UpdateImageCaption();
}

void P_brush_resize::Activate()
{
    if (!target) return;
    PendingTool = target;
    target->Activate();
}

P_resize::P_resize()
{
    flags = ToolOneShot;
    pointerMode = 2;
    helpContext = 2000;
    iconKey = "ResizeBr";
}

void P_resize::Activate()
{
    savedHandle = BrushState.hotSpot;
    BrushState.hotSpot = HandleCentre;
    statusText = Translate(StatusKey());
    shown_ = NoFeedback;
}

void P_resize::Deactivate(P_icon*)
{
    BrushState.hotSpot = savedHandle;
    // StampBuffer may hold the sized preview: the brush comes back.
    RecolorBrush(false);
}

void P_resize::ShowDragStatus() const
{
    char text[32];
    std::snprintf(text, sizeof text, "[%d,%d]", dx_, dy_);
    SetImageStatusText(StatusSizePanel, text);
}

void P_resize::DrawOutline()
{
    if (ToolPhase != PhaseDragging) {
        PlotOutlinePixel(MousePoint.x, MousePoint.y);
        shown_ = PixelFeedback;
        shownX_ = MousePoint.x;
        shownY_ = MousePoint.y;
        return;
    }
    dx_ = MousePoint.x - anchorX;
    dy_ = MousePoint.y - anchorY;
    radius = short(std::max(0, std::min(RadiusFromOffset(dx_, dy_), MaxBuiltInRadius)));
    ShowDragStatus();
    int side = 2 * radius + 1;
    try {
        StampBuffer.Alloc(Pair<int>{side, side});
    } catch (const EOutOfMemory&) {
        // Told once a drag: every move of a drag too long would ask again.
        if (!memoryTold_) TranslatedMessageBox("NoMem", "Err", MsgIconExclamation);
        memoryTold_ = true;
        return;
    }
    DrawSizedBrush(side);
    StampBrush(anchorX, anchorY);
    shown_ = StampFeedback;
    shownX_ = anchorX;
    shownY_ = anchorY;
}

void P_resize::EraseOutline()
{
    if (shown_ == PixelFeedback) PlotOutlinePixel(shownX_, shownY_);
    if (shown_ == StampFeedback) {
        ShowDragStatus();
        RestoreUnderBrush(shownX_, shownY_);
    }
    shown_ = NoFeedback;
}

void P_resize::Click()
{
    if (ToolPhase == PhaseIdle) {
        statusText = Translate(DragStatusKey());
        memoryTold_ = false;
        anchorX = MousePoint.x;
        anchorY = MousePoint.y;
        return;
    }
    Commit();
}

void P_resize::Commit()
{
    // No brush of the dragged size could be made.
    if (StampBuffer.Width() != 2 * radius + 1) return;
    if (!UDBuffer::SaveUndo(&CurrentBrush, "ResizeBr", nullptr, -1, 0, 0, 0)) return;
    CurrentBrush.Alloc(Pair<int>{StampBuffer.Width(), StampBuffer.Height()});
    CurrentBrush.Copy(StampBuffer, Pair<int>{-StampBuffer.left, -StampBuffer.top}, 0xFFFFFFFF);
    BrushState.size = radius;
    BrushState.hotSpot = savedHandle;
    // A built-in shape now, whatever it was cut from.
    BrushState.pictureBrush = 0;
    // The brush is made: the sizer ends without its Deactivate, which would
    // put the old stamp back.
    CurrentTool = &PenBrushTools().brushResize;
    SelectDefaultTool(false);
    SetPaintModeC();
}

int P_resize_crc_brush::RadiusFromOffset(int dx, int dy)
{
    double d = std::floor(std::sqrt(double(dx) * dx + double(dy) * dy) + 0.5);
    return d > MaxBuiltInRadius ? MaxBuiltInRadius : int(d);
}

void P_resize_crc_brush::DrawSizedBrush(int size)
{
    int r = size / 2;
    StampBuffer.Box(StampBuffer.GetRect(), KeyPixel);
    FillCircle(StampBuffer, r, r, ForeColour(), r);
}

int P_resize_box_brush::RadiusFromOffset(int dx, int dy)
{
    long long m = std::max(std::llabs(dx), std::llabs(dy));
    return m > MaxBuiltInRadius ? MaxBuiltInRadius : int(m);
}

void P_resize_box_brush::DrawSizedBrush(int) { StampBuffer.Box(StampBuffer.GetRect(), ForeColour()); }

P_resize_spray::P_resize_spray() { helpContext = 2900; }

void P_resize_spray::Click()
{
    // While the drag runs no radius is decided yet.
    if (ToolPhase == PhaseIdle) radius = -1;
    P_resize::Click();
}

void P_resize_spray::Commit()
{
    // The spray divides by its radius.
    if (radius >= 1) sprayRadius = radius;
}
