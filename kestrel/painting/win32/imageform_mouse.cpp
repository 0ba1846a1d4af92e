// Mouse input on the image window's view, turned into picture points for
// the tool-step machine.
#include <algorithm>

#include "imageform.h"
#include "imagewindow_host.h"
#include "imagezoom.h"
#include "sysutils.h"
#include "toolmanager.h"
#include "toolsteps.h"

namespace {
bool OperationRuns() { return ToolPhase != PhaseIdle; }
bool ClampsPointer() { return CurrentTool->pointerMode == 2 && OperationRuns(); }

TShiftState KeyboardShift()
{
    TShiftState s = 0;
    if (GetKeyState(VK_SHIFT) < 0) s |= ssShift;
    if (GetKeyState(VK_CONTROL) < 0) s |= ssCtrl;
    if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
    return s;
}
}  // namespace

// ViewMousePoint from a view point through the axis lock; MousePoint and
// MouseShift from the point the tool is to see, which a clamping tool keeps
// on the picture.
void TImageForm::SetPicturePoint(int x, int y, TShiftState shift, bool clamp)
{
    TPoint p = axisLock_.Apply(TPoint{x, y}, (shift & ssShift) != 0);
    ViewMousePoint = TPoint{p.x, p.y};
    if (clamp) {
        p.x = ClampViewToPicture(p.x, Picture.Width(), ZoomStep);
        p.y = ClampViewToPicture(p.y, Picture.Height(), ZoomStep);
    }
    MousePoint = TPoint{ViewToPicture(p.x, ZoomStep), ViewToPicture(p.y, ZoomStep)};
    if (CurrentTool->gridSnap && ImageWindowHost.snapToGrid) ImageWindowHost.snapToGrid(MousePoint.x, MousePoint.y);
    MouseShift = shift;
}

void TImageForm::PressAt(int x, int y, TShiftState shift)
{
    SetCapture(ShowBuf->GetHandle());
    if (ImageWindowHost.clearActiveControl) ImageWindowHost.clearActiveControl();
    SetPicturePoint(x, y, shift, false);
    ToolMouseDown();
}

void TImageForm::ShowBufMouseDown(TObject*, TMouseButton, TShiftState Shift, int X, int Y)
{
    // The press may come before the activation does.
    if (CurrentImageForm != this) ActivateImageWindow(Index);
    PressAt(X, Y, Shift);
}

// The lock decides on where the pointer really went: clamping first would
// shorten the move along the clamped axis and let the other one win.
void TImageForm::HandleMove(int x, int y, TShiftState shift)
{
    SetPicturePoint(x, y, shift, ClampsPointer());
    SetStatusText(1, IntToStr(MousePoint.x) + "," + IntToStr(MousePoint.y));
    ToolMouseMove();
}

void TImageForm::StoreMouseCoords(TObject*, TShiftState Shift, int X, int Y)
{
    if (CurrentImageForm != this) return;
    HandleMove(X, Y, Shift);
}

void TImageForm::ShowBufMouseUp(TObject*, TMouseButton, TShiftState, int, int) { ToolMouseUp(); }

void TImageForm::ClearMouseCoords(TObject*)
{
    if (CurrentImageForm != this) return;
    ViewMousePoint = TPoint{-1, -1};
    if (ClampsPointer()) {
        // The feedback stays at the picture's edge nearest the pointer.
        POINT p;
        GetCursorPos(&p);
        p = ShowBuf->ScreenToClient(p);
        HandleMove(std::max(0, std::min(int(p.x), ShowBuf->GetWidth() - 1)),
                   std::max(0, std::min(int(p.y), ShowBuf->GetHeight() - 1)), KeyboardShift());
        return;
    }
    MousePoint = TPoint{OutsideView, OutsideView};
    MouseShift = 0;
    if (OutlineHidden) return;
    HideOutline();
    OutlineHidden = 1;
    SetStatusText(1, "");
    SetStatusText(2, "");
    SetStatusText(3, CurrentTool->statusText);
}

void TImageForm::ClearMouseCoords2(TObject* Sender, TShiftState, int, int) { ClearMouseCoords(Sender); }

void TImageForm::MaxSizeMouseDown(TObject*, TMouseButton, TShiftState Shift, int X, int Y)
{
    if (!ClampsPointer() || CurrentImageForm != this) return;
    int x = std::max(0, std::min(X - ShowBuf->GetLeft(), ShowBuf->GetWidth() - 1));
    int y = std::max(0, std::min(Y - ShowBuf->GetTop(), ShowBuf->GetHeight() - 1));
    PressAt(x, y, Shift);
}
