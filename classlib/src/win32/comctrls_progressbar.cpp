// TProgressBar: the progress class; the position is kept by the object.
#include "comctrls.h"

#include <commctrl.h>

#include <algorithm>

TProgressBar::TProgressBar(TComponent* AOwner) : TWinControl(AOwner)
{
    controlStyle_ = csClickEvents | csDoubleClicks;
    width_ = 150;
    height_ = 16;
    SetParentColor(true);
}

void TProgressBar::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    CreateSubClass(Params, PROGRESS_CLASSA);
}

void TProgressBar::CreateWnd()
{
    TWinControl::CreateWnd();
    ApplyRange();
}

void TProgressBar::ApplyRange()
{
    if (!HandleAllocated()) return;
    SendMessageA(handle_, PBM_SETRANGE32, min_, max_);
    SendMessageA(handle_, PBM_SETPOS, position_, 0);
}

void TProgressBar::SetMin(int Value)
{
    if (Value > max_) throw EInvalidOperation("Progress bar range is invalid");
    min_ = Value;
    position_ = std::max(position_, min_);
    ApplyRange();
}

void TProgressBar::SetMax(int Value)
{
    if (Value < min_) throw EInvalidOperation("Progress bar range is invalid");
    max_ = Value;
    position_ = std::min(position_, max_);
    ApplyRange();
}

void TProgressBar::SetPosition(int Value)
{
    position_ = std::max(min_, std::min(Value, max_));
    if (HandleAllocated()) SendMessageA(handle_, PBM_SETPOS, position_, 0);
}

void TProgressBar::StepIt()
{
    StepBy(step_);
}

void TProgressBar::StepBy(int Delta)
{
    long long pos = static_cast<long long>(position_) + Delta;
    SetPosition(pos > max_ ? min_ : static_cast<int>(std::max<long long>(pos, min_)));
}
