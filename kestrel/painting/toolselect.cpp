// Selecting tools, and parking the current tool around modal work.
#include "messages.h"
#include "optionbar.h"
#include "pictureview.h"
#include "toolgroups.h"
#include "tool_host.h"
#include "toolmanager.h"
#include "picture_document.h"

static const int StatusBrushPanel = 2;

// A tool that recorded a whole-picture step at the press is leaving in the
// middle of its operation: the picture goes back to its state before the
// press, with no redo step left behind.
static void TakeBackPressStep()
{
    if (!CurrentTool->undoAtPress || ToolPhase == PhaseIdle) return;
    if (CurrentPicture) UDBuffer::Undo(CurrentPicture, false);
    // The step is gone; a second tool leaving in the same switch must not
    // take back one more.
    ToolPhase = PhaseIdle;
}

// A tool parked between its press and its first drawing (a line or box
// being dragged) would leave its press step as an undo step that changes
// nothing. Deactivate may have taken the step back itself already.
static void DropUnusedPressStep(bool running)
{
    UDBuffer* pic = CurrentPicture;
    if (running && pic && pic->undoHead && pic->undoHead == PressStep && DirtyRectIsEmpty()) UDBuffer::DropUndo(pic);
    PressStep = nullptr;
}

static void FlipToggle(P_icon* tool);

// Runs command after command (a command's Activate may name PendingTool,
// itself a command); answers the tool that finally becomes current. With
// no PendingTool the tool current before the first command comes back: a
// command that named another command is not run a second time.
// A command that names a toggle: the toggle flips, and the tool current
// before the commands comes back, as after a command that named nothing.
static P_icon* RunCommands(P_icon* tool, bool& eraseFeedback, int& entry, P_icon* parked)
{
    // While a tool is parked the idle tool is current; the parked tool is
    // the user's, and the one to come back.
    P_icon* back = CurrentTool == &IdleTool && parked ? parked : CurrentTool;
    int backEntry = back->IsOneShot() ? -1 : DefaultToolEntry;
    while (tool->IsCommand()) {
        HideOutline();
        TakeBackPressStep();
        CurrentTool->Deactivate(tool);
        tool->Activate();
        if (tool->groupButton) tool->groupButton->SetHint(Translate(tool->iconKey));
        P_icon* next = back;
        entry = backEntry;
        if (PendingTool) {
            next = PendingTool;
            PendingTool = nullptr;
            entry = -1;
        }
        CurrentTool = tool;
        eraseFeedback = false;
        if (next->IsToggle()) {
            FlipToggle(next);
            next = back;
            entry = backEntry;
        }
        tool = next;
    }
    return tool;
}

static void FlipToggle(P_icon* tool)
{
    if (tool->clickSteps == 0) {
        if (tool->groupButton) tool->groupButton->SetDown(true);
        tool->Activate();
        tool->clickSteps = 1;
    } else {
        tool->Deactivate(CurrentTool);
        if (tool->groupButton) tool->groupButton->SetDown(false);
        tool->clickSteps = 0;
    }
}

void SelectTool(P_icon* tool, bool eraseFeedback, int entry)
{
    if (!tool) return;
    CloseUndoPopup();
    // A toggle leaves the current tool alone, parked or not: forgetting the
    // parked tool here would leave the idle tool current after the resume.
    if (tool->IsToggle()) {
        FlipToggle(tool);
        return;
    }
    // Whatever was parked is forgotten: the closing ResumeTool must not put
    // it back over the tool selected now.
    ToolSuspendLevel = 0;
    P_icon* parked = ParkedTool;
    ParkedTool = nullptr;
    tool = RunCommands(tool, eraseFeedback, entry, parked);
    if (!tool->IsOneShot()) {
        DefaultTool = tool;
        DefaultToolEntry = entry;
    }
    if (eraseFeedback) HideOutline();
    SetImageStatusText(StatusBrushPanel, AnsiString());
    HoldBarLayout(true);
    HideOptionBar(CurrentTool, tool);
    TakeBackPressStep();
    CurrentTool->Deactivate(tool);
    CurrentTool = tool;
    ShowToolOnButton(tool, entry);
    SetMainHelpContext(tool->helpContext);
    ToolPhase = PhaseIdle;
    ShowOptionBar(tool);
    tool->Activate();
    SetImageViewCursors(tool->cursor);
    RefreshOutline(false, true);
    HoldBarLayout(false);
    FitMainWindowToDock();
}

void SelectDefaultTool(bool eraseFeedback) { SelectTool(DefaultTool, eraseFeedback, DefaultToolEntry); }

void SuspendTool()
{
    if (ToolSuspendLevel < 0) return;
    --ToolSuspendLevel;
    // After a resume that had no suspend the level allows one more park;
    // parking again would park the idle tool over the real one.
    if (ParkedTool) return;
    HideOutline();
    bool running = ToolPhase != PhaseIdle;
    CurrentTool->Deactivate(nullptr);
    DropUnusedPressStep(running);
    OutlineHidden = 1;
    ParkedTool = CurrentTool;
    CurrentTool = &IdleTool;
    ToolPhase = PhaseIdle;
}

void ResumeTool()
{
    if (ToolSuspendLevel > 0) return;
    ++ToolSuspendLevel;
    // Nothing parked: never suspended, or a tool was selected since (it is
    // current and active already).
    if (!ParkedTool) return;
    CurrentTool = ParkedTool;
    ParkedTool = nullptr;
    CurrentTool->Activate();
    ShowOutline();
}
