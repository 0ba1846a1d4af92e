// TCustomTimerList: any number of timed events (TTimerEvent) served by one
// system timer. The list computes one common period from the events'
// intervals, wakes on each period and fires every event that is due.
//
// The system timer is reached through the pure virtuals below, so the
// scheduling runs (and is tested) anywhere; TTimerList (win32/timerlst.h)
// serves them with a hidden window. A subclass calls Shutdown in its own
// destructor, while its virtuals still work.
//
// Intervals below 1 ms take no part: they never fire and do not shape the
// period (a negative one would make the period grow without end).
#ifndef KESTREL_TIMERLST_MODEL_H
#define KESTREL_TIMERLST_MODEL_H

#include <functional>
#include <vector>

#include "component.h"

class TCustomTimerList;

class TTimerEvent : public TComponent {
public:
    explicit TTimerEvent(TComponent* AOwner);
    ~TTimerEvent() override;

    bool GetEnabled() const { return enabled_; }
    // Switching on restarts the count and the wait: the first firing comes
    // one full interval later.
    void SetEnabled(bool Value);
    int GetInterval() const { return interval_; }
    // Milliseconds; EPropertyError when negative.
    void SetInterval(int Value);
    // False: the event disables itself after RepeatCount firings.
    bool GetCycled() const { return cycled_; }
    void SetCycled(bool Value) { cycled_ = Value; }
    int GetRepeatCount() const { return repeatCount_; }
    void SetRepeatCount(int Value);

    // The event's number in its list (from 1); -1 outside a list.
    int GetHandle() const { return handle_; }
    int GetExecCount() const { return execCount_; }
    unsigned GetLastExecute() const { return lastExecute_; }

    TCustomTimerList* GetParentList() const { return list_; }
    // Joins (or leaves, with nullptr) a list; the list frees its events.
    void SetParentList(TCustomTimerList* Value);

    TNotifyEvent OnTimer;

private:
    friend class TCustomTimerList;

    bool enabled_ = true;
    int interval_ = 1000;
    bool cycled_ = true;
    int repeatCount_ = 0;
    int handle_ = -1;
    int execCount_ = 0;
    unsigned lastExecute_ = 0;
    TCustomTimerList* list_ = nullptr;
};

using TAllTimersEvent = std::function<void(TObject* Sender, int Handle)>;

class TCustomTimerList : public TComponent {
public:
    explicit TCustomTimerList(TComponent* AOwner);
    ~TCustomTimerList() override;

    bool GetActive() const { return active_; }
    void SetActive(bool Value);

    int GetCount() const { return static_cast<int>(events_.size()); }
    // Sorted by interval; raises EListError.
    TTimerEvent* GetEvent(int Index) const;
    int EnabledCount() const;
    int ItemIndexByHandle(int Handle) const;

    // A new event owned by the list; its handle, or -1 when it could not be
    // added.
    int Add(const TNotifyEvent& Handler, int Interval, bool Cycled);
    // Frees the event with that handle; unknown handles are ignored.
    void Delete(int Handle);

    // The common period in ms (0: nothing to wait for).
    unsigned GetPeriod() const { return period_; }

    // One tick of the system timer.
    void TimerTick();

    // After each event's own handler, with its handle.
    TAllTimersEvent OnTimers;
    // The list deactivated.
    TNotifyEvent OnFinish;

protected:
    // Clears OnTimers and OnFinish (so OnFinish does not fire) and
    // deactivates the list.
    void Shutdown();

    virtual unsigned TickCount() = 0;
    virtual void AllocateTimer() = 0;
    virtual void ReleaseTimer() = 0;
    // Starts (or restarts) the system timer; false when none is available.
    virtual bool StartSystemTimer(unsigned Milliseconds) = 0;
    virtual void StopSystemTimer() = 0;
    // Called inside a catch block when a handler raised.
    virtual void HandleEventException() = 0;

private:
    friend class TTimerEvent;

    void InsertEvent(TTimerEvent* Event);
    void RemoveEvent(TTimerEvent* Event);
    void EventChanged();
    void CalculatePeriod();
    void StartTimer();
    void Sort();
    bool FireEvent(TTimerEvent* Event, unsigned Now);

    std::vector<TTimerEvent*> events_;
    bool active_ = false;
    unsigned period_ = 0;
    unsigned waited_ = 0;
    int sequence_ = 0;
};

// The scheduling rules, as plain functions of the events and the time.
struct TTimerSlot {
    bool Enabled;
    int Interval;
    unsigned LastExecute;
};

enum : unsigned {
    TimerListMinPeriod = 50,
    TimerListMaxWait = 65535,  // longer periods are waited in pieces
    TimerListTolerance = 25,   // an event this early still fires
};

unsigned TimerListPeriod(const std::vector<TTimerSlot>& Events, unsigned Now);
bool TimerSlotDue(const TTimerSlot& Event, unsigned Now);

#endif
