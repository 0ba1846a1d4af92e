// The paint kit: the drawing services the tools share. The brush
// (CurrentBrush, drawn through its recoloured copy StampBuffer, with
// BrushState beside it) is stamped at a point, along a line or along a
// quadratic curve into WorkView, a view of CurrentPicture that keeps picture
// coordinates. Feedback is drawn by XOR with OutlineColour, so drawing a
// figure twice removes it; a preview stamp saves the pixels under it first.
// Everything drawn into the picture invalidates the touched area of the
// current view (paintkit_host.h). GUI thread only.
#ifndef KESTREL_PAINTKIT_H
#define KESTREL_PAINTKIT_H

#include "brushstate.h"
#include "programpictures.h"
#include "toolmanager.h"

// Brush pixels that do not paint.
const unsigned long KeyPixel = 0x01000000;
// Grey with the top bit set: Pixmill's primitives draw it by XOR.
const unsigned long OutlineColour = 0x808F8F8F;
// Arrow lengths for arrow index 1 to 4.
const int ArrowSizes[4] = {6, 16, 35, 60};
// Sine over 1024 steps of a turn, times 512; entry 256 on is the cosine.
const int SineTableSize = 1280;
extern const int* const SineTable;

enum : unsigned char { PaintModeP = 0, PaintModeC = 1, PaintModeR = 2 };
enum : unsigned char { HandleCentre, HandleLeftTop, HandleRightTop, HandleRightBottom, HandleLeftBottom };

// Where a w x h stamp is held: a stamp at (x, y) has its top-left pixel at
// (x - offset.x, y - offset.y).
TPoint HotSpotOf(int w, int h, int handle);
TPoint StampHotSpot();  // of StampBuffer, by BrushState.hotSpot

// --- The view of the picture (paintkit_view.cpp) ---
// WorkView := CurrentPicture, with Clipping only its visible part.
void SetVisibleClip();
// Picture rectangle, x2 and y2 exclusive, invalidated on the current view.
void InvalidatePictureRect(int x1, int y1, int x2, int y2);
void PlotOutlinePixel(int x, int y);
void DrawOutlineRect(int x1, int y1, int x2, int y2);
void DrawGuides(int x, int y);
// On the view's canvas (XOR), not in the picture.
void DrawCrosshair(int x, int y);
void InvalidateCrosshair(int x, int y);
void DrawCanvasRect(int x1, int y1, int x2, int y2);
void InvalidateRectOutline(int x1, int y1, int x2, int y2);

// --- Stamping (paintkit_stamp.cpp) ---
// The preview that follows the pointer: saves the area first (SaveRegion),
// stamps, and repaints the view at once.
void StampBrush(int x, int y);
// Stamps into WorkView; the caller invalidates.
void StampOnce(int x, int y);
// Stamps every `spacing` pixels along the line, both ends walked; phase is
// the distance left before the next stamp (1 stamps at the start). Answers
// the distance left at the end, for the next segment. ERangeError for a
// spacing or phase that is not a number.
double StampBrushLine(int x1, int y1, int x2, int y2, double spacing, double phase);
// Stamps along the quadratic curve from p0 over p1 to p2 (16 segments),
// with an arrow at p2 for arrow index 1 to 4, and crops the newest undo step
// of CurrentPicture to what it touched.
void StampBrushCurve(TPoint p0, TPoint p1, TPoint p2, double spacing, int arrow);
// As StampBrushLine, each stamp one XOR pixel of OutlineColour in dest.
double DottedLine(Buffer& dest, double spacing, double phase, int x1, int y1, int x2, int y2);
void DottedCurve(TPoint p0, TPoint p1, TPoint p2, double spacing, int arrow);
// The point `length` away from (x0, y0) towards (x1, y1) turned by degrees.
TPoint PointAtAngle(int x0, int y0, int x1, int y1, double degrees, double length);
// Ends a painting operation: crops the newest undo step of CurrentPicture
// to DirtyRect grown by the stamp around its hot spot. With nothing touched
// the step is dropped: it would be cropped to an inverted rectangle.
void CropUndoToBrush();

// --- Saving the area under a preview (paintkit_stamp.cpp) ---
bool SaveRegion(int x1, int y1, int x2, int y2);
void RestoreRegion(int x1, int y1, int x2, int y2);
void RestoreUnderBrush(int x, int y);

// --- Shapes (paintkit_shapes.cpp) ---
// Into CurrentPicture; nothing for r = 0.
void DrawCircleOutline(int cx, int cy, int r, unsigned long colour);
void FillEllipse(int cx, int cy, int rx, int ry, unsigned long colour);
// Side 2r + 1; the built-in round brushes.
void FillCircle(Buffer& dest, int cx, int cy, unsigned long colour, int r);

// --- The brush (paintkit_brush.cpp) ---
// P and R only for a brush cut from a picture; C always.
void SetPaintModeP();
void SetPaintModeC();
void SetPaintModeR();
// StampBuffer := CurrentBrush recoloured for the mode and the button.
void RecolorBrush(bool rightButton);
void NextHotSpot();
// With OptimBrush: trims the brush to its painted pixels.
void OptimiseBrush();
// ERangeError for factors that are not numbers or give too large a brush.
void ScaleBrush(double fx, double fy);
// Turns counter-clockwise on screen into the box RotatedBrushWidth and
// RotatedBrushHeight give; ERangeError beyond MaxPictureSide.
void TransformBrush(double degrees);
// Hooks the brush rebuild after undo up to RecolorBrush; start-up calls it.
void InitPaintKit();

#endif
