#include "fills.h"

#include <algorithm>

#include "colorsel_hsv.h"
#include "drawtools_common.h"
#include "messages.h"
#include "optionbar.h"
#include "paintkit.h"
#include "paintkit_host.h"
#include "pictureview.h"
#include "seedfill.h"

// A marked pixel counts as 1024 away: a tolerance as large would take it.
static const int MaxTolerance = 1023;

static int MaxChannel(unsigned long p) { return int(std::max({(p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF})); }

static unsigned long ToPixel(RGBTriple c) { return (unsigned long)(c.r << 16 | c.g << 8 | c.b); }

// Calls paint(pixel) for every marked pixel, which answers the pixel's new
// value; the painted area goes into DirtyRect. The whole picture is looked
// at, not only the work view: a mark left anywhere would stop later fills.
template <class Paint> static void ForEachMarked(Paint paint)
{
    Buffer* pic = CurrentPicture;
    if (!pic || !pic->pixels) return;
    Buffer& v = *pic;
    Rect box = {v.right + 1, v.bottom + 1, v.left - 1, v.top - 1};
    for (int y = v.top; y <= v.bottom; ++y) {
        unsigned long* p = v.At(v.left, y);
        for (int x = v.left; x <= v.right; ++x, ++p) {
            if (!(*p & FillMark)) continue;
            *p = paint(*p, x, y);
            box.left = std::min(box.left, x);
            box.right = std::max(box.right, x);
            box.top = std::min(box.top, y);
            box.bottom = std::max(box.bottom, y);
        }
    }
    if (box.left > box.right) return;
    ExtendDirtyRect(box.left, box.top, box.right, box.bottom);
    InvalidatePictureRect(box.left, box.top, box.right + 1, box.bottom + 1);
}

void ApplySolid(unsigned long colour, bool shading)
{
    colour &= 0x00FFFFFF;
    if (!shading) {
        ForEachMarked([colour](unsigned long, int, int) { return colour; });
        return;
    }
    HSVTriple hsv = RGBToHSV(int(colour >> 16), int((colour >> 8) & 0xFF), int(colour & 0xFF));
    unsigned long table[256];
    for (int i = 0; i < 256; ++i) table[i] = ToPixel(HSVToRGB(hsv.h, hsv.s, i));
    ForEachMarked([&table](unsigned long p, int, int) { return table[MaxChannel(p)]; });
}

P_fill::P_fill()
{
    undoAtPress = 1;
    gridSnap = 0;
    clickSteps = 1;
    cursor = -45;
    helpContext = 2800;
}

void P_fill::ReadOptions()
{
    tolerance = OptionInt(0, 0, MaxTolerance);
    eightConnected = GetOptionValue(1) != 0 ? 1 : 0;
    shading = GetOptionValue(2) != 0 ? 1 : 0;
}

void P_fill::Activate()
{
    statusText = Translate("FillIP");
    SetOptionValue(0, tolerance);
    SetOptionValue(1, eightConnected);
    SetOptionValue(2, shading);
}

void P_fill::Deactivate(P_icon*) { ReadOptions(); }

void P_fill::Click()
{
    UDBuffer* pic = CurrentPicture;
    if (!pic) return;
    SetVisibleClip();
    ReadOptions();
    unsigned long colour = ButtonColour() & 0x00FFFFFF;
    int x = MousePoint.x, y = MousePoint.y;
    ResetDirtyRect();
    bool inside = WorkView.pixels && x >= WorkView.left && x <= WorkView.right && y >= WorkView.top &&
                  y <= WorkView.bottom;
    bool same = inside && (*WorkView.At(x, y) & 0x00FFFFFF) == colour && dynamic_cast<P_fill_solid*>(this);
    if (inside && !same) {
        SeedFill(WorkView, x, y, tolerance, eightConnected != 0);
        Apply(colour);
    }
    CountDirtyChange();
    CropUndoToDirtyRect();
    UpdateView();
}

P_fill_solid::P_fill_solid()
{
    optionBarKey = "SFILLBAR";
    iconKey = "SolidFillIcon";
}

void P_fill_solid::Apply(unsigned long colour) { ApplySolid(colour, shading != 0); }

P_fill_pattern::P_fill_pattern()
{
    optionBarKey = "PFILLBAR";
    iconKey = "PatFillIcon";
}

void P_fill_pattern::Activate()
{
    P_fill::Activate();
    SetOptionValue(4, originMode);
    BindOptionHandler(3, SetFillOriginHandler);
}

void P_fill_pattern::ReadOptions()
{
    P_fill::ReadOptions();
    originMode = OptionInt(4, 0, 2);
}

static int Mod(int a, int m)
{
    int r = a % m;
    return r < 0 ? r + m : r;
}

void P_fill_pattern::Apply(unsigned long colour)
{
    Buffer& brush = CurrentBrush;
    if (!BrushState.pictureBrush || !brush.pixels) {
        ApplySolid(colour, shading != 0);
        return;
    }
    const int w = brush.Width(), h = brush.Height();
    int ox = 0, oy = 0;
    if (originMode == 1) {
        ox = w - Mod(BrushState.originX, w);
        oy = h - Mod(BrushState.originY, h);
    } else if (originMode == 2) {
        ox = offsetX;
        oy = offsetY;
    }
    const unsigned long back = BackColour() & 0x00FFFFFF;
    const bool shade = shading != 0;
    ForEachMarked([&](unsigned long p, int x, int y) -> unsigned long {
        unsigned long b = *brush.At(brush.left + Mod(x + ox, w), brush.top + Mod(y + oy, h));
        if (b == FillMark) b = back;
        // Under a transparent brush pixel the picture stays as it was.
        if (b & KeyPixel) return p & 0x00FFFFFF;
        b &= 0x00FFFFFF;
        if (!shade) return b;
        HSVTriple hsv = RGBToHSV(int(b >> 16), int((b >> 8) & 0xFF), int(b & 0xFF));
        return ToPixel(HSVToRGB(hsv.h, hsv.s, (MaxChannel(p) + hsv.v) >> 1));
    });
}

P_fill_pos::P_fill_pos()
{
    flags = ToolOneShot;
    // One click places the origin and gives the pattern fill back.
    clickSteps = 1;
}

void P_fill_pos::Activate() { statusText = Translate("FillPos"); }

void P_fill_pos::DrawOutline()
{
    if (MousePoint.x == OutsideView) return;
    StampBrush(MousePoint.x, MousePoint.y);
    previewShown = true;
    previewX = MousePoint.x;
    previewY = MousePoint.y;
}

void P_fill_pos::EraseOutline()
{
    if (!previewShown) return;
    previewShown = false;
    RestoreUnderBrush(previewX, previewY);
}

// The pattern's brush pixel at the hot spot lands on the clicked pixel.
void P_fill_pos::Click()
{
    if (!pattern) return;
    TPoint o = HotSpotOf(CurrentBrush.Width(), CurrentBrush.Height(), BrushState.hotSpot);
    int w = std::max(CurrentBrush.Width(), 1), h = std::max(CurrentBrush.Height(), 1);
    pattern->offsetX = Mod(o.x - MousePoint.x, w);
    pattern->offsetY = Mod(o.y - MousePoint.y, h);
    pattern->originMode = 2;
}
