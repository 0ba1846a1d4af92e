// The application's hint window: a control whose hint is to be shown (its
// own ShowHint or a parent's, and a hint that is not empty) shows it in a
// small window below the pointer once the pointer has rested on it for
// HintPauseMs; the window goes when the pointer leaves the control, a
// mouse button goes down, the control goes, or after HintHidePauseMs.
//
// The controls report to it (TControl: CM_MOUSEENTER, CM_MOUSELEAVE, a
// button going down, destruction); the text is read when the window shows,
// so a hint that changes while the pointer rests is shown as it is then.
#ifndef CLASSLIB_HINTWINDOW_H
#define CLASSLIB_HINTWINDOW_H

#include "ansistring.h"
#include "winapi.h"

class TControl;

const unsigned HintPauseMs = 500;
const unsigned HintHidePauseMs = 2500;

// Whether control shows its hint: a hint, and ShowHint on it or on a parent.
bool HintWanted(TControl* control);

void HintMouseEntered(TControl* control);
void HintMouseLeft(TControl* control);
// Hides a shown hint and forgets a waiting one.
void CancelHint();
void HintControlGone(TControl* control);

// The window (null before the first hint) and whether it shows, with the
// text it shows.
HWND HintWindowHandle();
bool HintShowing(AnsiString* text = nullptr);

#endif
