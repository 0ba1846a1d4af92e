// Timers without windows: SetTimer with a callback and no window, and a
// table from the system's timer id to its TTimer (the callback gets only
// the id).
#include "timer.h"

#include <map>
#include <mutex>

#include "exceptions.h"
#include "handleexception.h"
#include "winapi.h"

namespace {

// Timers of several threads may share the table.
std::mutex& TableLock()
{
    static std::mutex* lock = new std::mutex;
    return *lock;
}

std::map<UINT_PTR, TTimer*>& Table()
{
    static std::map<UINT_PTR, TTimer*>* table = new std::map<UINT_PTR, TTimer*>;
    return *table;
}

TTimer* Find(UINT_PTR id)
{
    std::lock_guard<std::mutex> hold(TableLock());
    auto it = Table().find(id);
    return it == Table().end() ? nullptr : it->second;
}

// A named stdcall function: a lambda does not convert to TIMERPROC on i686.
// The lock is not held during OnTimer, which may free the timer or make
// others; nothing here touches the timer after Timer() returns.
void CALLBACK TimerProc(HWND, UINT, UINT_PTR id, DWORD)
{
    try {
        if (TTimer* timer = Find(id)) timer->Timer();
    } catch (...) {
        HandleCallbackException();
    }
}

}  // namespace

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner)
{
    UpdateTimer();
}

TTimer::~TTimer()
{
    enabled_ = false;
    UpdateTimer();
}

void TTimer::SetEnabled(bool Value)
{
    if (Value == enabled_) return;
    enabled_ = Value;
    UpdateTimer();
}

void TTimer::SetInterval(unsigned Value)
{
    if (Value == interval_) return;
    interval_ = Value;
    UpdateTimer();
}

void TTimer::Timer()
{
    if (enabled_ && OnTimer) OnTimer(this);
}

void TTimer::UpdateTimer()
{
    if (timerId_) {
        KillTimer(nullptr, timerId_);
        std::lock_guard<std::mutex> hold(TableLock());
        Table().erase(timerId_);
        timerId_ = 0;
    }
    if (!enabled_ || interval_ == 0) return;
    UINT_PTR id = SetTimer(nullptr, 0, interval_, TimerProc);
    if (id == 0) throw EOutOfResources("Not enough timers available");
    std::lock_guard<std::mutex> hold(TableLock());
    Table()[id] = this;
    timerId_ = id;
}
