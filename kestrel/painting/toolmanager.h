// The tool manager: the one current tool, switching between tools, parking
// the current tool around modal work, and the feedback (outline) the tool
// draws at the pointer. The tool-step machine that turns presses, drags and
// releases into tool steps is in toolsteps.h. GUI thread only.
#ifndef KESTREL_TOOLMANAGER_H
#define KESTREL_TOOLMANAGER_H

#include "buffer.h"
#include "geometry.h"
#include "tool.h"

struct UndoEntry;

const int OutsideView = -32768;  // MousePoint while the pointer is off the view
enum : int { PhaseIdle = 0, PhaseDragging = 3 };

extern P_icon* CurrentTool;       // never null
// 0 idle, 1 .. clickSteps - 1 presses done, 3 a drag is running.
extern int ToolPhase;
// 0 running, -1 suspended, +1 after a resume that had no suspend.
extern int ToolSuspendLevel;
extern P_icon* ParkedTool;        // null when nothing is parked
extern P_icon IdleTool;           // current while the real tool is parked
extern P_icon* DefaultTool;       // the last tool selected that is not one-shot
extern int DefaultToolEntry;      // its entry in its button group; -1: find it
extern P_icon* PendingTool;       // named by a command to follow it; taken once
extern unsigned char OutlineHidden;
extern TPoint OutlinePoint;       // where the feedback was last drawn
extern TPoint MousePoint;         // picture coordinates, written by the image window
extern TPoint ViewMousePoint;     // view pixels; -1 when off the view
extern unsigned MouseShift;       // shift state of the last mouse event
extern bool MouseButtonDown;
extern bool ToolOverlayFlag;      // the view calls CurrentTool->Paint after painting
// What the running operation changed, in picture pixels: inclusive on all
// sides like the picture's own rectangles, as the undo step takes it.
// Empty: 65535, 65535, -1, -1.
extern Rect DirtyRect;
// The whole-picture step the running operation recorded before it drew
// anything (null when none): parked before it drew, the operation leaves no
// empty step behind.
extern const UndoEntry* PressStep;

// The tool the program starts with (the continuous pen); also the default
// tool until another is selected. Nothing is activated: start-up selects
// the default tool once the first image window exists.
void SetStartTool(P_icon* tool);

// entry: the tool's entry in its button group, or -1 to find it.
void SelectTool(P_icon* tool, bool eraseFeedback, int entry);
void SelectDefaultTool(bool eraseFeedback);
// Park the current tool around modal work and bring it back. Selecting a
// tool in between forgets the parked one, and the closing ResumeTool then
// leaves the selected tool alone.
void SuspendTool();
void ResumeTool();

void ResetDirtyRect();
void ExtendDirtyRect(int x1, int y1, int x2, int y2);
bool DirtyRectIsEmpty();
// The newest step of the current picture is the running operation's own,
// and nothing is drawn yet.
void NotePressStep();

void ShowOutline();
void HideOutline();
// Puts the tool's status text up, then hides and/or shows the feedback
// (not while ToolPhase is 1 with a button held).
void RefreshOutline(bool hide, bool show);

#endif
