// Arranging the image windows: the messages of moving, sizing, minimising
// and maximising a window, the glue links between windows that touch, and
// the docked bars that follow the current window. The arithmetic is in
// imagewindow_glue_model.h.
#ifndef KESTREL_IMAGEWINDOW_GLUE_H
#define KESTREL_IMAGEWINDOW_GLUE_H

// Set when a window moved, was sized, minimised or restored; the main
// window's activity timer clears it and glues the windows again.
extern bool ImageReglueMark;

// Every window's links afresh, from the edges that touch now.
void GlueImageWindows();
// Runs GlueImageWindows when the mark is set, and clears it.
void GlueImageWindowsWhenMarked();

// The current window's caption in the active colours, every other in the
// inactive ones, whichever window has the focus.
void UpdateImageCaptions();

#endif
