// What the Edit menu does to a picture's pixels and selection, apart from
// the clipboard itself. Each records the undo step the history shows for
// it; a step that cannot be recorded leaves the picture alone (false).
#ifndef KESTREL_SHELL_EDIT_COMMANDS_H
#define KESTREL_SHELL_EDIT_COMMANDS_H

#include "picture_document.h"

// The selected pixels as they were, then the dropped selection: two steps
// (none without a selection box).
bool ClearSelection(UDBuffer* pic);
// Every pixel's selected mark flips; the selection box becomes the picture.
bool InvertSelection(UDBuffer* pic);
// Selected pixels take the background colour and stay selected. stepName
// tells Delete ("DeleteImg") from the second half of Cut ("CutImg").
bool DeleteSelected(UDBuffer* pic, const char* stepName, unsigned long background);
// Pixels read from the clipboard (their top-left corner at 0, 0) go in at
// the selection's corner, or at the picture's without one; key pixels leave
// the picture as it was. Unless the brush takes the picture whole
// (instBrush), what came becomes the selection. The caller has recorded
// the paste's step before reading the clipboard.
void PasteIntoPicture(UDBuffer* pic, Buffer& pasted, bool instBrush);

#endif
