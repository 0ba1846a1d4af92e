#include "boxes.h"

#include <algorithm>
#include <cstdlib>

#include "drawtools_common.h"
#include "fills.h"
#include "messages.h"
#include "paintkit.h"
#include "paintkit_host.h"
#include "pictureview.h"
#include "seedfill.h"
#include "shapes_tools.h"

static int Sign(int v) { return (v > 0) - (v < 0); }

void ConstrainSquare(int startX, int startY, int& x, int& y)
{
    int dx = x - startX, dy = y - startY;
    if (std::abs(dx) < std::abs(dy))
        x = startX + std::abs(dy) * Sign(dx);
    else
        y = startY + std::abs(dx) * Sign(dy);
}

P_box::P_box()
{
    undoAtPress = 1;
    pointerMode = 2;
    helpContext = 2400;
}

void P_box::Activate() { statusText = Translate("BoxStr"); }

void P_box::Constrain(int&, int&) {}

void P_box::DrawIdle(int x, int y) { DrawGuides(x, y); }

void P_box::EraseIdle(int x, int y) { DrawGuides(x, y); }

void P_box::EraseBand(int, int) {}

void P_box::DrawBand(int, int) {}

void P_box::DrawOutline()
{
    int x = MousePoint.x, y = MousePoint.y;
    if (x == OutsideView) return;
    shownX = x;
    shownY = y;
    if (ToolPhase == PhaseIdle) {
        DrawIdle(x, y);
        shown = IdleShown;
        return;
    }
    // The band shows the box the release would draw.
    Constrain(x, y);
    shownX = x;
    shownY = y;
    ShowSizeText(std::abs(x - startX) + 1, std::abs(y - startY) + 1);
    DrawBand(x, y);
    shown = BandShown;
}

void P_box::EraseOutline()
{
    if (shown == IdleShown) EraseIdle(shownX, shownY);
    if (shown == BandShown) EraseBand(shownX, shownY);
    shown = NothingShown;
}

void P_box::Click()
{
    int x = MousePoint.x, y = MousePoint.y;
    shown = NothingShown;
    if (ToolPhase == PhaseIdle) {
        statusText = Translate("Box2");
        startX = x;
        startY = y;
        return;
    }
    Constrain(x, y);
    ClearSizeText();
    DrawFinal(x, y);
    if (CurrentPicture) ++CurrentPicture->modified;
    statusText = Translate("BoxStr");
    UpdateView();
}

void P_box_rect::DrawBand(int x, int y) { DrawOutlineRect(startX, startY, x, y); }

void P_box_rect::DrawFinal(int x, int y)
{
    bool right = RightButtonPressed();
    RecolorBrush(right);
    StampBrushLine(startX, startY, x, startY, 1.0, 1.0);
    StampBrushLine(x, startY, x, y, 1.0, 1.0);
    StampBrushLine(x, y, startX, y, 1.0, 1.0);
    StampBrushLine(startX, y, startX, startY, 1.0, 1.0);
    if (right) RecolorBrush(false);
    ResetDirtyRect();
    ExtendDirtyRect(startX, startY, x, y);
    CropUndoToBrush();
}

void P_box_rectf::DrawBand(int x, int y)
{
    UDBuffer* pic = CurrentPicture;
    if (!pic) return;
    Rect r = {std::min(startX, x), std::min(startY, y), std::max(startX, x), std::max(startY, y)};
    pic->Box(r, OutlineColour);
    InvalidatePictureRect(r.left, r.top, r.right + 1, r.bottom + 1);
}

void P_box_rectf::DrawFinal(int x, int y)
{
    SetVisibleClip();
    ResetDirtyRect();
    Buffer& v = WorkView;
    Rect r = {std::max(std::min(startX, x), v.left), std::max(std::min(startY, y), v.top),
              std::min(std::max(startX, x), v.right), std::min(std::max(startY, y), v.bottom)};
    if (v.pixels && r.left <= r.right && r.top <= r.bottom) {
        if (RightButtonPressed()) {
            v.Box(r, BackColour() & 0x00FFFFFF);
        } else {
            // ORed, not written: a shading fill keeps each pixel's brightness.
            Buffer inside(v, r, true);
            inside.Bool(2, FillMark);
            ShownFillTool().Apply(ForeColour());
        }
        InvalidatePictureRect(r.left, r.top, r.right + 1, r.bottom + 1);
        ExtendDirtyRect(r.left, r.top, r.right, r.bottom);
    }
    CropUndoToDirtyRect();
}

void P_box_sqr::Constrain(int& x, int& y) { ConstrainSquare(startX, startY, x, y); }

void P_box_sqrf::Constrain(int& x, int& y) { ConstrainSquare(startX, startY, x, y); }
