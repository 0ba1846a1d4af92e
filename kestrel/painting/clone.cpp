#include "clone.h"

#include <algorithm>
#include <cstdio>

#include "messages.h"
#include "optionbar.h"
#include "paintkit.h"
#include "paintkit_host.h"
#include "picture_document.h"
#include "pictureview.h"
#include "tool_host.h"

static const unsigned AltBit = 2;  // ssAlt of the shift state
static const int StatusSizePanel = 2;
static const int RepeatOption = 0;

P_clone::P_clone()
{
    undoAtPress = 1;
    pointerMode = 2;
    helpContext = 2700;
    optionBarKey = "CLONEBAR";
    iconKey = "CloneIcon";
}

void P_clone::Activate()
{
    statusText = Translate("CloneIP");
    SetOptionValue(RepeatOption, repeatOption);
    ResetDirtyRect();
}

void P_clone::Deactivate(P_icon*)
{
    repeatOption = GetOptionValue(RepeatOption) != 0 ? 1 : 0;
    snapshot_.Free();
}

void P_clone::TakeSnapshot()
{
    snapshot_.Free();
    snapshotRead_ = false;
    UDBuffer* pic = CurrentPicture;
    if (!pic || !pic->pixels) return;
    try {
        snapshotRead_ = UDBuffer::CopyFromUndo(pic, snapshot_, pic->left, pic->top, pic->right, pic->bottom);
    } catch (...) {
        snapshot_.Free();  // no memory for the copy: nothing to clone from
    }
}

void P_clone::Dab(int x, int y)
{
    if (!snapshotSource) {
        CloneDab(x, y, sourceX, sourceY, nullptr);
    } else if (snapshotRead_) {
        CloneDab(x, y, sourceX, sourceY, &snapshot_);
    }
    ExtendDirtyRect(x, y, x, y);
}

void P_clone::EndStroke()
{
    snapshot_.Free();
    if (CurrentPicture) ++CurrentPicture->modified;
    CropUndoToBrush();
}

TPoint P_clone::SourceFor(int x, int y) const
{
    if (sourceJustSet) return TPoint{sourceX, sourceY};
    return TPoint{x + sourceX, y + sourceY};
}

void P_clone::ShowOffset(int x, int y) const
{
    int dx = sourceJustSet ? sourceX - x : sourceX;
    int dy = sourceJustSet ? sourceY - y : sourceY;
    char text[32];
    std::snprintf(text, sizeof text, "[%d,%d]", dx, dy);
    SetImageStatusText(StatusSizePanel, text);
}

void P_clone::ShowPreview(int x, int y)
{
    StampBrush(x, y);
    previewShown_ = true;
    previewX_ = x;
    previewY_ = y;
}

void P_clone::DrawOutline()
{
    int x = MousePoint.x, y = MousePoint.y;
    ShowOffset(x, y);
    if (ToolPhase == PhaseIdle) {
        ShowPreview(x, y);
    } else if (ToolPhase == PhaseDragging) {
        Dab(x, y);
    } else if (ToolPhase == 1) {
        // A click: its one dab is the stroke.
        Dab(x, y);
        EndStroke();
        ShowPreview(x, y);
        ToolPhase = PhaseIdle;
        // Activate shows the stored check box: it must be the one the user left.
        repeatOption = GetOptionValue(RepeatOption) != 0 ? 1 : 0;
        Activate();
    }
    DrawCross();
}

void P_clone::DrawCross()
{
    TPoint s = SourceFor(MousePoint.x, MousePoint.y);
    crossX_ = s.x;
    crossY_ = s.y;
    Paint();
    ToolOverlayFlag = true;
}

// An X at the centre of the source pixel, on the view's canvas.
void P_clone::Paint()
{
    double z = PictureZoom(CurrentPicture);
    int vx = int(z * crossX_ + z / 2), vy = int(z * crossY_ + z / 2);
    CanvasXorLine(vx - 4, vy - 4, vx + 5, vy + 5);
    CanvasXorLine(vx + 4, vy - 4, vx - 5, vy + 5);
}

void P_clone::EraseOutline()
{
    if (ToolPhase == PhaseIdle && previewShown_) {
        previewShown_ = false;
        RestoreUnderBrush(previewX_, previewY_);
    }
    if (!ToolOverlayFlag) return;
    ToolOverlayFlag = false;
    double z = PictureZoom(CurrentPicture);
    int vx = int(z * crossX_ + z / 2), vy = int(z * crossY_ + z / 2);
    InvalidateView(vx - 4, vy - 4, vx + 6, vy + 6);
}

void P_clone::Click()
{
    int x = MousePoint.x, y = MousePoint.y;
    if (ToolPhase != PhaseIdle) {
        // The end of a drag.
        EndStroke();
        return;
    }
    previewShown_ = false;
    if (MouseShift & AltBit) {
        sourceX = x;
        sourceY = y;
        sourceJustSet = 1;
        // Setting the source changes nothing: the press's step goes.
        if (CurrentPicture) UDBuffer::DropUndo(CurrentPicture);
        DrawCross();
        ToolPhase = 1;
        return;
    }
    if (sourceJustSet) {
        sourceJustSet = 0;
        sourceX -= x;
        sourceY -= y;
    }
    snapshotSource = GetOptionValue(RepeatOption) == 0 ? 1 : 0;
    if (snapshotSource) TakeSnapshot();
    ResetDirtyRect();
}
