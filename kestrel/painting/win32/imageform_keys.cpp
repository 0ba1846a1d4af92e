// The painting shortcuts of the image window (the main window hands its
// key-downs here too).
#include <algorithm>

#include "cut_size.h"
#include "cut_tools.h"
#include "imageform.h"
#include "imagekeys.h"
#include "imagelayout.h"
#include "imagewindow_host.h"
#include "imagezoom.h"
#include "paintkit.h"
#include "paintkit_host.h"
#include "pictureview.h"
#include "toolgroups.h"
#include "tool_host.h"
#include "toolmanager.h"

namespace {
const int ScrollStep = 16;

// Ctrl adds to the selection and Alt takes from it: the cut tools' cursor
// says which, and says it no more once the key is up.
void ShowCutHint(TShiftState shift)
{
    short cursor = CutHintCursor((shift & ssCtrl) != 0, (shift & ssAlt) != 0);
    if (cursor) SetImageViewCursors(cursor);
}

void Forward(ImageKey key)
{
    if (IsColourKey(key)) {
        if (ImageWindowHost.colourKey) ImageWindowHost.colourKey(key);
        return;
    }
    if (ImageWindowHost.command) ImageWindowHost.command(key);
}

void ClearMainActiveControl()
{
    if (ImageWindowHost.clearActiveControl) ImageWindowHost.clearActiveControl();
}
}  // namespace

void TImageForm::HotKeys(TObject*, WORD& Key, TShiftState Shift)
{
    int code = HotKeyCode(Key, (Shift & ssShift) != 0, (Shift & ssCtrl) != 0, (Shift & ssAlt) != 0);
    if (Key == VK_SHIFT && !OutlineHidden && axisLock_.Decided() == AxisLock::Undecided)
        axisLock_.Arm(TPoint{ViewMousePoint.x, ViewMousePoint.y});
    if (Key == VK_CONTROL || Key == VK_MENU) ShowCutHint(Shift);
    int tag = ImageWindowHost.focusedOptionTag ? ImageWindowHost.focusedOptionTag() : -1;
    bool leftToControl = tag >= 0 && KeyLeftToControl(code, tag);
    if (!leftToControl && SelectToolByKey(code)) {
        Key = 0;
        return;
    }
    int window = AltWindowIndex(code);
    if (window >= 0) {
        if (window < ImageFormCount() && GetImageForm(window) != CurrentImageForm) ActivateImageWindow(window);
        Key = 0;
        return;
    }
    if (!leftToControl && RunKey(code)) Key = 0;
}

void TImageForm::FormKeyUp(TObject*, WORD& Key, TShiftState Shift)
{
    if (Key == VK_SHIFT) axisLock_.Disarm();
    if (Key == VK_CONTROL || Key == VK_MENU) ShowCutHint(Shift);
}

// A group's hot key shows its tool, or the group's next tool when that one
// is current and idle.
bool TImageForm::SelectToolByKey(int code)
{
    for (int i = 0; i < ToolGroupCount(); ++i) {
        ToolGroup& g = GetToolGroup(i);
        if (g.hotKey == 0 || g.hotKey != code || g.count < 1) continue;
        int entry = g.shownTool;
        if (ToolEntry(entry).tool == CurrentTool && ToolPhase == PhaseIdle)
            entry = g.firstTool + (entry - g.firstTool + 1) % g.count;
        SelectTool(ToolEntry(entry).tool, true, entry);
        // The feedback is drawn at MousePoint: the pointer goes there too.
        if (!OutlineHidden && CurrentImageForm == this) PutPointerOn(MousePoint.x, MousePoint.y);
        return true;
    }
    return false;
}

void TImageForm::PutPointerOn(int x, int y)
{
    ZoomFraction f = ZoomStepFraction(ZoomStep);
    int firstX = std::max(0, -ShowBuf->GetLeft()), firstY = std::max(0, -ShowBuf->GetTop());
    int lastX = std::min(ShowBuf->GetWidth(), firstX + MaxSize->GetClientWidth()) - 1;
    int lastY = std::min(ShowBuf->GetHeight(), firstY + MaxSize->GetClientHeight()) - 1;
    POINT p{std::max(firstX, std::min(int((long long)x * f.n / f.m), lastX)),
            std::max(firstY, std::min(int((long long)y * f.n / f.m), lastY))};
    p = ShowBuf->ClientToScreen(p);
    SetCursorPos(p.x, p.y);
}

bool TImageForm::RunKey(int code)
{
    ImageKey key = ImageKeyFor(code);
    switch (key) {
    case ImageKey::None: return false;
    case ImageKey::NextHotSpot: NextHotSpot(); break;
    case ImageKey::ClearActiveControl: ClearMainActiveControl(); break;
    case ImageKey::Escape:
        if (ImageWindowHost.mainControlFocused && ImageWindowHost.mainControlFocused())
            ClearMainActiveControl();
        else
            SelectDefaultTool(true);
        break;
    case ImageKey::ScrollTop:
    case ImageKey::ScrollBottom:
    case ImageKey::ScrollLeftEdge:
    case ImageKey::ScrollRightEdge:
    case ImageKey::ScrollLeft:
    case ImageKey::ScrollRight:
    case ImageKey::ScrollUp:
    case ImageKey::ScrollDown: ScrollByKey(key); break;
    case ImageKey::ToggleFitZoom: ToggleFitZoom(); break;
    case ImageKey::ZoomIn:
        if (ZoomStep < MaxZoomStep) ChangeZoomStep(ZoomStep + 1);
        break;
    case ImageKey::ZoomOut:
        if (ZoomStep > MinZoomStep) ChangeZoomStep(ZoomStep - 1);
        break;
    case ImageKey::ToggleClipping:
        Clipping = !Clipping;
        SetVisibleClip();
        break;
    case ImageKey::ToggleAntiAlias: AntiAliasBtnClick(this); break;
    case ImageKey::Undo: UndoByKey(); break;
    case ImageKey::CutRectLarger:
    case ImageKey::CutRectSmaller:
    case ImageKey::CutRectNarrower:
    case ImageKey::CutRectWider:
    case ImageKey::CutRectLower:
    case ImageKey::CutRectHigher: RunCutRectKey(key); break;
    case ImageKey::SwallowAlt: break;
    case ImageKey::CloseMainWindow:
        if (ImageWindowHost.closeMainWindow) ImageWindowHost.closeMainWindow();
        break;
    default: Forward(key); break;
    }
    return true;
}

void TImageForm::ScrollByKey(ImageKey key)
{
    int x = MaxSize->GetHorzScrollBar()->GetPosition(), y = MaxSize->GetVertScrollBar()->GetPosition();
    switch (key) {
    case ImageKey::ScrollTop: y = 0; break;
    case ImageKey::ScrollBottom: y = ShowBuf->GetHeight(); break;
    case ImageKey::ScrollLeftEdge: x = 0; break;
    case ImageKey::ScrollRightEdge: x = ShowBuf->GetWidth(); break;
    case ImageKey::ScrollLeft: x -= ScrollStep; break;
    case ImageKey::ScrollRight: x += ScrollStep; break;
    case ImageKey::ScrollUp: y -= ScrollStep; break;
    case ImageKey::ScrollDown: y += ScrollStep; break;
    default: return;
    }
    ScrollTo(x, y);
}

// Z: the zoom that shows the whole picture in the window as it is, and
// back to the zoom used before.
void TImageForm::ToggleFitZoom()
{
    if (fitZoomShown_) {
        fitZoomShown_ = false;
        ChangeZoomStep(zoomBeforeFit_);
        return;
    }
    FitArea area{MaxSize->GetClientWidth(), MaxSize->GetClientHeight()};
    int fit = ZoomStepForFactor(FitZoomFactor(area, Picture.Width(), Picture.Height()));
    zoomBeforeFit_ = ZoomStep;
    fitZoomShown_ = true;
    ChangeZoomStep(fit);
}

void TImageForm::UndoByKey()
{
    if (!CurrentPicture || ToolPhase != PhaseIdle) return;
    SuspendTool();
    try {
        UDBuffer::Undo(CurrentPicture, true);
    } catch (...) {
        ResumeTool();
        throw;
    }
    ResumeTool();
    ShowBuf->Invalidate();
}
