// The tool-step machine.
#include "toolsteps.h"

#include "dragtimer.h"
#include "pictureview.h"
#include "tool_host.h"
#include "toolmanager.h"
#include "picture_document.h"

// The press cannot start its operation (no undo step could be recorded;
// the user has been told).
static void CancelPress()
{
    MouseButtonDown = false;
    ReleaseMouseCapture();
}

// The first press records what the operation may need to take back. False
// when a step could not be recorded: the operation must not start.
static bool PrepareOperation()
{
    UDBuffer* pic = CurrentPicture;
    // A selection that cannot be dropped with its step is kept; dropping it
    // anyway would lose it with no undo.
    if (CurrentTool->dropSelectionAtPress && pic && !pic->DropSelection(true)) return false;
    if (CurrentTool->undoAtPress) {
        if (!pic || !UDBuffer::SaveUndo(pic, CurrentTool->iconKey, nullptr, -1, 0, 0, 0)) return false;
        UDBuffer::DropAllRedo(pic);
        NotePressStep();
    }
    return true;
}

// A tool step threw (out of memory in the paint kit): the operation is
// over. The exception goes on to the window's handler, which shows it.
static void AbandonOperation()
{
    GetDragTimer().Stop();
    MouseButtonDown = false;
    ReleaseMouseCapture();
    ToolPhase = PhaseIdle;
    ResetDirtyRect();
}

static void Press()
{
    MouseButtonDown = true;
    HideOutline();
    if (ToolPhase == PhaseIdle && !PrepareOperation()) {
        CancelPress();
        return;
    }
    P_icon* tool = CurrentTool;
    tool->Click();
    if (CurrentTool != tool || ToolPhase != PhaseIdle) {
        if (ToolPhase == 1 || ToolPhase == 2) NextToolStep();
        return;
    }
    GetDragTimer().Start(DragInterval);
    if (tool->clickSteps > 1) {
        ToolPhase = PhaseDragging;
        ShowOutline();
    } else if (tool->IsOneShot()) {
        SelectDefaultTool(true);
    }
}

static void Release()
{
    MouseButtonDown = false;
    ReleaseMouseCapture();
    if (ToolPhase != PhaseDragging) return;
    if (GetDragTimer().IsRunning()) {
        // A click: the operation waits for the next press.
        GetDragTimer().Stop();
        HideOutline();
        ToolPhase = 1;
        RefreshOutline(false, true);
        return;
    }
    HideOutline();
    P_icon* tool = CurrentTool;
    tool->Click();
    if (CurrentTool != tool) return;
    if (ToolPhase == PhaseDragging) ToolPhase = 1;
    NextToolStep();
}

void ToolMouseDown()
{
    try {
        Press();
    } catch (...) {
        AbandonOperation();
        throw;
    }
}

void ToolMouseUp()
{
    try {
        Release();
    } catch (...) {
        AbandonOperation();
        throw;
    }
}

void ToolMouseMove()
{
    if (!OutlineHidden && MousePoint == OutlinePoint) return;
    try {
        RefreshOutline(true, true);
    } catch (...) {
        if (ToolPhase != PhaseIdle) AbandonOperation();
        throw;
    }
}

void DragIsSure() { GetDragTimer().Stop(); }

void NextToolStep()
{
    if (ToolPhase < CurrentTool->clickSteps - 1) {
        ++ToolPhase;
    } else if (CurrentTool->IsOneShot()) {
        SelectDefaultTool(false);
        return;
    } else {
        ToolPhase = PhaseIdle;
        ResetDirtyRect();
    }
    RefreshOutline(false, true);
}
