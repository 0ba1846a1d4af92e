#include "pens.h"

#include "messages.h"
#include "paintkit.h"
#include "pictureview.h"

static const unsigned RightButtonBit = 16;  // ssRight of the shift state

P_pen::P_pen()
{
    undoAtPress = 1;
    pointerMode = 1;
    helpContext = 2100;
}

void P_pen::Activate()
{
    statusText = Translate("Pen");
    ResetDirtyRect();
}

void P_pen::ShowPreview(int x, int y)
{
    StampBrush(x, y);
    previewShown = true;
    previewX = x;
    previewY = y;
}

void P_pen::EraseOutline()
{
    if (ToolPhase != PhaseIdle || !previewShown) return;
    previewShown = false;
    RestoreUnderBrush(previewX, previewY);
}

// The stroke is over: counted as a change, painted with the brush's own
// colours again, and its undo step cropped to what it touched.
void P_pen::FinishStroke()
{
    if (CurrentPicture) ++CurrentPicture->modified;
    RecolorBrush(false);
    ToolPhase = 2;
    CropUndoToBrush();
}

void P_pen::DrawOutline()
{
    int x = MousePoint.x, y = MousePoint.y;
    if (ToolPhase == PhaseIdle) {
        ShowPreview(x, y);
    } else if (ToolPhase == PhaseDragging) {
        if (x != lastX || y != lastY) {
            StampSegment(lastX, lastY, x, y);
            lastX = x;
            lastY = y;
        }
        ExtendDirtyRect(x, y, x, y);
    } else if (ToolPhase == 1) {
        // A click ended the stroke: the dab of the press is all it painted.
        if (CurrentPicture) ++CurrentPicture->modified;
        RecolorBrush(false);
        ShowPreview(x, y);
        CropUndoToBrush();
        ToolPhase = PhaseIdle;
        Activate();
    }
}

void P_pen::Click()
{
    int x = MousePoint.x, y = MousePoint.y;
    if (ToolPhase == PhaseIdle) {
        // The press has taken the preview back already (HideOutline).
        previewShown = false;
        RecolorBrush((MouseShift & RightButtonBit) != 0);
        lastX = x;
        lastY = y;
        ExtendDirtyRect(x, y, x, y);
        firstDab = StampSegment(x, y, x, y) ? 1 : 0;
        if (firstDab) FinishStroke();
        return;
    }
    StampSegment(x, y, x, y);
    ExtendDirtyRect(x, y, x, y);
    FinishStroke();
}

bool P_pen_cont::StampSegment(int x1, int y1, int x2, int y2)
{
    StampBrushLine(x1, y1, x2, y2, 1.0, 1.0);
    return false;
}

bool P_pen_disc::StampSegment(int, int, int x2, int y2)
{
    StampBrush(x2, y2);
    return false;
}

bool P_pen_one::StampSegment(int, int, int x2, int y2)
{
    StampBrush(x2, y2);
    return true;
}
