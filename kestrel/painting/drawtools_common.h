// Small services the line, shape and fill tools share: the pressed button,
// option values as whole numbers, the size text of status panel 2, the dab
// spacing of the line modes and the end of an operation's undo step.
#ifndef KESTREL_DRAWTOOLS_COMMON_H
#define KESTREL_DRAWTOOLS_COMMON_H

#include <functional>

// The last mouse event was of the right button: paint with the background.
bool RightButtonPressed();
// ForeColour, or BackColour for the right button.
unsigned long ButtonColour();

// Option value index rounded to a whole number, held within lo..hi.
int OptionInt(int index, int lo, int hi);

// Panel 2: "[" dx "," dy "]", or nothing.
void ShowSizeText(int dx, int dy);
void ClearSizeText();

// How far apart dabs fall for a line mode (0 continuous, 1 every value
// pixels, 2 value dabs over length with both ends).
double DabSpacing(int mode, int value, double length);

// Crops the newest undo step of the current picture to DirtyRect as it
// stands; with nothing changed the step goes instead.
void CropUndoToDirtyRect();
// Counts a change of the current picture when DirtyRect holds one.
void CountDirtyChange();

// The main window's handlers that option controls are bound to.
enum MainOptionHandler {
    LineParamChangeHandler,
    SetFillOriginHandler,
    // The whole-picture transforms' bars (picture_filter.h).
    FilterPreviewHandler,
    FilterOkHandler,
    StretchXChangeHandler,
    StretchYChangeHandler,
    StretchPercXChangeHandler,
    StretchPercYChangeHandler,
    // The fixed cut rectangle's controls.
    ResetSizeHandler,
    CutSizeChangedHandler,
    DoubleAreaHandler,
    HalveAreaHandler,
};
// Installed by the main window; without it the bar has no handlers.
extern std::function<void(int index, MainOptionHandler handler)> OptionHandlerBinder;
void BindOptionHandler(int index, MainOptionHandler handler);

#endif
