// The drag timer: started at the first press of an operation, it tells a
// click (released while it runs) from a drag (released after it fired).
// The main window installs one backed by a system timer
// (win32/dragtimer_win32.h); until then, and in tests, a ManualDragTimer
// keeps the time, which only passes when told to.
#ifndef KESTREL_DRAGTIMER_H
#define KESTREL_DRAGTIMER_H

const unsigned DragInterval = 300;  // ms from the press

class DragTimer {
public:
    virtual ~DragTimer() {}
    virtual void Start(unsigned intervalMs) = 0;
    virtual void Stop() = 0;
    virtual bool IsRunning() const = 0;
};

// When time passes, the timer calls DragIsSure (toolsteps.h) on its tick.
class ManualDragTimer : public DragTimer {
public:
    void Start(unsigned intervalMs) override;
    void Stop() override { running_ = false; }
    bool IsRunning() const override { return running_; }
    unsigned Interval() const { return interval_; }
    // Lets ms pass: a running timer whose interval is reached ticks.
    void Advance(unsigned ms);

private:
    bool running_ = false;
    unsigned interval_ = 0;
    unsigned elapsed_ = 0;
};

DragTimer& GetDragTimer();
// Null goes back to the built-in manual timer.
void SetDragTimer(DragTimer* timer);

#endif
