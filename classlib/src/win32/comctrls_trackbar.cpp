// TTrackBar: the trackbar class; the position is read back after each move.
#include "comctrls.h"

#include <commctrl.h>

#include <algorithm>

TTrackBar::TTrackBar(TComponent* AOwner) : TWinControl(AOwner)
{
    controlStyle_ = csDoubleClicks;
    width_ = 150;
    height_ = 45;
    SetParentColor(true);
    SetTabStop(true);
}

void TTrackBar::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    CreateSubClass(Params, TRACKBAR_CLASSA);
    Params.Style |= orientation_ == trHorizontal ? TBS_HORZ : TBS_VERT;
    static const DWORD ticks[] = {TBS_NOTICKS, TBS_AUTOTICKS, 0};
    static const DWORD marks[] = {TBS_BOTTOM, TBS_TOP, TBS_BOTH};  // TBS_RIGHT/TBS_LEFT are the same bits
    Params.Style |= ticks[tickStyle_] | marks[tickMarks_];
}

void TTrackBar::CreateWnd()
{
    TWinControl::CreateWnd();
    SendMessageA(handle_, TBM_SETRANGEMIN, FALSE, min_);
    SendMessageA(handle_, TBM_SETRANGEMAX, FALSE, max_);
    SendMessageA(handle_, TBM_SETLINESIZE, 0, lineSize_);
    SendMessageA(handle_, TBM_SETPAGESIZE, 0, pageSize_);
    SendMessageA(handle_, TBM_SETTICFREQ, frequency_, 0);
    SendMessageA(handle_, TBM_SETPOS, TRUE, position_);
}

void TTrackBar::SetRange(int AMin, int AMax)
{
    if (AMax < AMin) throw EInvalidOperation("Track bar range is invalid");
    min_ = AMin;
    max_ = AMax;
    if (HandleAllocated()) {
        SendMessageA(handle_, TBM_SETRANGEMIN, FALSE, min_);
        SendMessageA(handle_, TBM_SETRANGEMAX, TRUE, max_);
    }
    SetPosition(position_);
}

void TTrackBar::SetPosition(int Value)
{
    Value = std::max(min_, std::min(Value, max_));
    if (Value == position_) return;
    position_ = Value;
    if (HandleAllocated()) SendMessageA(handle_, TBM_SETPOS, TRUE, Value);
    Change();
}

void TTrackBar::SetFrequency(int Value)
{
    frequency_ = std::max(1, Value);
    if (HandleAllocated()) SendMessageA(handle_, TBM_SETTICFREQ, frequency_, 0);
}

void TTrackBar::SetLineSize(int Value)
{
    lineSize_ = std::max(1, Value);
    if (HandleAllocated()) SendMessageA(handle_, TBM_SETLINESIZE, 0, lineSize_);
}

void TTrackBar::SetPageSize(int Value)
{
    pageSize_ = std::max(1, Value);
    if (HandleAllocated()) SendMessageA(handle_, TBM_SETPAGESIZE, 0, pageSize_);
}

void TTrackBar::SetOrientation(TTrackBarOrientation Value)
{
    if (Value == orientation_) return;
    orientation_ = Value;
    SetBounds(left_, top_, height_, width_);
    RecreateWnd();
}

void TTrackBar::SetTickStyle(TTickStyle Value)
{
    if (Value == tickStyle_) return;
    tickStyle_ = Value;
    RecreateWnd();
}

void TTrackBar::SetTickMarks(TTickMark Value)
{
    if (Value == tickMarks_) return;
    tickMarks_ = Value;
    RecreateWnd();
}

void TTrackBar::Change()
{
    if (OnChange) OnChange(this);
}

void TTrackBar::WndProc(TMessage& Message)
{
    if (Message.Msg == CN_HSCROLL || Message.Msg == CN_VSCROLL) {
        int pos = static_cast<int>(SendMessageA(handle_, TBM_GETPOS, 0, 0));
        if (pos != position_) {
            position_ = pos;
            Change();
        }
        return;
    }
    TWinControl::WndProc(Message);
}
