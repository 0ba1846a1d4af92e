// The colour swatches and the palette bar of the main window. The main
// window builds the controls (the swatches DrawCol and BackCol, the view
// PaletteHolder); these functions act on the controls they are given, so
// they work without a main window as well.
#ifndef KESTREL_PALETTEBAR_H
#define KESTREL_PALETTEBAR_H

#include "extctrls.h"
#include "imagekeys.h"
#include "palette.h"
#include "buffer_view.h"

// A swatch's colour is its brush colour; pixels are 0x00RRGGBB.
TColor PixelToColor(unsigned long pixel);
unsigned long ColorToPixel(TColor colour);  // system colours resolved
unsigned long SwatchColour(const TShape* swatch);
// The colour with its HSV in the tag (a grey keeps the tag's hue).
void SetSwatchColour(TShape* swatch, unsigned long pixel);
void SetSwatchColour(TShape* swatch, unsigned long pixel, int tag);
// Colours and tags change places.
void SwapSwatchColours(TShape* a, TShape* b);

// The program's drawing and background swatches: their colours become the
// paint kit's (PaintKitHost). Forgotten when a swatch is freed; null
// uninstalls.
void InstallColourSwatches(TShape* drawCol, TShape* backCol);
TShape* DrawColourSwatch();
TShape* BackColourSwatch();

// The palette bar's cells (PaletteBarCells) for `count` cells with the
// default colours or the current ones, shown in holder (may be null) at
// twice their size. The Palette setting takes the count made.
void BuildPalette(TBuffer* holder, int count, bool useDefault);
unsigned long GetPaletteColor(int i);  // ERangeError outside the cells
void SetPaletteColor(TBuffer* holder, int i, unsigned long pixel);

// Handlers of the holder, in its client coordinates. The move shows the
// colour under the pointer in the current image window's status bar; the
// left button works on drawCol, the right one on backCol: with Shift, Alt
// or Ctrl the cell takes the swatch's colour, else the swatch the cell's.
void PaletteHolderMouseMove(TBuffer* holder, int x, int y);
void PaletteHolderMouseDown(TBuffer* holder, TShape* drawCol, TShape* backCol, TMouseButton button,
                            TShiftState shift, int x, int y);

// Wires the holder's and the swatches' mouse handlers (a swatch opens the
// colour selector), installs the swatches with the HSV of their colours in
// their tags, and has the image windows' colour keys (ColourKey) act on
// them.
void ConnectPaletteBar(TBuffer* holder, TShape* drawCol, TShape* backCol);

// A colour key of an image window on the installed swatches: a channel
// step of the drawing colour, the swap of the two colours, the switch of
// the readout between RGB and HSV, or the colour selector of a swatch. The
// current image window's status panel 2 then shows the drawing colour in
// the readout's model, and the colour users catch up.
void ColourKey(ImageKey key);
// The readout and the channel keys use HSV (else RGB).
bool HsvReadoutShown();

#endif
