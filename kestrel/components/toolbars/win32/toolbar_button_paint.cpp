// TToolbarButton: border, dither, glyph, caption and arrow.
#include "toolbar_button.h"

#include "imagelist.h"
#include "toolbar_button_glyph.h"
#include "control_support.h"

namespace {

// A memory DC with a bitmap of the button's size, copied out at the end.
class TOffscreen {
public:
    TOffscreen(HDC target, int w, int h)
        : target_(target), w_(w), h_(h), dc_(CreateCompatibleDC(target)), bitmap_(CreateCompatibleBitmap(target, w, h))
    {
        if (!dc_ || !bitmap_) {
            Free();
            throw EOutOfResources("Out of system resources");
        }
        old_ = SelectObject(dc_, bitmap_);
    }
    ~TOffscreen()
    {
        SelectObject(dc_, old_);
        Free();
    }
    TOffscreen(const TOffscreen&) = delete;
    TOffscreen& operator=(const TOffscreen&) = delete;
    HDC Get() const { return dc_; }
    void CopyOut() { BitBlt(target_, 0, 0, w_, h_, dc_, 0, 0, SRCCOPY); }

private:
    void Free()
    {
        if (bitmap_) DeleteObject(bitmap_);
        if (dc_) DeleteDC(dc_);
    }
    HDC target_;
    int w_, h_;
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_ = nullptr;
};

void FillWith(HDC dc, const RECT& r, TColor color)
{
    HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(color)));
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

}  // namespace

TButtonGlyph* TToolbarButton::PreparedGlyph()
{
    if (!prepared_ && !glyph_->GetEmpty()) {
        prepared_.reset(new TButtonGlyph(glyph_.get(), glyphMask_.get(), numGlyphs_, oldDisabledStyle_));
    }
    return prepared_.get();
}

void TToolbarButton::Paint()
{
    PaintTo(GetCanvas()->GetHandle());
}

void TToolbarButton::PaintTo(HDC DC)
{
    if (width_ <= 0 || height_ <= 0) return;
    if (!flat_ || opaque_) {
        TOffscreen off(DC, width_, height_);
        FillWith(off.Get(), RECT{0, 0, width_, height_}, GetColor());
        DrawFace(off.Get());
        off.CopyOut();
        return;
    }
    // Painted on the parent's DC: the dither must line up with the button.
    int saved = SaveDC(DC);
    POINT org;
    GetViewportOrgEx(DC, &org);
    SetBrushOrgEx(DC, org.x & 7, org.y & 7, nullptr);
    try {
        DrawFace(DC);
    } catch (...) {
        RestoreDC(DC, saved);
        throw;
    }
    RestoreDC(DC, saved);
}

void TToolbarButton::DrawBorder(HDC DC, RECT& R)
{
    bool hotLook = IsHot() && GetEnabled();
    bool arrowPressed = dropdownCombo_ && dropPressed_ && Pressed();
    bool mainPressed = Pressed() && !arrowPressed;
    if (!noBorder_ && (Pressed() || !flat_ || hotLook)) {
        RECT main = R;
        if (dropdownCombo_) main.right -= kComboArrowWidth;
        RECT arrow = {main.right, R.top, R.right, R.bottom};
        if (flat_) {
            DrawEdge(DC, &main, mainPressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
            if (dropdownCombo_) DrawEdge(DC, &arrow, arrowPressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
        } else {
            DrawEdge(DC, &main, mainPressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_SOFT | BF_MIDDLE);
            if (dropdownCombo_)
                DrawEdge(DC, &arrow, arrowPressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_SOFT | BF_MIDDLE);
        }
    }
    if (dropdownCombo_) R.right -= kComboArrowWidth;
    if (!noBorder_) InflateRect(&R, flat_ ? -1 : -2, flat_ ? -1 : -2);
    if (state_ == tbsExclusive && (!flat_ || !IsHot())) {
        FillRect(DC, &R, CreateTwoColorsBrush(ColorToRGB(clBtnHighlight), ColorToRGB(clBtnFace)));
    }
}

void TToolbarButton::DrawFace(HDC DC)
{
    RECT r = {0, 0, width_, height_};
    DrawBorder(DC, r);
    bool enabled = GetEnabled();
    bool arrowPressed = dropdownCombo_ && dropPressed_;
    bool offset = Pressed() && !arrowPressed;

    TTbFaceParts parts;
    parts.Left = r.left;
    parts.Top = r.top;
    parts.Width = r.right - r.left;
    parts.Height = r.bottom - r.top;
    parts.Offset = offset ? TTbPoint{1, 1} : TTbPoint{0, 0};
    parts.Layout = layout_;
    parts.Margin = margin_;
    parts.Spacing = spacing_;

    bool useImages = images_ && imageIndex_ >= 0 && imageIndex_ < images_->GetCount();
    TButtonGlyph* glyph = useImages || displayMode_ == dmTextOnly ? nullptr : PreparedGlyph();
    if (displayMode_ != dmTextOnly) {
        if (useImages) parts.Glyph = TTbButtonSize{images_->GetWidth(), images_->GetHeight()};
        else if (glyph) parts.Glyph = TTbButtonSize{glyph->GetWidth(), glyph->GetHeight()};
    }
    bool arrow = HasDropdown() && dropdownArrow_ && !dropdownCombo_;
    if (arrow) parts.Arrow = TTbButtonSize{kDropArrowWidth, kDropArrowHeight};

    AnsiString caption = displayMode_ == dmGlyphOnly ? AnsiString() : GetText();
    HGDIOBJ oldFont = SelectObject(DC, GetFont()->GetHandle());
    RECT textSize = {0, 0, 0, 0};
    if (!caption.IsEmpty()) {
        UINT flags = DT_CALCRECT;
        if (wordWrap_) {
            textSize.right = WrapWidth(parts);
            flags |= DT_WORDBREAK;
        } else {
            flags |= DT_SINGLELINE;
        }
        DrawTextA(DC, caption.c_str(), -1, &textSize, flags);
    }
    parts.Text = TTbButtonSize{textSize.right, textSize.bottom};
    TTbFacePlace at = PlaceFaceParts(parts);

    TCanvas canvas;
    canvas.SetHandle(DC);
    TToolbarButtonState look = enabled ? state_ : tbsDisabled;
    if (useImages) images_->Draw(&canvas, at.Glyph.x, at.Glyph.y, imageIndex_, enabled);
    else if (glyph && parts.Glyph.cx > 0) glyph->Draw(&canvas, at.Glyph.x, at.Glyph.y, look);
    canvas.SetHandle(nullptr);

    if (!caption.IsEmpty()) {
        RECT bounds = {at.Text.x, at.Text.y, at.Text.x + parts.Text.cx, at.Text.y + parts.Text.cy};
        DrawCaption(DC, bounds, enabled);
    }
    if (arrow) DrawArrow(DC, at.Arrow.x, at.Arrow.y, enabled);
    if (dropdownCombo_) {
        int shift = arrowPressed && Pressed() ? 1 : 0;
        DrawArrow(DC, width_ - 13 + shift, (height_ - kDropArrowHeight) / 2 + shift, enabled);
    }
    SelectObject(DC, oldFont);
}

void TToolbarButton::DrawCaption(HDC DC, const RECT& Bounds, bool Enabled)
{
    static const UINT align[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
    UINT flags = align[alignment_] | (wordWrap_ ? DT_WORDBREAK : DT_SINGLELINE | DT_VCENTER);
    DrawButtonText(DC, GetText(), Bounds, flags, Enabled, GetFont()->GetColor());
}

// A 5-pixel-wide triangle pointing down, 4 pixels in from X.
void TToolbarButton::DrawArrow(HDC DC, int X, int Y, bool Enabled)
{
    auto triangle = [DC, X, Y](int dx, TColor color) {
        for (int row = 0; row < 3; ++row) {
            RECT line = {X + dx + 4 + row, Y + dx + row, X + dx + 9 - row, Y + dx + row + 1};
            FillWith(DC, line, color);
        }
    };
    if (!Enabled) {
        triangle(1, clBtnHighlight);
        triangle(0, clBtnShadow);
        return;
    }
    triangle(0, GetFont()->GetColor());
}
