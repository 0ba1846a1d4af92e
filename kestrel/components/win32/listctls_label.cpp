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

TCustomShadowLabel::TCustomShadowLabel(TComponent* AOwner) : TGraphicControl(AOwner)
{
    controlStyle_ |= csSetCaption | csOpaque;
    width_ = 65;
    height_ = 17;
    SetParentColor(true);
}

TCustomShadowLabel::~TCustomShadowLabel() { SetFocusControl(nullptr); }

unsigned TCustomShadowLabel::TextFlags() const
{
    static const unsigned align[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
    unsigned flags = DT_EXPANDTABS | align[alignment_];
    if (wordWrap_) flags |= DT_WORDBREAK;
    if (!showAccelChar_) flags |= DT_NOPREFIX;
    return flags;
}

// An empty caption (or a lone prefix character) still has a line's size.
AnsiString TCustomShadowLabel::DrawnText() const
{
    if (text_.IsEmpty() || (showAccelChar_ && text_ == "&")) return " ";
    return text_;
}

void TCustomShadowLabel::SetText(const AnsiString& Value)
{
    if (Value == text_) return;
    TGraphicControl::SetText(Value);
    AdjustBounds();
    Invalidate();
}

void TCustomShadowLabel::SetAutoSize(bool Value)
{
    if (Value == autoSize_) return;
    autoSize_ = Value;
    AdjustBounds();
}

void TCustomShadowLabel::SetAlignment(TAlignment Value)
{
    if (Value == alignment_) return;
    alignment_ = Value;
    Invalidate();
}

void TCustomShadowLabel::SetLayout(TTextLayout Value)
{
    if (Value == layout_) return;
    layout_ = Value;
    Invalidate();
}

void TCustomShadowLabel::SetWordWrap(bool Value)
{
    if (Value == wordWrap_) return;
    wordWrap_ = Value;
    AdjustBounds();
    Invalidate();
}

void TCustomShadowLabel::SetTransparent(bool Value)
{
    if (Value == transparent_) return;
    transparent_ = Value;
    if (Value)
        controlStyle_ &= ~csOpaque;
    else
        controlStyle_ |= csOpaque;
    Invalidate();
}

void TCustomShadowLabel::SetShowAccelChar(bool Value)
{
    if (Value == showAccelChar_) return;
    showAccelChar_ = Value;
    AdjustBounds();
    Invalidate();
}

void TCustomShadowLabel::SetFocusControl(TWinControl* Value)
{
    if (focusControl_) RemoveFreeNotification(focusControl_);
    focusControl_ = Value;
    if (Value) FreeNotification(Value);
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

void TCustomShadowLabel::Notification(TComponent* AComponent, TOperation Operation)
{
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == focusControl_) focusControl_ = nullptr;
}

void TCustomShadowLabel::FontChanged()
{
    TGraphicControl::FontChanged();
    AdjustBounds();
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
    if (!autoSize_ || (GetComponentState() & csLoading)) return;
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, GetFont()->GetHandle());
    AnsiString text = DrawnText();
    RECT r = {0, 0, wordWrap_ ? std::max(1, width_ - 2 - shadowSize_) : 0, 0};
    DrawTextA(dc, text.c_str(), -1, &r, TextFlags() | DT_CALCRECT);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    // Text, shadow and a pixel of margin on each side.
    int w = r.right + shadowSize_ + 2;
    int h = r.bottom + shadowSize_ + 2;
    int left = left_;
    if (alignment_ == taRightJustify) left = left_ + width_ - w;
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
    if (!transparent_) {
        HBRUSH brush = CreateSolidBrush(ColorToRGB(GetColor()));
        FillRect(DC, &client, brush);
        DeleteObject(brush);
    }
    HGDIOBJ oldFont = SelectObject(DC, GetFont()->GetHandle());
    int oldMode = SetBkMode(DC, TRANSPARENT);
    RECT r = {1, 1, width_ - 1 - shadowSize_, height_ - 1 - shadowSize_};
    unsigned flags = TextFlags();
    if (layout_ != tlTop) {
        RECT calc = r;
        AnsiString text = DrawnText();
        DrawTextA(DC, text.c_str(), -1, &calc, flags | DT_CALCRECT);
        int h = calc.bottom - calc.top;
        OffsetRect(&r, 0, layout_ == tlCenter ? (height_ - h) / 2 - 1 : height_ - h - 2);
    }
    DrawShadowed(DC, r, flags);
    if (showFocus_ && focusControl_ && focusControl_->Focused()) {
        InflateRect(&client, -1, -1);
        SetTextColor(DC, RGB(0, 0, 0));
        DrawFocusRect(DC, &client);
    }
    SetBkMode(DC, oldMode);
    SelectObject(DC, oldFont);
}

void TCustomShadowLabel::Paint() { PaintTo(GetCanvas()->GetHandle()); }

bool TCustomShadowLabel::DialogChar(char Key)
{
    if (!showAccelChar_ || !focusControl_ || !GetEnabled()) return false;
    const char* s = text_.c_str();
    for (int i = 0; s[i]; ++i) {
        if (s[i] != '&') continue;
        if (s[i + 1] == '&') {
            ++i;
            continue;
        }
        if (CharUpperA(reinterpret_cast<LPSTR>(static_cast<unsigned char>(s[i + 1]))) !=
            CharUpperA(reinterpret_cast<LPSTR>(static_cast<unsigned char>(Key))))
            return false;
        if (!focusControl_->CanFocus()) return false;
        focusControl_->SetFocus();
        return true;
    }
    return false;
}

bool ShadowLabelAccelerator(TWinControl* Root, char Key)
{
    if (!Root) return false;
    for (int i = 0; i < Root->GetControlCount(); ++i) {
        TControl* c = Root->GetControl(i);
        if (auto* label = dynamic_cast<TCustomShadowLabel*>(c)) {
            if (label->GetVisible() && label->DialogChar(Key)) return true;
        } else if (auto* win = dynamic_cast<TWinControl*>(c)) {
            if (ShadowLabelAccelerator(win, Key)) return true;
        }
    }
    return false;
}
