#include "stretch_tools.h"

#include <cmath>
#include <cstdlib>

#include "drawtools_common.h"
#include "exceptions.h"
#include "messages.h"
#include "optionbar.h"
#include "paintkit.h"
#include "paintkit_host.h"
#include "pictureview.h"
#include "rotate_geometry.h"
#include "stretch_geometry.h"
#include "toolmanager.h"

StretchToolSet& StretchTools()
{
    static StretchToolSet tools;
    return tools;
}

// ---- the brush

P_stretch_brush::P_stretch_brush()
{
    flags = ToolOneShot;
    helpContext = 1200;
    iconKey = "StretchBr";
}

P_stretch_brush_X::P_stretch_brush_X() { iconKey = "StretchXBr"; }

P_stretch_brush_Y::P_stretch_brush_Y() { iconKey = "StretchYBr"; }

int P_stretch_brush::NewWidth(int x) { return StretchSide(x, anchorX); }

int P_stretch_brush::NewHeight(int y) { return StretchSide(y, anchorY); }

int P_stretch_brush_X::NewHeight(int) { return CurrentBrush.Height(); }

int P_stretch_brush_Y::NewWidth(int) { return CurrentBrush.Width(); }

void P_stretch_brush::Activate()
{
    statusText = Translate("StretchBrush");
    previewSaved_ = stampShown_ = false;
}

static bool BrushSidesOk(int w, int h)
{
    return std::abs(w) <= MaxPictureSide && std::abs(h) <= MaxPictureSide;
}

void P_stretch_brush::DrawOutline()
{
    if (ToolPhase == PhaseIdle) {
        StampBrush(MousePoint.x, MousePoint.y);
        stampShown_ = true;
        stampAt_ = MousePoint;
        return;
    }
    int w = NewWidth(MousePoint.x), h = NewHeight(MousePoint.y);
    ShowSizeText(w, h);
    if (!StampBuffer.pixels || !BrushSidesOk(w, h)) return;
    previewArea_ = Rect{anchorX, anchorY, anchorX + w, anchorY + h};
    try {
        previewSaved_ = SaveRegion(anchorX, anchorY, anchorX + w, anchorY + h);
    } catch (const EOutOfMemory&) {
        previewSaved_ = false;
    }
    if (!previewSaved_) return;
    SetVisibleClip();
    Pair<int> at{w < 0 ? MousePoint.x : anchorX, h < 0 ? MousePoint.y : anchorY};
    WorkView.Scale(StampBuffer, Pair<int>{w, h}, at, KeyPixel, AntiAlias ? 1 : 0);
    InvalidatePictureRect(std::min(anchorX, anchorX + w), std::min(anchorY, anchorY + h),
                          std::max(anchorX, anchorX + w) + 1, std::max(anchorY, anchorY + h) + 1);
    UpdateView();
}

void P_stretch_brush::EraseOutline()
{
    if (stampShown_) {
        RestoreUnderBrush(stampAt_.x, stampAt_.y);
        stampShown_ = false;
    }
    if (previewSaved_) {
        RestoreRegion(previewArea_.left, previewArea_.top, previewArea_.right, previewArea_.bottom);
        previewSaved_ = false;
    }
}

void P_stretch_brush::Click()
{
    if (ToolPhase == PhaseIdle) {
        statusText = Translate("StretchBrush2");
        TPoint o = HotSpotOf(CurrentBrush.Width(), CurrentBrush.Height(), BrushState.hotSpot);
        anchorX = MousePoint.x - o.x;
        anchorY = MousePoint.y - o.y;
        WarpPointer(anchorX + CurrentBrush.Width() - 1, anchorY + CurrentBrush.Height() - 1);
        return;
    }
    if (!CurrentBrush.pixels) return;
    int w = NewWidth(MousePoint.x), h = NewHeight(MousePoint.y);
    if (!BrushSidesOk(w, h)) {
        TranslatedMessageBox("BrTooBig", "Err", MsgIconWarning);
        return;
    }
    // The key colour stands for the transparent pixels while smoothing: it
    // must be one the brush does not paint, or those pixels would vanish.
    unsigned long key = FreeKeyColour(CurrentBrush, BrushState.keyColour);
    Buffer stretched;
    try {
        stretched.Alloc(Pair<int>{std::abs(w), std::abs(h)});
    } catch (const EOutOfMemory&) {
        TranslatedMessageBox("BrTooBig", "Err", MsgIconWarning);
        return;
    }
    if (!UDBuffer::SaveUndo(&CurrentBrush, iconKey, nullptr, -1, 0, 0, 0)) return;
    BrushState.keyColour = key;
    stretched.Box(stretched.GetRect(), key);
    stretched.Scale(CurrentBrush, Pair<int>{w, h}, Pair<int>{0, 0}, KeyPixel, AntiAlias ? 1 : 0);
    stretched.ChColor(key, KeyPixel);
    CurrentBrush.Buffer::operator=(stretched);
    BrushState.pictureBrush = 1;
    TPoint o = HotSpotOf(CurrentBrush.Width(), CurrentBrush.Height(), BrushState.hotSpot);
    WarpPointer(MirroredOffset(anchorX + o.x, w), MirroredOffset(anchorY + o.y, h));
    OptimiseBrush();
    RecolorBrush(false);
}

// ---- the picture

enum : unsigned { WidthGuard = 1, HeightGuard = 2, PercentXGuard = 4, PercentYGuard = 8 };

P_stretch_picture::P_stretch_picture()
{
    optionBarKey = "STRETCHBAR";
    iconKey = "Stretch";
}

void P_stretch_picture::SetUpOptions()
{
    BindOptionHandler(0, StretchXChangeHandler);
    BindOptionHandler(1, StretchYChangeHandler);
    BindOptionHandler(2, StretchPercXChangeHandler);
    BindOptionHandler(3, StretchPercYChangeHandler);
    BindOptionHandler(4, StretchPercXChangeHandler);
    BindOptionHandler(5, FilterPreviewHandler);
    BindOptionHandler(6, FilterOkHandler);
    SetOptionValue(2, percentX);
    SetOptionValue(3, percentY);
    SetOptionValue(4, keepProportions);
    guards_ = 0;
    depth_ = 0;
    PercentXChanged();
    PercentYChanged();
}

void P_stretch_picture::KeepOptions()
{
    percentX = GetOptionValue(2);
    percentY = GetOptionValue(3);
    keepProportions = GetOptionValue(4) != 0;
}

bool P_stretch_picture::Enter(unsigned bit)
{
    if ((guards_ & bit) || !saved.pixels) return false;
    guards_ |= bit;
    ++depth_;
    return true;
}

// A handler that ran stays barred until the outermost one ends.
void P_stretch_picture::Leave()
{
    if (--depth_ == 0) guards_ = 0;
}

void P_stretch_picture::WidthChanged()
{
    if (!Enter(WidthGuard)) return;
    SetOptionValue(2, PercentOfSide(GetOptionValue(0), saved.Width()));
    if (GetOptionValue(4) != 0) {
        SetOptionValue(3, GetOptionValue(2));
        PercentYChanged();
    }
    Leave();
}

void P_stretch_picture::HeightChanged()
{
    if (!Enter(HeightGuard)) return;
    SetOptionValue(3, PercentOfSide(GetOptionValue(1), saved.Height()));
    if (GetOptionValue(4) != 0) {
        SetOptionValue(2, GetOptionValue(3));
        PercentXChanged();
    }
    Leave();
}

static double WholeSide(double size) { return std::isfinite(size) ? std::round(size) : 0; }

void P_stretch_picture::PercentXChanged()
{
    if (!Enter(PercentXGuard)) return;
    SetOptionValue(0, WholeSide(SideOfPercent(GetOptionValue(2), saved.Width())));
    if (GetOptionValue(4) != 0) {
        SetOptionValue(3, GetOptionValue(2));
        PercentYChanged();
    }
    Leave();
}

void P_stretch_picture::PercentYChanged()
{
    if (!Enter(PercentYGuard)) return;
    SetOptionValue(1, WholeSide(SideOfPercent(GetOptionValue(3), saved.Height())));
    if (GetOptionValue(4) != 0) {
        SetOptionValue(2, GetOptionValue(3));
        PercentXChanged();
    }
    Leave();
}

bool P_stretch_picture::UpToDate()
{
    return !stale && RoundedSide(GetOptionValue(0)) == lastW_ && RoundedSide(GetOptionValue(1)) == lastH_ &&
           AntiAlias == lastSmooth_;
}

void P_stretch_picture::MarkRendered()
{
    stale = 0;
    lastW_ = RoundedSide(GetOptionValue(0));
    lastH_ = RoundedSide(GetOptionValue(1));
    lastSmooth_ = AntiAlias;
}

bool P_stretch_picture::Render(bool recordUndo)
{
    UDBuffer* pic = FilteredPicture();
    if (!pic || !saved.pixels) return false;
    double w = GetOptionValue(0), h = GetOptionValue(1);
    if (!StretchSideOk(w) || !StretchSideOk(h)) {
        Refuse("BadPicSize");
        return false;
    }
    if (!RecordUndo(pic, recordUndo)) return false;
    if (UpToDate()) return true;
    SetBusyCursor(true);
    Buffer stretched;
    try {
        StretchPicture(saved, stretched, RoundedSide(w), RoundedSide(h), AntiAlias);
    } catch (const EOutOfMemory&) {
        SetBusyCursor(false);
        RenderFailed(pic, recordUndo);
        return false;
    }
    ShowResult(pic, stretched);
    MarkRendered();
    SetBusyCursor(false);
    return true;
}
