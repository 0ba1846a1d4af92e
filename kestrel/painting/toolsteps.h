// The tool-step machine: how presses, moves, releases and the drag timer
// become steps of the current tool. The image window sets MousePoint (and
// ViewMousePoint, MouseShift) and then calls these; with the default of two
// steps a press-drag-release is one operation, and so is a click followed
// by a second press.
#ifndef KESTREL_TOOLSTEPS_H
#define KESTREL_TOOLSTEPS_H

void ToolMouseDown();
// Redraws the feedback when the pointer reached another picture point, or
// when the feedback is hidden.
void ToolMouseMove();
void ToolMouseUp();
// The drag timer fired: a release from now on ends a drag.
void DragIsSure();
// Advances ToolPhase after a step was handled.
void NextToolStep();

#endif
