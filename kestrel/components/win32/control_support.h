// Support routines the extended controls share: message queue and
// foreground tests, module resources, glyph cells, the parent background
// under a graphic control, disabled (embossed) glyphs, the cached two-colour
// pattern brush, transparent stretching and text shortening on a canvas.
#ifndef KESTREL_CONTROL_SUPPORT_H
#define KESTREL_CONTROL_SUPPORT_H

#include <memory>

#include "bitmap.h"
#include "controls.h"
#include "winapi.h"

// Removes one pending Msg for Wnd. The system hands out WM_QUIT whatever the
// filter; a quit taken that way is posted again with its exit code.
void KillMessage(HWND Wnd, UINT Msg);
// The foreground window is one of this thread's windows.
bool IsForegroundTask();

// String resource Ident of the program's module; empty when there is none.
AnsiString ResStr(int Ident);
// Bitmap resource Name of the program's module; EResNotFound when missing.
std::unique_ptr<TBitmap> LoadResBitmap(const AnsiString& Name);

// Cell Index of Strip laid out as Cols x Rows (EListError outside it).
std::unique_ptr<TBitmap> CreateStripCell(TBitmap* Strip, int Cols, int Rows, int Index);

// Paints into Dest (at 0, 0) what Control's parent shows under Control:
// the parent's background and its own painting, clipped to Control's size.
void CopyParentImage(TControl* Control, TCanvas* Dest);

// The embossed look of a disabled glyph: every pixel that is not
// TransparentColor becomes a highlight pixel at +1,+1 with a shadow pixel on
// top, on a button-face background.
std::unique_ptr<TBitmap> CreateDisabledBitmap(TBitmap* Glyph, TColor TransparentColor);

// An 8 x 8 checker of Color1 (where x + y is even) and Color2. Cached: the
// same colours give the same handle. The caller must not delete it.
HBRUSH CreateTwoColorsBrush(TColor Color1, TColor Color2);

// Stretches Source onto Dest's rectangle R, leaving out TransparentColor.
void DrawTransparentBitmap(TCanvas* Dest, const RECT& R, TBitmap* Source, TColor TransparentColor);
void StretchBltTransparent(HDC DstDC, int DstX, int DstY, int DstW, int DstH, HDC SrcDC, int SrcX, int SrcY,
                           int SrcW, int SrcH, TColor TransparentColor);
int BitmapWidth(HBITMAP Bitmap);
int BitmapHeight(HBITMAP Bitmap);

// Text cut with "..." to fit MaxWidth in Canvas's font.
AnsiString ShortenString(TCanvas* Canvas, const AnsiString& Text, int MaxWidth);

// The text heights (tmHeight) of the system font and of Font on the screen;
// 16 and 13 when no display can tell.
void ScreenTextHeights(TFont* Font, int& SystemHeight, int& FontHeight);

#endif
