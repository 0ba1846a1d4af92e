#include "dragtimer.h"

#include "toolsteps.h"

static DragTimer* installed = nullptr;

static ManualDragTimer& BuiltIn()
{
    static ManualDragTimer timer;
    return timer;
}

DragTimer& GetDragTimer() { return installed ? *installed : BuiltIn(); }

void SetDragTimer(DragTimer* timer) { installed = timer; }

void ManualDragTimer::Start(unsigned intervalMs)
{
    running_ = intervalMs > 0;
    interval_ = intervalMs;
    elapsed_ = 0;
}

void ManualDragTimer::Advance(unsigned ms)
{
    if (!running_) return;
    elapsed_ = ms > interval_ - elapsed_ ? interval_ : elapsed_ + ms;
    if (elapsed_ >= interval_) {
        elapsed_ = 0;
        // A system timer repeats; DragIsSure stops it.
        DragIsSure();
    }
}
