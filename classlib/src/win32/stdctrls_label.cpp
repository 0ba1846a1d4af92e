// TCustomLabel: text painted on the parent, sized to fit when AutoSize.
#include "stdctrls.h"

#include <vector>

TCustomLabel::TCustomLabel(TComponent* AOwner) : TGraphicControl(AOwner)
{
    controlStyle_ |= csSetCaption;
    width_ = 65;
    height_ = 17;
    controlStyle_ |= csOpaque;
    SetParentColor(true);
}

TCustomLabel::~TCustomLabel()
{
    SetFocusControl(nullptr);
}

unsigned TCustomLabel::TextFlags() const
{
    static const unsigned align[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
    unsigned flags = DT_EXPANDTABS | align[alignment_];
    if (wordWrap_) flags |= DT_WORDBREAK;
    if (!showAccelChar_) flags |= DT_NOPREFIX;
    return flags;
}

void TCustomLabel::SetText(const AnsiString& Value)
{
    if (Value == text_) return;
    TGraphicControl::SetText(Value);
    AdjustBounds();
}

void TCustomLabel::SetAutoSize(bool Value)
{
    if (Value == autoSize_) return;
    autoSize_ = Value;
    AdjustBounds();
}

void TCustomLabel::SetAlignment(TAlignment Value)
{
    if (Value == alignment_) return;
    alignment_ = Value;
    Invalidate();
}

void TCustomLabel::SetLayout(TTextLayout Value)
{
    if (Value == layout_) return;
    layout_ = Value;
    Invalidate();
}

void TCustomLabel::SetWordWrap(bool Value)
{
    if (Value == wordWrap_) return;
    wordWrap_ = Value;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetTransparent(bool Value)
{
    if (Value == transparent_) return;
    transparent_ = Value;
    if (Value)
        controlStyle_ &= ~csOpaque;
    else
        controlStyle_ |= csOpaque;
    Invalidate();
}

void TCustomLabel::SetShowAccelChar(bool Value)
{
    if (Value == showAccelChar_) return;
    showAccelChar_ = Value;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetFocusControl(TWinControl* Value)
{
    if (focusControl_) RemoveFreeNotification(focusControl_);
    focusControl_ = Value;
    if (Value) FreeNotification(Value);
}

bool TCustomLabel::DialogChar(char Key)
{
    if (!showAccelChar_ || !focusControl_ || !GetEnabled() || !GetVisible()) return false;
    if (!IsAccel(Key, text_) || !focusControl_->CanFocus()) return false;
    focusControl_->SetFocus();
    return true;
}

void TCustomLabel::WndProc(TMessage& Message)
{
    if (Message.Msg == CM_DIALOGCHAR) {
        Message.Result = DialogChar(MessageChar(Message));
        return;
    }
    TGraphicControl::WndProc(Message);
}

void TCustomLabel::Notification(TComponent* AComponent, TOperation Operation)
{
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == focusControl_) focusControl_ = nullptr;
}

void TCustomLabel::FontChanged()
{
    TGraphicControl::FontChanged();
    AdjustBounds();
}

void TCustomLabel::Loaded()
{
    TGraphicControl::Loaded();
    AdjustBounds();
}

void TCustomLabel::AdjustBounds()
{
    if (!autoSize_ || (GetComponentState() & csLoading)) return;
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, GetFont()->GetHandle());
    // An empty caption still has a line's height.
    AnsiString text = text_.IsEmpty() ? AnsiString(" ") : text_;
    RECT r = {0, 0, wordWrap_ ? width_ : 0, 0};
    DrawTextA(dc, text.c_str(), -1, &r, TextFlags() | DT_CALCRECT);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    int left = left_;
    if (alignment_ == taRightJustify && !wordWrap_) left = left_ + width_ - r.right;
    SetBounds(left, top_, r.right, r.bottom);
}

void TCustomLabel::Paint()
{
    TCanvas* canvas = GetCanvas();
    RECT r = {0, 0, width_, height_};
    if (!transparent_) {
        canvas->GetBrush()->SetColor(GetColor());
        canvas->FillRect(r);
    }
    HDC dc = canvas->GetHandle();
    // The canvas restores the DC when it lets go, so this selection ends there.
    SelectObject(dc, GetFont()->GetHandle());
    SetBkMode(dc, TRANSPARENT);
    unsigned flags = TextFlags();
    if (layout_ != tlTop) {
        RECT calc = r;
        DrawTextA(dc, text_.c_str(), -1, &calc, flags | DT_CALCRECT);
        int h = calc.bottom - calc.top;
        r.top = layout_ == tlCenter ? (height_ - h) / 2 : height_ - h;
    }
    if (!GetEnabled()) {
        // The engraved look of disabled text.
        RECT shifted = {r.left + 1, r.top + 1, r.right + 1, r.bottom + 1};
        SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
        DrawTextA(dc, text_.c_str(), -1, &shifted, flags);
        SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
    } else {
        SetTextColor(dc, ColorToRGB(GetFont()->GetColor()));
    }
    DrawTextA(dc, text_.c_str(), -1, &r, flags);
}
