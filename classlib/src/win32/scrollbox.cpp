// TScrollBox and its two TControlScrollBar.
#include "scrollbox.h"

#include <algorithm>

// ---- TControlScrollBar

int TControlScrollBar::ClientSize() const
{
    RECT r = box_->GetClientRect();
    return kind_ == sbHorizontal ? r.right : r.bottom;
}

int TControlScrollBar::MaxPosition() const
{
    return std::max(0, range_ - ClientSize());
}

bool TControlScrollBar::IsScrollBarVisible() const
{
    if (!visible_ || !box_->HandleAllocated()) return false;
    DWORD style = GetWindowLongA(box_->GetHandle(), GWL_STYLE);
    return (style & (kind_ == sbHorizontal ? WS_HSCROLL : WS_VSCROLL)) != 0;
}

void TControlScrollBar::SetPosition(int Value)
{
    Value = std::max(0, std::min(Value, MaxPosition()));
    if (Value == position_) return;
    int delta = position_ - Value;
    position_ = Value;
    if (kind_ == sbHorizontal)
        box_->ScrollBy(delta, 0);
    else
        box_->ScrollBy(0, delta);
    Apply();
    if (box_->OnScroll) box_->OnScroll(box_);
}

void TControlScrollBar::SetRange(int Value)
{
    range_ = std::max(0, Value);
    box_->UpdateScrollBars();
}

void TControlScrollBar::SetVisible(bool Value)
{
    visible_ = Value;
    box_->UpdateScrollBars();
}

void TControlScrollBar::Apply()
{
    if (!box_->HandleAllocated()) return;
    int bar = kind_ == sbHorizontal ? SB_HORZ : SB_VERT;
    bool show = visible_ && range_ > ClientSize();
    SCROLLINFO si = {sizeof(si), SIF_RANGE | SIF_PAGE | SIF_POS, 0, show ? range_ - 1 : 0,
                     static_cast<UINT>(show ? ClientSize() : 0), show ? position_ : 0, 0};
    SetScrollInfo(box_->GetHandle(), bar, &si, TRUE);
    ShowScrollBar(box_->GetHandle(), bar, show);
}

void TControlScrollBar::Scroll(int sbCode)
{
    int pos = position_;
    int page = std::max(1, ClientSize() * 9 / 10);
    switch (sbCode) {
    case SB_LINEUP: pos -= increment_; break;
    case SB_LINEDOWN: pos += increment_; break;
    case SB_PAGEUP: pos -= page; break;
    case SB_PAGEDOWN: pos += page; break;
    case SB_THUMBTRACK:
        if (!tracking_) return;
        // fall through
    case SB_THUMBPOSITION: {
        SCROLLINFO si = {sizeof(si), SIF_TRACKPOS, 0, 0, 0, 0, 0};
        GetScrollInfo(box_->GetHandle(), kind_ == sbHorizontal ? SB_HORZ : SB_VERT, &si);
        pos = si.nTrackPos;
        break;
    }
    case SB_TOP: pos = 0; break;
    case SB_BOTTOM: pos = MaxPosition(); break;
    default: return;
    }
    SetPosition(pos);
}

// ---- TScrollBox

TScrollBox::TScrollBox(TComponent* AOwner)
    : TWinControl(AOwner), horz_(new TControlScrollBar(this, sbHorizontal)), vert_(new TControlScrollBar(this, sbVertical))
{
    controlStyle_ = csAcceptsControls | csCaptureMouse | csClickEvents | csDoubleClicks;
    width_ = 185;
    height_ = 41;
    SetParentColor(true);
}

TScrollBox::~TScrollBox() {}

void TScrollBox::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    Params.WinClassName = "KestrelScrollBox";
    if (borderStyle_ == bsSingle) Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TScrollBox::CreateWnd()
{
    TWinControl::CreateWnd();
    UpdateScrollBars();
}

void TScrollBox::SetAutoScroll(bool Value)
{
    autoScroll_ = Value;
    UpdateScrollBars();
}

void TScrollBox::SetBorderStyle(TBorderStyle Value)
{
    if (Value == borderStyle_) return;
    borderStyle_ = Value;
    RecreateWnd();
}

void TScrollBox::InsertControl(TControl* AControl)
{
    TWinControl::InsertControl(AControl);
    UpdateScrollBars();
}

void TScrollBox::RemoveControl(TControl* AControl)
{
    TWinControl::RemoveControl(AControl);
    if (!IsDestroying()) UpdateScrollBars();
}

void TScrollBox::Resize()
{
    UpdateScrollBars();
    TWinControl::Resize();
}

// The contents' extent, in unscrolled coordinates.
void TScrollBox::CalcAutoRange()
{
    int right = 0, bottom = 0;
    for (int i = 0; i < GetControlCount(); ++i) {
        TControl* c = GetControl(i);
        if (!c->GetVisible() || c->GetAlign() != alNone) continue;
        right = std::max(right, c->GetLeft() + c->GetWidth() + horz_->position_);
        bottom = std::max(bottom, c->GetTop() + c->GetHeight() + vert_->position_);
    }
    horz_->range_ = right;
    vert_->range_ = bottom;
}

void TScrollBox::UpdateScrollBars()
{
    if (updating_ || IsDestroying()) return;
    updating_ = true;
    try {
        if (autoScroll_) CalcAutoRange();
        // Showing one bar narrows the other's client size: settle twice.
        for (int pass = 0; pass < 2; ++pass) {
            horz_->Apply();
            vert_->Apply();
        }
        horz_->SetPosition(horz_->position_);
        vert_->SetPosition(vert_->position_);
    } catch (...) {
        updating_ = false;
        throw;
    }
    updating_ = false;
}

void TScrollBox::ScrollBy(int dx, int dy)
{
    if (dx == 0 && dy == 0) return;
    DisableAlign();
    try {
        for (int i = 0; i < GetControlCount(); ++i) {
            TControl* c = GetControl(i);
            if (c->GetAlign() == alNone) c->SetBounds(c->GetLeft() + dx, c->GetTop() + dy, c->GetWidth(), c->GetHeight());
        }
    } catch (...) {
        EnableAlign();
        throw;
    }
    EnableAlign();
    Invalidate();
}

void TScrollBox::ScrollInView(TControl* AControl)
{
    if (!AControl || AControl->GetParent() != this) return;
    RECT client = GetClientRect();
    if (AControl->GetLeft() < 0)
        horz_->SetPosition(horz_->position_ + AControl->GetLeft());
    else if (AControl->GetLeft() + AControl->GetWidth() > client.right)
        horz_->SetPosition(horz_->position_ + std::min(AControl->GetLeft(), AControl->GetLeft() + AControl->GetWidth() - int(client.right)));
    if (AControl->GetTop() < 0)
        vert_->SetPosition(vert_->position_ + AControl->GetTop());
    else if (AControl->GetTop() + AControl->GetHeight() > client.bottom)
        vert_->SetPosition(vert_->position_ + std::min(AControl->GetTop(), AControl->GetTop() + AControl->GetHeight() - int(client.bottom)));
}

void TScrollBox::WndProc(TMessage& Message)
{
    // The box's own bars send no window handle; children's bars do.
    if ((Message.Msg == WM_HSCROLL || Message.Msg == WM_VSCROLL) && Message.LParam == 0) {
        (Message.Msg == WM_HSCROLL ? horz_ : vert_)->Scroll(MessageScrollCode(Message));
        Message.Result = 0;
        return;
    }
    TWinControl::WndProc(Message);
}
