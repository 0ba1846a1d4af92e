// The drag timer on a class-library timer (the main window's DragTimer):
// its ticks come through the message loop and call DragIsSure.
#ifndef KESTREL_DRAGTIMER_WIN32_H
#define KESTREL_DRAGTIMER_WIN32_H

#include "dragtimer.h"
#include "timer.h"

class TTimerDragTimer : public DragTimer {
public:
    // Takes over the timer's OnTimer; the timer must outlive this object.
    explicit TTimerDragTimer(TTimer* timer);
    ~TTimerDragTimer() override;
    TTimerDragTimer(const TTimerDragTimer&) = delete;
    TTimerDragTimer& operator=(const TTimerDragTimer&) = delete;

    void Start(unsigned intervalMs) override;
    void Stop() override;
    bool IsRunning() const override;

private:
    TTimer* timer_;
};

#endif
