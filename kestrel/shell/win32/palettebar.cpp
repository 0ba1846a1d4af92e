#include "palettebar.h"

#include "appsettings.h"
#include "colconv.h"
#include "colorsel.h"
#include "colorsel_hsv.h"
#include "colourkeys.h"
#include "imageform.h"
#include "imagewindow_host.h"
#include "paintkit_host.h"
#include "palette_notify.h"

namespace {

// Keeps the installed swatches, and forgets one that is freed before it is
// uninstalled (the paint kit would otherwise read a dead control).
class TSwatchWatch : public TComponent {
public:
    TSwatchWatch() : TComponent(nullptr) {}
    TShape* draw = nullptr;
    TShape* back = nullptr;

    void Watch(TShape* drawCol, TShape* backCol)
    {
        for (TShape* old : {draw, back})
            if (old) RemoveFreeNotification(old);
        draw = drawCol;
        back = backCol;
        for (TShape* s : {draw, back})
            if (s) FreeNotification(s);
    }

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override
    {
        if (Operation == opRemove) {
            if (AComponent == draw) draw = nullptr;
            if (AComponent == back) back = nullptr;
        }
        TComponent::Notification(AComponent, Operation);
    }
};

TSwatchWatch& Swatches()
{
    static TSwatchWatch watch;
    return watch;
}

bool hsvReadout = false;

// A tag whose hue is out of range names no colour: the colour's own HSV
// stands in.
KeyedColour KeyedColourOf(const TShape* swatch)
{
    unsigned long pixel = SwatchColour(swatch);
    HSVTriple hsv = TagToHSV(swatch->GetTag());
    if (hsv.h >= 360) hsv = TagToHSV(TagForPixel(pixel, 0));
    return KeyedColour{PixelToRGB(pixel), hsv};
}

void ShowDrawingColour(const TShape* draw)
{
    if (CurrentImageForm) CurrentImageForm->SetStatusText(2, KeyedColourReadout(KeyedColourOf(draw), hsvReadout));
}

void InvalidateCell(TBuffer* holder, int i)
{
    if (!holder || !holder->HandleAllocated()) return;
    Rect r = PaletteBarCells.Layout().CellRect(i);
    RECT view = {r.left * PaletteZoom, r.top * PaletteZoom, (r.right + 1) * PaletteZoom, (r.bottom + 1) * PaletteZoom};
    InvalidateRect(holder->GetHandle(), &view, FALSE);
}

}  // namespace

TColor PixelToColor(unsigned long pixel) { return static_cast<TColor>(Colconv::BSwap(pixel & 0xFFFFFF) >> 8); }

unsigned long ColorToPixel(TColor colour)
{
    return Colconv::BSwap(static_cast<unsigned long>(ColorToRGB(colour)) & 0xFFFFFF) >> 8;
}

unsigned long SwatchColour(const TShape* swatch) { return ColorToPixel(swatch->GetBrush()->GetColor()); }

void SetSwatchColour(TShape* swatch, unsigned long pixel, int tag)
{
    swatch->GetBrush()->SetColor(PixelToColor(pixel));
    swatch->SetTag(tag);
}

void SetSwatchColour(TShape* swatch, unsigned long pixel)
{
    SetSwatchColour(swatch, pixel, TagForPixel(pixel, swatch->GetTag()));
}

void SwapSwatchColours(TShape* a, TShape* b)
{
    unsigned long colourA = SwatchColour(a);
    int tagA = a->GetTag();
    SetSwatchColour(a, SwatchColour(b), b->GetTag());
    SetSwatchColour(b, colourA, tagA);
}

void InstallColourSwatches(TShape* drawCol, TShape* backCol)
{
    Swatches().Watch(drawCol, backCol);
    // Without a swatch the paint kit falls back to black on white.
    PaintKitHost.foreColour = nullptr;
    PaintKitHost.backColour = nullptr;
    if (drawCol) PaintKitHost.foreColour = [] { return Swatches().draw ? SwatchColour(Swatches().draw) : 0x000000ul; };
    if (backCol) PaintKitHost.backColour = [] { return Swatches().back ? SwatchColour(Swatches().back) : 0xFFFFFFul; };
}

TShape* DrawColourSwatch() { return Swatches().draw; }
TShape* BackColourSwatch() { return Swatches().back; }

void BuildPalette(TBuffer* holder, int count, bool useDefault)
{
    PaletteBarCells.Build(count, useDefault ? DefaultPalette() : PaletteBarCells.Colours());
    AppSettings.Palette = PaletteBarCells.Count();
    if (!holder) return;
    const PaletteLayout& layout = PaletteBarCells.Layout();
    holder->SetZoom(PaletteZoom);
    holder->SetBounds(holder->GetLeft(), holder->GetTop(), layout.Width() * PaletteZoom,
                      layout.Height() * PaletteZoom);
    holder->SetBuffer(&PaletteBarCells.Picture());
    holder->Invalidate();
}

unsigned long GetPaletteColor(int i) { return PaletteBarCells.Colour(i); }

void SetPaletteColor(TBuffer* holder, int i, unsigned long pixel)
{
    PaletteBarCells.SetColour(i, pixel);
    InvalidateCell(holder, i);
}

void PaletteHolderMouseMove(TBuffer* holder, int x, int y)
{
    (void)holder;
    unsigned long pixel;
    if (!CurrentImageForm || !PaletteBarCells.PixelAt(x / PaletteZoom, y / PaletteZoom, pixel)) return;
    CurrentImageForm->SetStatusText(2, ColourReadout(pixel));
}

void PaletteHolderMouseDown(TBuffer* holder, TShape* drawCol, TShape* backCol, TMouseButton button,
                            TShiftState shift, int x, int y)
{
    TShape* swatch = button == mbLeft ? drawCol : button == mbRight ? backCol : nullptr;
    int cell = PaletteBarCells.Layout().CellAt(x / PaletteZoom, y / PaletteZoom);
    if (!swatch || cell < 0) return;
    if (shift & (ssShift | ssAlt | ssCtrl)) {
        SetPaletteColor(holder, cell, SwatchColour(swatch));
        return;
    }
    SetSwatchColour(swatch, GetPaletteColor(cell));
    ColorChanged();
}

void ConnectPaletteBar(TBuffer* holder, TShape* drawCol, TShape* backCol)
{
    InstallColourSwatches(drawCol, backCol);
    holder->OnMouseMove = [holder](TObject*, TShiftState, int x, int y) { PaletteHolderMouseMove(holder, x, y); };
    holder->OnMouseDown = [holder](TObject*, TMouseButton button, TShiftState shift, int x, int y) {
        PaletteHolderMouseDown(holder, DrawColourSwatch(), BackColourSwatch(), button, shift, x, y);
    };
    drawCol->OnMouseDown = ActivateColorSel;
    backCol->OnMouseDown = ActivateColorSel;
    for (TShape* swatch : {drawCol, backCol}) SetSwatchColour(swatch, SwatchColour(swatch));
    ImageWindowHost.colourKey = ColourKey;
}

void ColourKey(ImageKey key)
{
    TShape* draw = DrawColourSwatch();
    TShape* back = BackColourSwatch();
    if (!draw || !back) return;
    switch (key) {
    case ImageKey::BackgroundSelector:
    case ImageKey::DrawingSelector:
        // The selector shows and applies the colour itself.
        if (ColorSel) ColorSel->OpenFor(key == ImageKey::DrawingSelector ? draw : back);
        return;
    case ImageKey::SwitchReadout:
        hsvReadout = !hsvReadout;
        ShowDrawingColour(draw);
        return;
    case ImageKey::SwapColours: SwapSwatchColours(draw, back); break;
    default: {
        KeyedColour colour = KeyedColourOf(draw);
        if (!StepColourChannel(key, hsvReadout, colour)) return;
        SetSwatchColour(draw, RGBToPixel(colour.rgb), HSVTag(colour.hsv));
        break;
    }
    }
    ShowDrawingColour(draw);
    ColorChanged();
}

bool HsvReadoutShown() { return hsvReadout; }
