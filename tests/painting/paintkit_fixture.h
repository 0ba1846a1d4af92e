// The paint kit driven headlessly: the tool fixture's picture and tool-step
// calls, a view that records what was invalidated, swatch colours, a brush
// drawn from text, and an independent placer of stamps for reference
// pictures.
#ifndef TESTS_PAINTING_PAINTKIT_FIXTURE_H
#define TESTS_PAINTING_PAINTKIT_FIXTURE_H

#include <string>
#include <vector>

#include "brushes_tools.h"
#include "imagewindow_host.h"
#include "paintkit.h"
#include "paintkit_host.h"
#include "tool_fixture.h"

const unsigned long Fore = 0x00C01020;
const unsigned long Back = 0x0030E040;

// The brush, stamp and work view freed, as before the paint kit's first use.
inline void FreePaintKitBuffers()
{
    while (CurrentBrush.undoHead) UDBuffer::DropUndo(&CurrentBrush);
    UDBuffer::DropAllRedo(&CurrentBrush);
    CurrentBrush.Free();
    StampBuffer.Free();
    WorkView.Free();
    BrushState = TBrushState();
    StampRecolourHook = nullptr;
}

// A one-pixel C-mode brush of the colour given.
inline void SetDabBrush(unsigned long colour)
{
    CurrentBrush.Alloc(Pair<int>{1, 1});
    CurrentBrush.pixels[0] = colour;
    BrushState.paintMode = PaintModeC;
    RecolorBrush(false);
}

class PaintKitTest : public ToolTest {
protected:
    std::vector<Rect> invalidated;  // right and bottom exclusive, view pixels
    int updates = 0;
    double zoom = 1;
    std::vector<TPoint> warps;

    void SetUp() override
    {
        ToolTest::SetUp();
        PaintKitHost = PaintKitHostServices();
        PaintKitHost.invalidate = [this](int l, int t, int r, int b) { invalidated.push_back(Rect{l, t, r, b}); };
        PaintKitHost.update = [this] { ++updates; };
        PaintKitHost.foreColour = [] { return Fore; };
        PaintKitHost.backColour = [] { return Back; };
        PaintKitHost.warpCursor = [this](int x, int y) { warps.push_back(TPoint{x, y}); };
        PictureViews.zoom = [this](UDBuffer*) { return zoom; };
        Clipping = OptimBrush = AntiAlias = false;
        MouseShift = 0;
        BrushState = TBrushState();
        InitPaintKit();
    }

    void TearDown() override
    {
        ResetFramework(&IdleTool);
        FreePaintKitBuffers();
        PaintKitHost = PaintKitHostServices();
        PictureViews = PictureViewServices();
        ToolTest::TearDown();
    }

    // '#' paints, '.' is the key; rows top first. Made the C-mode brush.
    void SetBrush(const std::vector<std::string>& rows, unsigned char hotSpot)
    {
        CurrentBrush.Alloc(Pair<int>{int(rows[0].size()), int(rows.size())});
        for (size_t y = 0; y < rows.size(); ++y)
            for (size_t x = 0; x < rows[y].size(); ++x)
                *CurrentBrush.At(int(x), int(y)) = rows[y][x] == '#' ? 0x00ABCDEFu : KeyPixel;
        BrushState.hotSpot = hotSpot;
        BrushState.paintMode = PaintModeC;
        RecolorBrush(false);
    }

    // Where the pointer leaves the view, the preview is taken back.
    void Leave() { Move(OutsideView, OutsideView); }
};

// The brush shape placed at every marked pixel of a mask, written without
// the paint kit: rows of '#', the hot-spot offset given by hand.
inline std::vector<unsigned long> PlaceStamps(std::vector<unsigned long> pixels, int width, Buffer& mask,
                                              const std::vector<std::string>& shape, int hx, int hy,
                                              unsigned long colour)
{
    int height = int(pixels.size()) / width;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            if (*mask.At(x, y) == 0) continue;
            for (size_t j = 0; j < shape.size(); ++j)
                for (size_t i = 0; i < shape[j].size(); ++i) {
                    int px = x - hx + int(i), py = y - hy + int(j);
                    if (shape[j][i] == '#' && px >= 0 && px < width && py >= 0 && py < height)
                        pixels[py * width + px] = colour;
                }
        }
    return pixels;
}

#endif
