// TUpDown: the up-down arrows, without a buddy window.
#include "comctrls.h"

#include <commctrl.h>

#include <algorithm>

TUpDown::TUpDown(TComponent* AOwner) : TWinControl(AOwner)
{
    // The arrows repeat while held: the system needs the mouse to itself.
    controlStyle_ = 0;
    width_ = 15;
    height_ = 22;
}

void TUpDown::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    CreateSubClass(Params, UPDOWN_CLASSA);
    if (arrowKeys_) Params.Style |= UDS_ARROWKEYS;
    if (wrap_) Params.Style |= UDS_WRAP;
    if (orientation_ == udHorizontal) Params.Style |= UDS_HORZ;
}

void TUpDown::CreateWnd()
{
    TWinControl::CreateWnd();
    ApplyRange();
}

void TUpDown::ApplyRange()
{
    if (!HandleAllocated()) return;
    SendMessageA(handle_, UDM_SETRANGE32, min_, max_);
    UDACCEL accel = {0, static_cast<UINT>(increment_)};
    SendMessageA(handle_, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
    SendMessageA(handle_, UDM_SETPOS32, 0, position_);
}

void TUpDown::SetMin(int Value)
{
    min_ = Value;
    position_ = std::max(std::min(min_, max_), std::min(position_, std::max(min_, max_)));
    ApplyRange();
}

void TUpDown::SetMax(int Value)
{
    max_ = Value;
    position_ = std::max(std::min(min_, max_), std::min(position_, std::max(min_, max_)));
    ApplyRange();
}

int TUpDown::GetPosition()
{
    // Without a buddy the position is the control's own; its error flag
    // speaks of the buddy's text (and Wine sets it regardless).
    if (HandleAllocated()) position_ = static_cast<int>(SendMessageA(handle_, UDM_GETPOS32, 0, 0));
    return position_;
}

void TUpDown::SetPosition(int Value)
{
    position_ = std::max(std::min(min_, max_), std::min(Value, std::max(min_, max_)));
    if (HandleAllocated()) SendMessageA(handle_, UDM_SETPOS32, 0, position_);
}

void TUpDown::SetIncrement(int Value)
{
    increment_ = std::max(1, Value);
    ApplyRange();
}

void TUpDown::SetWrap(bool Value)
{
    if (Value == wrap_) return;
    wrap_ = Value;
    RecreateWnd();
}

void TUpDown::SetArrowKeys(bool Value)
{
    if (Value == arrowKeys_) return;
    arrowKeys_ = Value;
    RecreateWnd();
}

void TUpDown::SetOrientation(TUDOrientation Value)
{
    if (Value == orientation_) return;
    orientation_ = Value;
    SetBounds(left_, top_, height_, width_);
    RecreateWnd();
}

bool TUpDown::CanChange()
{
    bool allow = true;
    if (OnChanging) OnChanging(this, allow);
    return allow;
}

void TUpDown::Click(TUDBtnType Button)
{
    if (OnClick) OnClick(this, Button);
}

void TUpDown::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case CN_NOTIFY: {
        auto* hdr = reinterpret_cast<NMHDR*>(Message.LParam);
        if (hdr->code == UDN_DELTAPOS) {
            // The sign tells the arrow, even when the position wraps.
            pending_ = reinterpret_cast<NMUPDOWN*>(hdr)->iDelta > 0 ? btNext : btPrev;
            Message.Result = CanChange() ? 0 : 1;
        }
        return;
    }
    case CN_HSCROLL:
    case CN_VSCROLL:
        if (MessageScrollCode(Message) == SB_THUMBPOSITION) {
            GetPosition();
            Click(pending_);
        }
        return;
    default: break;
    }
    TWinControl::WndProc(Message);
}
