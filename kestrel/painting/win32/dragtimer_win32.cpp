#include "dragtimer_win32.h"

#include "toolsteps.h"

TTimerDragTimer::TTimerDragTimer(TTimer* timer) : timer_(timer)
{
    timer_->SetEnabled(false);
    // The timer's callback sends exceptions to the application's handler.
    timer_->OnTimer = [](TObject*) { DragIsSure(); };
}

TTimerDragTimer::~TTimerDragTimer()
{
    timer_->SetEnabled(false);
    timer_->OnTimer = nullptr;
}

void TTimerDragTimer::Start(unsigned intervalMs)
{
    // Disabling first restarts the count even when it already ran.
    timer_->SetEnabled(false);
    timer_->SetInterval(intervalMs);
    timer_->SetEnabled(true);
}

void TTimerDragTimer::Stop() { timer_->SetEnabled(false); }

bool TTimerDragTimer::IsRunning() const { return timer_->GetEnabled() && timer_->GetInterval() > 0; }
