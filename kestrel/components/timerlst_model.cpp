#include "timerlst_model.h"

#include <algorithm>
#include <climits>
#include <new>

#include "exceptions.h"
#include "sysutils.h"

// ---- scheduling rules

unsigned TimerListPeriod(const std::vector<TTimerSlot>& Events, unsigned Now)
{
    if (Events.empty()) return 0;
    long long period = LLONG_MAX;
    for (const TTimerSlot& e : Events) {
        if (!e.Enabled || e.Interval <= 0) continue;
        // Tick counts wrap after 49 days; the difference does not.
        long long left = static_cast<long long>(e.Interval) - static_cast<long long>(Now - e.LastExecute);
        period = std::min({period, static_cast<long long>(e.Interval), left});
    }
    if (period == LLONG_MAX) period = 0;
    period = std::max<long long>(period, TimerListMinPeriod);
    // Shrink until one period divides every interval, so that no event waits
    // for a tick beyond its time.
    bool reduced = true;
    while (reduced && period > TimerListMinPeriod) {
        reduced = false;
        for (const TTimerSlot& e : Events) {
            if (e.Interval <= 0) continue;
            long long rest = e.Interval % period;
            if (rest != 0) {
                period -= rest;
                reduced = true;
                break;
            }
        }
    }
    return static_cast<unsigned>(std::max<long long>(period, TimerListMinPeriod));
}

bool TimerSlotDue(const TTimerSlot& Event, unsigned Now)
{
    if (!Event.Enabled || Event.Interval <= 0) return false;
    return static_cast<long long>(Now - Event.LastExecute) >= static_cast<long long>(Event.Interval) - TimerListTolerance;
}

// ---- TTimerEvent

TTimerEvent::TTimerEvent(TComponent* AOwner) : TComponent(AOwner) {}

TTimerEvent::~TTimerEvent()
{
    OnTimer = nullptr;
    if (list_) list_->RemoveEvent(this);
}

void TTimerEvent::SetEnabled(bool Value)
{
    if (Value == enabled_) return;
    enabled_ = Value;
    if (!Value) return;
    execCount_ = 0;
    if (list_) {
        lastExecute_ = list_->TickCount();
        list_->EventChanged();
    }
}

void TTimerEvent::SetInterval(int Value)
{
    if (Value < 0) throw EPropertyError(Format("Timer interval %d is negative", Value));
    if (Value == interval_) return;
    interval_ = Value;
    if (list_) list_->EventChanged();
}

void TTimerEvent::SetRepeatCount(int Value)
{
    if (!cycled_) Value = std::max(Value, 1);
    if (enabled_ && !cycled_ && execCount_ >= Value) enabled_ = false;
    repeatCount_ = Value;
}

void TTimerEvent::SetParentList(TCustomTimerList* Value)
{
    if (Value == list_) return;
    if (list_) list_->RemoveEvent(this);
    if (Value) Value->InsertEvent(this);
}

// ---- TCustomTimerList

TCustomTimerList::TCustomTimerList(TComponent* AOwner) : TComponent(AOwner) {}

TCustomTimerList::~TCustomTimerList()
{
    // The subclass has deactivated the list; OnFinish must not fire now.
    OnTimers = nullptr;
    OnFinish = nullptr;
    active_ = false;
    while (!events_.empty()) {
        TTimerEvent* e = events_.back();
        events_.pop_back();
        e->list_ = nullptr;
        e->handle_ = -1;
        delete e;
    }
}

void TCustomTimerList::Shutdown()
{
    OnTimers = nullptr;
    OnFinish = nullptr;
    SetActive(false);
}

TTimerEvent* TCustomTimerList::GetEvent(int Index) const
{
    if (Index < 0 || Index >= GetCount()) throw EListError(Format("List index out of bounds (%d)", Index));
    return events_[Index];
}

int TCustomTimerList::EnabledCount() const
{
    return static_cast<int>(std::count_if(events_.begin(), events_.end(), [](TTimerEvent* e) { return e->enabled_; }));
}

int TCustomTimerList::ItemIndexByHandle(int Handle) const
{
    for (int i = 0; i < GetCount(); ++i)
        if (events_[i]->handle_ == Handle) return i;
    return -1;
}

int TCustomTimerList::Add(const TNotifyEvent& Handler, int Interval, bool Cycled)
{
    auto* e = new TTimerEvent(this);
    try {
        e->OnTimer = Handler;
        e->SetInterval(Interval);
        e->cycled_ = Cycled;
        InsertEvent(e);
    } catch (const std::bad_alloc&) {
        delete e;
        return -1;
    } catch (...) {
        delete e;
        throw;
    }
    return e->handle_;
}

void TCustomTimerList::Delete(int Handle)
{
    int i = ItemIndexByHandle(Handle);
    if (i < 0) return;
    TTimerEvent* e = events_[i];
    RemoveEvent(e);
    if (!(e->GetComponentState() & csDestroying)) delete e;
}

void TCustomTimerList::InsertEvent(TTimerEvent* Event)
{
    events_.push_back(Event);
    Event->list_ = this;
    Event->handle_ = ++sequence_;
    Event->lastExecute_ = TickCount();
    CalculatePeriod();
    Sort();
    if (active_) StartTimer();
}

void TCustomTimerList::RemoveEvent(TTimerEvent* Event)
{
    events_.erase(std::remove(events_.begin(), events_.end(), Event), events_.end());
    Event->list_ = nullptr;
    Event->handle_ = -1;
    if (IsDestroying()) return;
    CalculatePeriod();
    if (active_) StartTimer();
}

void TCustomTimerList::EventChanged()
{
    CalculatePeriod();
    if (active_) StartTimer();
}

void TCustomTimerList::CalculatePeriod()
{
    std::vector<TTimerSlot> slots;
    for (TTimerEvent* e : events_) slots.push_back(TTimerSlot{e->enabled_, e->interval_, e->lastExecute_});
    period_ = TimerListPeriod(slots, TickCount());
}

// Bubble sort: equal intervals keep their order.
void TCustomTimerList::Sort()
{
    bool swapped = true;
    while (swapped) {
        swapped = false;
        for (size_t i = 1; i < events_.size(); ++i) {
            if (events_[i - 1]->interval_ > events_[i]->interval_) {
                std::swap(events_[i - 1], events_[i]);
                swapped = true;
            }
        }
    }
}

void TCustomTimerList::SetActive(bool Value)
{
    if (Value == active_) return;
    waited_ = 0;
    if (Value) {
        AllocateTimer();
        active_ = true;
        unsigned now = TickCount();
        for (TTimerEvent* e : events_)
            if (e->enabled_) e->lastExecute_ = now;
        CalculatePeriod();
        Sort();
        StartTimer();
        return;
    }
    active_ = false;
    StopSystemTimer();
    ReleaseTimer();
    if (OnFinish) OnFinish(this);
}

void TCustomTimerList::StartTimer()
{
    unsigned wait = period_;
    if (period_ > TimerListMaxWait) {
        if (period_ - waited_ > TimerListMaxWait) {
            wait = TimerListMaxWait;
            waited_ += TimerListMaxWait;
        } else {
            wait = period_ - waited_;
            waited_ = 0;
        }
    }
    StopSystemTimer();
    if (EnabledCount() == 0) {
        SetActive(false);
        return;
    }
    if (period_ > 0 && !StartSystemTimer(wait)) {
        SetActive(false);
        throw EOutOfResources("Not enough timers available");
    }
}

// Fires one event; true when that disabled it.
bool TCustomTimerList::FireEvent(TTimerEvent* Event, unsigned Now)
{
    Event->lastExecute_ = Now;
    ++Event->execCount_;
    Event->enabled_ = Event->cycled_ || Event->execCount_ < Event->repeatCount_;
    bool disabled = !Event->enabled_;
    int handle = Event->handle_;
    // Copies: a handler may delete its own event.
    TNotifyEvent handler = Event->OnTimer;
    TAllTimersEvent all = OnTimers;
    try {
        if (handler) handler(Event);
        if (all) all(this, handle);
    } catch (...) {
        HandleEventException();
    }
    return disabled;
}

void TCustomTimerList::TimerTick()
{
    if (!active_) return;
    if (waited_ > 0) {
        StartTimer();
        return;
    }
    unsigned now = TickCount();
    bool fired = false, disabled = false;
    for (int i = GetCount() - 1; i >= 0; --i) {
        if (i >= GetCount()) continue;  // a handler deleted events
        TTimerEvent* e = events_[i];
        if (!TimerSlotDue(TTimerSlot{e->enabled_, e->interval_, e->lastExecute_}, now)) continue;
        fired = true;
        if (FireEvent(e, now)) disabled = true;
        if (!active_) return;  // a handler switched the list off
    }
    if (disabled && EnabledCount() == 0) {
        SetActive(false);
        return;
    }
    // A period waited in pieces leaves the system timer running at its last
    // piece; left so, each cycle would come late by the difference. The new
    // period counts from this firing, even if a handler restarted the timer.
    if (disabled || (fired && period_ > TimerListMaxWait)) {
        waited_ = 0;
        CalculatePeriod();
        StartTimer();
    }
}
