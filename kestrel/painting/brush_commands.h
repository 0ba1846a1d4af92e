// The Brush menu's commands on the program-wide brush (CurrentBrush): undo
// and redo of brush steps, the brush from the whole picture, outline,
// halve, double, mirror, quarter and half turns, the hot spot, and the
// reset to the one-pixel brush. A command that changes the brush records
// one undo step of the brush under its own key and ends with the stamp
// rebuilt; with no brush pixels there is nothing to change.
//
// The pixel work is kept apart from the commands, on plain buffers, so that
// it can be checked without the program-wide state.
#ifndef KESTREL_BRUSH_COMMANDS_H
#define KESTREL_BRUSH_COMMANDS_H

#include "buffer.h"

class UDBuffer;

// No command makes a brush wider or higher than this: a command whose
// result would be larger is refused with "BrTooLarge" and changes nothing.
const int BrushSideLimit = 16384;

// --- Pixel work. The results are new buffers at (0, 0); EOutOfMemory when
// one cannot be had. ---

// The brush one pixel larger on every side, each key pixel with an opaque
// 4-neighbour (left, right, up or down) in colour.
void OutlinedBrush(Buffer& src, unsigned long colour, Buffer& out);
// Source pixel (x, y) goes to (y, width - 1 - x): a quarter turn
// anticlockwise on screen.
void TurnedQuarter(Buffer& src, Buffer& out);
// In place, within the buffer's rectangle (a view's rows may be longer).
void MirrorLeftRight(Buffer& b);
void MirrorTopBottom(Buffer& b);
void TurnHalf(Buffer& b);
// Picture pixels as brush pixels: the background colour becomes the key,
// then every pixel loses its selected mark (so a selected background pixel
// stays opaque).
void KeyBackground(Buffer& b, unsigned long background);

// --- Shared by the brush's reshaping commands and tools ---

// False, after telling the user, when a brush of w x h would pass the limit.
bool BrushSizeAllowed(long long w, long long h);
// CurrentBrush := built (moved in, no allocation), after one undo step of
// the whole brush named key. False when the step could not be recorded (the
// user was told): the brush is unchanged. The stamp is left to the caller.
bool ReplaceBrush(Buffer& built, const char* key);

// --- The commands ---
void UndoBrush();
void RedoBrush();
// The whole picture becomes a picture brush painting its own colours, held
// at its centre; the dab pen takes it up.
void BrushFromPicture(UDBuffer* pic);
// The selected pixels become the brush ("GetSelBr"), keyed by their least
// used colour; the picture and its selection stay as they are.
void BrushFromSelection(UDBuffer* pic);
void OutlineBrush();
// Halved or doubled along the chosen axes (both: the whole brush).
void HalveBrush(bool alongX, bool alongY);
void DoubleBrush(bool alongX, bool alongY);
void MirrorBrush(bool leftRight);
void TurnBrush90();
void TurnBrush180();
// 0 centre, 1 left-top, 2 right-top, 3 right-bottom, 4 left-bottom.
void SetBrushHotSpot(int handle);
// Any other brush becomes the one-pixel brush of the drawing colour; the
// one-pixel brush gives way to the built-in brush of the brush group's
// shape. The dab pens hand over to the continuous pen.
void ResetBrush();

#endif
