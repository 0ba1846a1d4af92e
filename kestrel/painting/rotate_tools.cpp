#include "rotate_tools.h"

#include <cmath>
#include <cstdio>

#include "drawtools_common.h"
#include "exceptions.h"
#include "messages.h"
#include "optionbar.h"
#include "paintkit.h"
#include "paintkit_host.h"
#include "pictureview.h"
#include "rotate_geometry.h"
#include "tool_host.h"
#include "toolmanager.h"

RotateToolSet& RotateTools()
{
    static RotateToolSet tools;
    return tools;
}

static const int StatusSizePanel = 2;

// ---- the brush

P_rotate_brush::P_rotate_brush()
{
    flags = ToolOneShot;
    pointerMode = 2;
    cursor = -43;
    helpContext = 1200;
    iconKey = "Rotate";
}

void P_rotate_brush::Activate()
{
    statusText = Translate("RotateBrush");
    previewSaved_ = stampShown_ = false;
}

TPoint P_rotate_brush::Centre() const
{
    return TPoint{anchorX + ((CurrentBrush.Width() + 1) >> 1), anchorY + ((CurrentBrush.Height() + 1) >> 1)};
}

void P_rotate_brush::TakeAngle()
{
    TPoint c = Centre();
    angle = PointerAngle(c.x, c.y, MousePoint.x, MousePoint.y);
}

Rect P_rotate_brush::PreviewArea() const
{
    int w = RotatedBrushWidth(StampBuffer.Width(), StampBuffer.Height(), angle);
    int h = RotatedBrushHeight(StampBuffer.Width(), StampBuffer.Height(), angle);
    TPoint c = Centre();
    return Rect{c.x - w / 2 - 1, c.y - h / 2 - 1, c.x + w / 2 + 1, c.y + h / 2 + 1};
}

void P_rotate_brush::DrawOutline()
{
    if (ToolPhase == PhaseIdle) {
        StampBrush(MousePoint.x, MousePoint.y);
        stampShown_ = true;
        stampAt_ = MousePoint;
        return;
    }
    if (!StampBuffer.pixels) return;
    TakeAngle();
    Rect r = PreviewArea();
    try {
        previewSaved_ = SaveRegion(r.left, r.top, r.right, r.bottom);
    } catch (const EOutOfMemory&) {
        previewSaved_ = false;
    }
    if (!previewSaved_) return;
    SetVisibleClip();
    Matrix2D m = TurnMatrix(angle);
    TPoint c = Centre();
    Pair<int> t = TurnShift(m, StampBuffer.left + StampBuffer.Width() / 2.0, StampBuffer.top + StampBuffer.Height() / 2.0,
                            c.x, c.y);
    WorkView.XFormLin(StampBuffer, m, t, KeyPixel, AntiAlias ? 1 : 0);
    char text[48];
    std::snprintf(text, sizeof text, "%.2f\x60", angle / RadiansPerDegree);
    SetImageStatusText(StatusSizePanel, text);
    InvalidatePictureRect(r.left, r.top, r.right + 2, r.bottom + 2);
    UpdateView();
}

void P_rotate_brush::EraseOutline()
{
    if (stampShown_) {
        RestoreUnderBrush(stampAt_.x, stampAt_.y);
        stampShown_ = false;
    }
    if (previewSaved_) {
        Rect r = PreviewArea();
        RestoreRegion(r.left, r.top, r.right, r.bottom);
        previewSaved_ = false;
    }
}

void P_rotate_brush::Click()
{
    int w = CurrentBrush.Width(), h = CurrentBrush.Height();
    if (ToolPhase == PhaseIdle) {
        statusText = Translate("RotateBrush2");
        TPoint o = HotSpotOf(w, h, BrushState.hotSpot);
        anchorX = MousePoint.x - o.x;
        anchorY = MousePoint.y - o.y;
        WarpPointer(anchorX + w, anchorY + ((h + 1) >> 1));
        return;
    }
    TakeAngle();
    if (!CurrentBrush.pixels) return;
    int bw = RotatedBrushWidth(w, h, angle), bh = RotatedBrushHeight(w, h, angle);
    if (bw > MaxPictureSide || bh > MaxPictureSide) {
        TranslatedMessageBox("BrTooBig", "Err", MsgIconWarning);
        return;
    }
    if (!UDBuffer::SaveUndo(&CurrentBrush, "Rotate", nullptr, -1, 0, 0, 0)) return;
    TPoint c = Centre();
    try {
        TransformBrush(angle / RadiansPerDegree);
    } catch (const EOutOfMemory&) {
        UDBuffer::DropUndo(&CurrentBrush);
        TranslatedMessageBox("NoMem", "Err", MsgIconWarning);
        return;
    }
    BrushState.pictureBrush = 1;
    // The turned brush stays centred where the old one was.
    TPoint o = HotSpotOf(CurrentBrush.Width(), CurrentBrush.Height(), BrushState.hotSpot);
    WarpPointer(c.x - CurrentBrush.Width() / 2 + o.x, c.y - CurrentBrush.Height() / 2 + o.y);
    OptimiseBrush();
    RecolorBrush(false);
}

// ---- the picture

P_rotate_picture::P_rotate_picture()
{
    undoAtPress = 1;
    optionBarKey = "ROTATEBAR";
    iconKey = "Rotate";
}

void P_rotate_picture::SetUpOptions()
{
    SetOptionValue(0, keepSize);
    SetOptionValue(1, angle);
    BindOptionHandler(2, FilterPreviewHandler);
    BindOptionHandler(3, FilterOkHandler);
}

void P_rotate_picture::KeepOptions()
{
    keepSize = GetOptionValue(0) != 0;
    double a = GetOptionValue(1);
    if (std::fabs(a) <= MaxTurnDegrees) angle = a;
}

bool P_rotate_picture::UpToDate()
{
    return !stale && GetOptionValue(1) == lastAngle_ && (GetOptionValue(0) != 0) == lastKeep_ &&
           AntiAlias == lastSmooth_;
}

void P_rotate_picture::MarkRendered()
{
    stale = 0;
    lastAngle_ = GetOptionValue(1);
    lastKeep_ = GetOptionValue(0) != 0;
    lastSmooth_ = AntiAlias;
}

bool P_rotate_picture::Render(bool recordUndo)
{
    UDBuffer* pic = FilteredPicture();
    if (!pic || !saved.pixels) return false;
    double degrees = GetOptionValue(1);
    bool keep = GetOptionValue(0) != 0;
    int w = 0, h = 0;
    switch (CheckPictureTurn(saved.Width(), saved.Height(), degrees, keep, w, h)) {
    case TurnCheck::BadAngle: Refuse("BadAngle"); return false;
    case TurnCheck::TooLarge: Refuse("BadPicSize"); return false;
    case TurnCheck::Ok: break;
    }
    if (!RecordUndo(pic, recordUndo)) return false;
    if (UpToDate()) return true;
    SetBusyCursor(true);
    Buffer turned;
    try {
        TurnPicture(saved, turned, degrees, keep, BackColour(), AntiAlias);
    } catch (const EOutOfMemory&) {
        SetBusyCursor(false);
        RenderFailed(pic, recordUndo);
        return false;
    }
    ShowResult(pic, turned);
    MarkRendered();
    SetBusyCursor(false);
    return true;
}
