// TSpeedButton: states, groups and painting.
#include "buttons.h"

namespace {

// Scoped memory DC with one bitmap selected.
class TMemoryDC {
public:
    TMemoryDC(HDC like, HBITMAP bitmap) : dc_(CreateCompatibleDC(like)), old_(SelectObject(dc_, bitmap)) {}
    ~TMemoryDC()
    {
        SelectObject(dc_, old_);
        DeleteDC(dc_);
    }
    TMemoryDC(const TMemoryDC&) = delete;
    TMemoryDC& operator=(const TMemoryDC&) = delete;
    HDC Get() const { return dc_; }

private:
    HDC dc_;
    HGDIOBJ old_;
};

// Mono bits 0 become the DC's text colour, 1 its background colour.
void BlitMask(HDC dc, POINT p, SIZE s, HDC mask, COLORREF zero, COLORREF one, DWORD rop)
{
    COLORREF oldText = SetTextColor(dc, zero);
    COLORREF oldBk = SetBkColor(dc, one);
    BitBlt(dc, p.x, p.y, s.cx, s.cy, mask, 0, 0, rop);
    SetTextColor(dc, oldText);
    SetBkColor(dc, oldBk);
}

// Opaque pixels (mask 0) painted in one colour: the disabled look.
void PaintSilhouette(HDC dc, POINT p, SIZE s, HDC mask, COLORREF color)
{
    BlitMask(dc, p, s, mask, RGB(0, 0, 0), RGB(255, 255, 255), SRCAND);
    BlitMask(dc, p, s, mask, color, RGB(0, 0, 0), SRCPAINT);
}

}  // namespace

TSpeedButton::TSpeedButton(TComponent* AOwner) : TGraphicControl(AOwner), glyph_(new TBitmap)
{
    // No csClickEvents: the click comes after the state change, in MouseUp.
    controlStyle_ = csCaptureMouse | csDoubleClicks | csSetCaption;
    width_ = 23;
    height_ = 22;
    SetParentColor(true);
    glyph_->OnChange = [this](TGraphic*) { Invalidate(); };
}

TSpeedButton::~TSpeedButton()
{
    glyph_->OnChange = nullptr;
}

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

void TSpeedButton::SetLayout(TButtonLayout Value)
{
    layout_ = Value;
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

void TSpeedButton::SetText(const AnsiString& Value)
{
    TGraphicControl::SetText(Value);
    Invalidate();
}

void TSpeedButton::SetFlat(bool Value)
{
    flat_ = Value;
    Invalidate();
}

void TSpeedButton::SetEnabled(bool Value)
{
    TGraphicControl::SetEnabled(Value);
    if (!Value) dragging_ = false;
    state_ = !Value ? bsDisabled : down_ ? bsExclusive : bsUp;
    Invalidate();
}

template <class F> void TSpeedButton::ForGroup(F f)
{
    TWinControl* parent = GetParent();
    if (!parent || groupIndex_ == 0) return;
    for (int i = 0; i < parent->GetControlCount(); ++i) {
        auto* other = dynamic_cast<TSpeedButton*>(parent->GetControl(i));
        if (other && other != this && other->groupIndex_ == groupIndex_) f(other);
    }
}

void TSpeedButton::UpdateExclusive()
{
    if (!down_) return;
    ForGroup([](TSpeedButton* other) {
        if (!other->down_) return;
        other->down_ = false;
        other->state_ = other->GetEnabled() ? bsUp : bsDisabled;
        other->Invalidate();
    });
}

void TSpeedButton::SetGroupIndex(int Value)
{
    groupIndex_ = Value;
    if (Value == 0 && down_) {
        down_ = false;
        state_ = GetEnabled() ? bsUp : bsDisabled;
        Invalidate();
    }
    UpdateExclusive();
}

void TSpeedButton::SetDown(bool Value)
{
    if (groupIndex_ == 0) Value = false;
    if (Value == down_) return;
    if (down_ && !allowAllUp_) return;
    down_ = Value;
    if (GetEnabled()) state_ = Value ? bsExclusive : bsUp;
    Invalidate();
    UpdateExclusive();
}

void TSpeedButton::SetAllowAllUp(bool Value)
{
    allowAllUp_ = Value;
    ForGroup([Value](TSpeedButton* other) { other->allowAllUp_ = Value; });
}

void TSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft && GetEnabled()) {
        if (!down_) {
            state_ = bsDown;
            Repaint();
        }
        dragging_ = true;
    }
    TGraphicControl::MouseDown(Button, Shift, X, Y);
}

void TSpeedButton::MouseMove(TShiftState Shift, int X, int Y)
{
    if (dragging_) {
        TButtonState look = down_ ? bsExclusive : bsUp;
        if (Inside(X, Y)) look = down_ ? bsExclusive : bsDown;
        if (look != state_) {
            state_ = look;
            Invalidate();
        }
    }
    TGraphicControl::MouseMove(Shift, X, Y);
}

void TSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    bool click = false;
    if (Button == mbLeft && dragging_) {
        dragging_ = false;
        click = Inside(X, Y);
        if (groupIndex_ == 0) {
            state_ = bsUp;
            Invalidate();
        } else if (click) {
            SetDown(!down_);
        } else {
            state_ = down_ ? bsExclusive : bsUp;
            Invalidate();
        }
    }
    if (click) Click();
    TGraphicControl::MouseUp(Button, Shift, X, Y);
}

void TSpeedButton::MouseEnter()
{
    if (flat_) Invalidate();
    TGraphicControl::MouseEnter();
}

void TSpeedButton::MouseLeave()
{
    if (flat_) Invalidate();
    TGraphicControl::MouseLeave();
}

SIZE TSpeedButton::GlyphSize()
{
    if (glyph_->GetEmpty()) return SIZE{0, 0};
    return SIZE{glyph_->GetWidth() / numGlyphs_, glyph_->GetHeight()};
}

void TSpeedButton::DrawFrame(HDC dc, RECT& r)
{
    bool pressed = state_ == bsDown || state_ == bsExclusive;
    if (!flat_) {
        DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT | (pressed ? DFCS_PUSHED : 0));
    } else if (pressed) {
        DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    } else if (MouseInControl() && GetEnabled()) {
        DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT | BF_ADJUST);
    }
    if (state_ == bsExclusive) FillRect(dc, &r, GetSysColorBrush(COLOR_BTNHIGHLIGHT));
}

void TSpeedButton::DrawGlyph(HDC dc, POINT p, TButtonState look)
{
    SIZE s = GlyphSize();
    if (s.cx == 0 || s.cy == 0) return;
    int index = look < numGlyphs_ ? look : 0;
    // Without a disabled image the first one is drawn as an engraved shape.
    bool engrave = look == bsDisabled && numGlyphs_ <= bsDisabled;
    COLORREF transparent = ColorToRGB(glyph_->GetTransparentColor()) & 0xFFFFFF;
    TMemoryDC source(dc, glyph_->GetHandle());
    HBITMAP maskBitmap = CreateBitmap(s.cx, s.cy, 1, 1, nullptr);
    if (!maskBitmap) throw EOutOfResources("Cannot create a glyph mask");
    {
        TMemoryDC mask(dc, maskBitmap);
        SetBkColor(source.Get(), transparent);
        BitBlt(mask.Get(), 0, 0, s.cx, s.cy, source.Get(), index * s.cx, 0, SRCCOPY);
        if (engrave) {
            PaintSilhouette(dc, POINT{p.x + 1, p.y + 1}, s, mask.Get(), GetSysColor(COLOR_BTNHIGHLIGHT));
            PaintSilhouette(dc, p, s, mask.Get(), GetSysColor(COLOR_BTNSHADOW));
        } else {
            // dest ^ src, cleared where opaque, ^ src: the glyph over the face.
            BitBlt(dc, p.x, p.y, s.cx, s.cy, source.Get(), index * s.cx, 0, SRCINVERT);
            BlitMask(dc, p, s, mask.Get(), RGB(0, 0, 0), RGB(255, 255, 255), SRCAND);
            BitBlt(dc, p.x, p.y, s.cx, s.cy, source.Get(), index * s.cx, 0, SRCINVERT);
        }
    }
    DeleteObject(maskBitmap);
}

void TSpeedButton::Paint()
{
    TCanvas* canvas = GetCanvas();
    RECT r = {0, 0, width_, height_};
    canvas->GetBrush()->SetColor(GetColor());
    canvas->FillRect(r);
    HDC dc = canvas->GetHandle();
    DrawFrame(dc, r);

    TButtonState look = GetEnabled() ? state_ : bsDisabled;
    bool pressed = state_ == bsDown || state_ == bsExclusive;
    POINT offset = pressed ? POINT{1, 1} : POINT{0, 0};
    AnsiString caption = GetText();
    SelectObject(dc, GetFont()->GetHandle());
    RECT textSize = {0, 0, 0, 0};
    if (!caption.IsEmpty()) DrawTextA(dc, caption.c_str(), -1, &textSize, DT_SINGLELINE | DT_CALCRECT);
    RECT face = {0, 0, width_, height_};
    TGlyphPlacement place = CalcButtonLayout(face, offset, SIZE{textSize.right, textSize.bottom}, GlyphSize(),
                                             layout_, margin_, spacing_);
    DrawGlyph(dc, place.GlyphPos, look);
    if (caption.IsEmpty()) return;
    SetBkMode(dc, TRANSPARENT);
    RECT t = place.TextBounds;
    if (look == bsDisabled) {
        RECT shifted = {t.left + 1, t.top + 1, t.right + 1, t.bottom + 1};
        SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
        DrawTextA(dc, caption.c_str(), -1, &shifted, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
        SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
    } else {
        SetTextColor(dc, ColorToRGB(GetFont()->GetColor()));
    }
    DrawTextA(dc, caption.c_str(), -1, &t, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
}
