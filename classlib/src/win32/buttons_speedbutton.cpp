// TSpeedButton: its images, mouse and painting.
#include "buttons.h"

TSpeedButton::TSpeedButton(TComponent* AOwner) : TCustomSpeedButton(AOwner, 23, 22, blGlyphLeft, 4, false) {}

void TSpeedButton::SetGlyph(TBitmap* Value)
{
    glyph_->Assign(Value);
}

void TSpeedButton::SetNumGlyphs(int Value)
{
    if (Value < 1 || Value > 4) throw EInvalidOperation("NumGlyphs must be between 1 and 4");
    numGlyphs_ = Value;
    Invalidate();
}

void TSpeedButton::SetMargin(int Value)
{
    margin_ = Value < -1 ? -1 : Value;
    Invalidate();
}

void TSpeedButton::SetSpacing(int Value)
{
    spacing_ = Value < -1 ? -1 : Value;
    Invalidate();
}

void TSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft && GetEnabled()) BeginPress();
    TGraphicControl::MouseDown(Button, Shift, X, Y);
}

void TSpeedButton::MouseMove(TShiftState Shift, int X, int Y)
{
    TrackPress(X, Y);
    TGraphicControl::MouseMove(Shift, X, Y);
}

void TSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft && dragging_ && EndPress(X, Y)) Click();
    TGraphicControl::MouseUp(Button, Shift, X, Y);
}

void TSpeedButton::Paint()
{
    TCanvas* canvas = GetCanvas();
    RECT r = {0, 0, width_, height_};
    canvas->GetBrush()->SetColor(GetColor());
    canvas->FillRect(r);
    HDC dc = canvas->GetHandle();
    DrawFrame(dc, r, PressedLook());
    if (state_ == bsExclusive) FillRect(dc, &r, GetSysColorBrush(COLOR_BTNHIGHLIGHT));

    TButtonState look = GetEnabled() ? state_ : bsDisabled;
    AnsiString caption = GetText();
    TGlyphPlacement place =
        PlaceFace(dc, RECT{0, 0, width_, height_}, PressedLook() ? POINT{1, 1} : POINT{0, 0}, caption);
    SIZE s = GlyphSize();
    if (s.cx > 0 && s.cy > 0) {
        int index = look < numGlyphs_ ? look : 0;
        // Without a disabled image the first one is drawn as an engraved shape.
        bool engrave = look == bsDisabled && numGlyphs_ <= bsDisabled;
        DrawButtonGlyph(dc, place.GlyphPos, glyph_.get(), index * s.cx, s, engrave);
    }
    if (!caption.IsEmpty())
        DrawButtonText(dc, caption, place.TextBounds, DT_SINGLELINE | DT_CENTER | DT_VCENTER, look != bsDisabled,
                       GetFont()->GetColor());
}
