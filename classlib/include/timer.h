// TTimer: calls OnTimer every Interval milliseconds while Enabled.
//
// Ticks arrive through the message loop of the thread that made the timer
// (any loop: the application's, a modal form's, a message box's), so a
// timer needs no window and OnTimer runs on that thread. Setting Interval or
// Enabled restarts the count. Interval 0 stops the timer, and a tick with no
// OnTimer assigned does nothing. An exception from OnTimer goes to the
// application's handler; the timer keeps running.
#ifndef CLASSLIB_TIMER_H
#define CLASSLIB_TIMER_H

#include "component.h"

class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* AOwner);
    ~TTimer() override;

    bool GetEnabled() const { return enabled_; }
    void SetEnabled(bool Value);
    unsigned GetInterval() const { return interval_; }
    void SetInterval(unsigned Value);
    // Whether the system timer runs now (Enabled and Interval > 0).
    bool IsRunning() const { return timerId_ != 0; }

    TNotifyEvent OnTimer;

    // Called by the system callback for each tick.
    virtual void Timer();

private:
    void UpdateTimer();

    bool enabled_ = true;
    unsigned interval_ = 1000;
    uintptr_t timerId_ = 0;
};

#endif
