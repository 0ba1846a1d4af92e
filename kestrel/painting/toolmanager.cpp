// The tool manager's state, the dirty rectangle and the feedback.
#include "toolmanager.h"

#include <utility>

#include "pictureview.h"
#include "tool_host.h"
#include "picture_document.h"

P_icon IdleTool;
P_icon* CurrentTool = &IdleTool;
int ToolPhase = PhaseIdle;
int ToolSuspendLevel = 0;
P_icon* ParkedTool = nullptr;
P_icon* DefaultTool = &IdleTool;
int DefaultToolEntry = -1;
P_icon* PendingTool = nullptr;
// Nothing is drawn before the first ShowOutline.
unsigned char OutlineHidden = 1;
TPoint OutlinePoint = {OutsideView, OutsideView};
TPoint MousePoint = {OutsideView, OutsideView};
TPoint ViewMousePoint = {-1, -1};
unsigned MouseShift = 0;
bool MouseButtonDown = false;
bool ToolOverlayFlag = false;
Rect DirtyRect = {65535, 65535, -1, -1};
const UndoEntry* PressStep = nullptr;

static const int StatusToolPanel = 3;

void SetStartTool(P_icon* tool)
{
    CurrentTool = tool;
    DefaultTool = tool;
    DefaultToolEntry = -1;
}

void ResetDirtyRect() { DirtyRect = Rect{65535, 65535, -1, -1}; }

void NotePressStep()
{
    PressStep = CurrentPicture ? CurrentPicture->undoHead : nullptr;
    ResetDirtyRect();
}

bool DirtyRectIsEmpty() { return DirtyRect.right < DirtyRect.left || DirtyRect.bottom < DirtyRect.top; }

void ExtendDirtyRect(int x1, int y1, int x2, int y2)
{
    if (x1 > x2) std::swap(x1, x2);
    if (y1 > y2) std::swap(y1, y2);
    if (x1 < DirtyRect.left) DirtyRect.left = x1;
    if (y1 < DirtyRect.top) DirtyRect.top = y1;
    if (x2 > DirtyRect.right) DirtyRect.right = x2;
    if (y2 > DirtyRect.bottom) DirtyRect.bottom = y2;
}

static bool OutsidePicture(TPoint p)
{
    UDBuffer* pic = CurrentPicture;
    if (!pic || !pic->pixels) return true;
    return p.x < 0 || p.x >= pic->Width() || p.y < 0 || p.y >= pic->Height();
}

void ShowOutline()
{
    OutlinePoint = MousePoint;
    OutlineHidden = OutsidePicture(MousePoint) ? 1 : 0;
    if (OutlineHidden && CurrentTool->pointerMode != 1) return;
    CurrentTool->DrawOutline();
}

void HideOutline()
{
    if (OutlineHidden && CurrentTool->pointerMode != 1) return;
    CurrentTool->EraseOutline();
}

void RefreshOutline(bool hide, bool show)
{
    SetImageStatusText(StatusToolPanel, CurrentTool->statusText);
    // The press of a second step is being handled: its Click owns the view.
    if (ToolPhase == 1 && MouseButtonDown) return;
    if (hide) HideOutline();
    if (show) ShowOutline();
}
