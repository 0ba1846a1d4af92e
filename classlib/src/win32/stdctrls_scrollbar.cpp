// TScrollBar: the SCROLLBAR class. The system only reports requests (line,
// page, thumb); the position is ours and is moved here.
#include "stdctrls.h"

#include <algorithm>

TScrollCode ScrollCodeOf(int sbCode)
{
    switch (sbCode) {
    case SB_LINEUP: return scLineUp;
    case SB_LINEDOWN: return scLineDown;
    case SB_PAGEUP: return scPageUp;
    case SB_PAGEDOWN: return scPageDown;
    case SB_THUMBPOSITION: return scPosition;
    case SB_THUMBTRACK: return scTrack;
    case SB_TOP: return scTop;
    case SB_BOTTOM: return scBottom;
    default: return scEndScroll;
    }
}

TScrollBar::TScrollBar(TComponent* AOwner) : TWinControl(AOwner)
{
    controlStyle_ = csDoubleClicks;
    width_ = 121;
    height_ = GetSystemMetrics(SM_CYHSCROLL);
    SetTabStop(true);
}

void TScrollBar::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    CreateSubClass(Params, "SCROLLBAR");
    Params.Style |= kind_ == sbHorizontal ? SBS_HORZ : SBS_VERT;
}

void TScrollBar::CreateWnd()
{
    TWinControl::CreateWnd();
    ApplyScrollInfo();
}

void TScrollBar::ApplyScrollInfo()
{
    if (!HandleAllocated()) return;
    SCROLLINFO si = {sizeof(si), SIF_RANGE | SIF_POS | SIF_PAGE | SIF_DISABLENOSCROLL, min_, max_,
                     static_cast<UINT>(pageSize_), position_, 0};
    SetScrollInfo(handle_, SB_CTL, &si, TRUE);
}

void TScrollBar::SetKind(TScrollBarKind Value)
{
    if (Value == kind_) return;
    kind_ = Value;
    SetBounds(left_, top_, height_, width_);
    RecreateWnd();
}

void TScrollBar::SetParams(int APosition, int AMin, int AMax)
{
    if (AMax < AMin) throw EInvalidOperation("Scroll bar property out of range");
    APosition = std::max(AMin, std::min(APosition, AMax));
    bool changed = APosition != position_;
    min_ = AMin;
    max_ = AMax;
    position_ = APosition;
    ApplyScrollInfo();
    if (changed) Change();
}

void TScrollBar::SetPageSize(int Value)
{
    if (Value < 0 || Value > max_ - min_ + 1) throw EInvalidOperation("Scroll bar property out of range");
    pageSize_ = Value;
    ApplyScrollInfo();
}

void TScrollBar::Change()
{
    if (OnChange) OnChange(this);
}

void TScrollBar::Scroll(TScrollCode ScrollCode, int& ScrollPos)
{
    if (OnScroll) OnScroll(this, ScrollCode, ScrollPos);
}

void TScrollBar::DoScroll(int sbCode)
{
    int pos = position_;
    switch (sbCode) {
    case SB_LINEUP: pos -= smallChange_; break;
    case SB_LINEDOWN: pos += smallChange_; break;
    case SB_PAGEUP: pos -= largeChange_; break;
    case SB_PAGEDOWN: pos += largeChange_; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: {
        // The message's 16 bits are not enough for a large range.
        SCROLLINFO si = {sizeof(si), SIF_TRACKPOS, 0, 0, 0, 0, 0};
        GetScrollInfo(handle_, SB_CTL, &si);
        pos = si.nTrackPos;
        break;
    }
    case SB_TOP: pos = min_; break;
    case SB_BOTTOM: pos = max_; break;
    default: break;
    }
    pos = std::max(min_, std::min(pos, max_));
    Scroll(ScrollCodeOf(sbCode), pos);
    SetPosition(pos);
}

void TScrollBar::WndProc(TMessage& Message)
{
    if (Message.Msg == CN_HSCROLL || Message.Msg == CN_VSCROLL) {
        DoScroll(MessageScrollCode(Message));
        return;
    }
    TWinControl::WndProc(Message);
}
