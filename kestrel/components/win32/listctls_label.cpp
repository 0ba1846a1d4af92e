// TCustomShadowLabel: label text with a one-colour shadow.
#include "listctls.h"

#include <algorithm>

namespace {

// The offset of the shadow toward its position.
POINT ShadowOffset(TShadowPosition pos, int size)
{
    switch (pos) {
    case spLeftBottom: return POINT{-size, size};
    case spRightBottom: return POINT{size, size};
    case spRightTop: return POINT{size, -size};
    default: return POINT{-size, -size};
    }
}

}  // namespace

TCustomShadowLabel::TCustomShadowLabel(TComponent* AOwner) : TCustomLabel(AOwner) {}

// An empty caption (or a lone prefix character) still has a line's size.
AnsiString TCustomShadowLabel::DrawnText() const
{
    if (text_.IsEmpty() || (GetShowAccelChar() && text_ == "&")) return " ";
    return text_;
}

void TCustomShadowLabel::SetText(const AnsiString& Value)
{
    if (Value == text_) return;
    TCustomLabel::SetText(Value);
    Invalidate();
}

void TCustomShadowLabel::SetShowFocus(bool Value)
{
    showFocus_ = Value;
    Invalidate();
}

void TCustomShadowLabel::SetShadowColor(TColor Value)
{
    shadowColor_ = Value;
    Invalidate();
}

void TCustomShadowLabel::SetShadowSize(int Value)
{
    Value = std::max(0, Value);
    if (Value == shadowSize_) return;
    shadowSize_ = Value;
    AdjustBounds();
    Invalidate();
}

void TCustomShadowLabel::SetShadowPos(TShadowPosition Value)
{
    shadowPos_ = Value;
    Invalidate();
}

void TCustomShadowLabel::MouseEnter()
{
    if (!GetEnabled() || mouseOver_) return;
    mouseOver_ = true;
    TGraphicControl::MouseEnter();
}

void TCustomShadowLabel::MouseLeave()
{
    if (!mouseOver_) return;
    mouseOver_ = false;
    TGraphicControl::MouseLeave();
}

void TCustomShadowLabel::AdjustBounds()
{
    if (!GetAutoSize() || (GetComponentState() & csLoading)) return;
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, GetFont()->GetHandle());
    AnsiString text = DrawnText();
    RECT r = {0, 0, GetWordWrap() ? std::max(1, width_ - 2 - shadowSize_) : 0, 0};
    DrawTextA(dc, text.c_str(), -1, &r, TextFlags() | DT_CALCRECT);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    // Text, shadow and a pixel of margin on each side.
    int w = r.right + shadowSize_ + 2;
    int h = r.bottom + shadowSize_ + 2;
    int left = left_;
    if (GetAlignment() == taRightJustify) left = left_ + width_ - w;
    SetBounds(left, top_, w, h);
}

void TCustomShadowLabel::DrawShadowed(HDC DC, RECT Rect, unsigned Flags)
{
    AnsiString text = DrawnText();
    COLORREF face = ColorToRGB(GetFont()->GetColor());
    COLORREF shadow = ColorToRGB(shadowColor_);
    int size = shadowSize_;
    TShadowPosition pos = shadowPos_;
    if (!GetEnabled()) {
        face = GetSysColor(COLOR_GRAYTEXT);
        shadow = GetSysColor(COLOR_BTNHIGHLIGHT);
        // Without a shadow of its own, disabled text is engraved.
        if (size == 0) {
            size = 1;
            pos = spRightBottom;
        }
    }
    // The text sits so that its shadow stays inside the label.
    POINT off = ShadowOffset(pos, size);
    RECT textRect = Rect;
    OffsetRect(&textRect, std::max(0, -static_cast<int>(off.x)), std::max(0, -static_cast<int>(off.y)));
    if (size > 0) {
        RECT s = textRect;
        OffsetRect(&s, off.x, off.y);
        SetTextColor(DC, shadow);
        DrawTextA(DC, text.c_str(), -1, &s, Flags);
    }
    SetTextColor(DC, face);
    DrawTextA(DC, text.c_str(), -1, &textRect, Flags);
}

void TCustomShadowLabel::PaintTo(HDC DC)
{
    RECT client = {0, 0, width_, height_};
    if (!GetTransparent()) {
        HBRUSH brush = CreateSolidBrush(ColorToRGB(GetColor()));
        FillRect(DC, &client, brush);
        DeleteObject(brush);
    }
    HGDIOBJ oldFont = SelectObject(DC, GetFont()->GetHandle());
    int oldMode = SetBkMode(DC, TRANSPARENT);
    RECT r = {1, 1, width_ - 1 - shadowSize_, height_ - 1 - shadowSize_};
    unsigned flags = TextFlags();
    if (GetLayout() != tlTop) {
        RECT calc = r;
        AnsiString text = DrawnText();
        DrawTextA(DC, text.c_str(), -1, &calc, flags | DT_CALCRECT);
        int h = calc.bottom - calc.top;
        OffsetRect(&r, 0, GetLayout() == tlCenter ? (height_ - h) / 2 - 1 : height_ - h - 2);
    }
    DrawShadowed(DC, r, flags);
    if (showFocus_ && GetFocusControl() && GetFocusControl()->Focused()) {
        InflateRect(&client, -1, -1);
        SetTextColor(DC, RGB(0, 0, 0));
        DrawFocusRect(DC, &client);
    }
    SetBkMode(DC, oldMode);
    SelectObject(DC, oldFont);
}

void TCustomShadowLabel::Paint() { PaintTo(GetCanvas()->GetHandle()); }
