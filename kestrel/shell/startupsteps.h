// Arithmetic of the start-up sequence, apart from the windows it acts on.
#ifndef KESTREL_STARTUPSTEPS_H
#define KESTREL_STARTUPSTEPS_H

#include "ansistring.h"

// The folder of the program: argv[0] cut after its last "\" or ":", so it
// keeps that separator; empty when there is none.
AnsiString ProgramDirOf(const AnsiString& argv0);

// Below this the program refuses to run.
const int MinDisplayBits = 15;
inline bool DisplayDepthSufficient(int bitsPerPixel) { return bitsPerPixel >= MinDisplayBits; }

// Top of the controls under the tool buttons: two columns of 28-pixel rows,
// one row more when the component-brush group is missing.
int ToolPanelButtonsHeight(int lastToolGroup, bool useComponents);

// The new-picture size.
const int NewPictureWidth = 416;
const int NewPictureHeight = 312;

#endif
