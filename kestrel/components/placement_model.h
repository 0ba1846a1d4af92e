// A form's stored position, independent of Windows: the four values the
// placement writes ("Flags", "ShowCmd", "MinMaxPos", "NormPos"), their text
// form "%d,%d,%d,%d", the section names, and keeping a restored rectangle on
// a work area.
#ifndef KESTREL_PLACEMENT_MODEL_H
#define KESTREL_PLACEMENT_MODEL_H

#include "ansistring.h"
#include "geometry.h"

struct TFormPos {
    int Flags = 0;
    int ShowCmd = 0;
    int MinX = -1;  // minimised position, then maximised position
    int MinY = -1;
    int MaxX = -1;
    int MaxY = -1;
    TRect Normal = {0, 0, 0, 0};
};

// "%d,%d,%d,%d".
AnsiString FormatPosStr(int A, int B, int C, int D);
// Four comma-separated integers (blanks allowed round them); false, with
// the outputs untouched, for anything else.
bool ParsePosStr(const AnsiString& Text, int& A, int& B, int& C, int& D);

// "(%dx%d)", appended to a section name for the positions of one screen size.
AnsiString ResolutionSuffix(int ScreenWidth, int ScreenHeight);
// "Form.Component", or the form's name alone for the form itself.
AnsiString DefaultSectionName(const AnsiString& FormName, const AnsiString& ComponentName, bool IsForm);
// The executable's path with its extension replaced by ".INI" (added when it
// has none).
AnsiString DefaultIniName(const AnsiString& ExeName);
// "Software\" + the title, or the executable's name without folder and
// extension when the title is empty.
AnsiString DefaultRegKey(const AnsiString& Title, const AnsiString& ExeName);

// R moved (and shrunk when larger) so that it lies inside Area. A rectangle
// with negative size is first made empty at its left/top.
TRect FitRectToArea(const TRect& R, const TRect& Area);

#endif
