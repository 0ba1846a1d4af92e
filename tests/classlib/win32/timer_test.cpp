// Timers tick through the message loop; the counts are loose on purpose
// (Wine under emulation is slow and uneven), the logic checks are exact.
#include "timer.h"

#include <gtest/gtest.h>

#include "exceptions.h"
#include "winapi.h"

namespace {

void PumpFor(DWORD ms)
{
    DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

}  // namespace

TEST(TTimerTicks, FiftyMillisecondsTickAboutTwentyTimesASecond)
{
    TTimer timer(nullptr);
    EXPECT_TRUE(timer.GetEnabled());
    EXPECT_EQ(1000u, timer.GetInterval());
    int ticks = 0;
    TObject* sender = nullptr;
    timer.OnTimer = [&](TObject* s) {
        ticks++;
        sender = s;
    };
    timer.SetInterval(50);
    PumpFor(1000);
    RecordProperty("ticks", ticks);
    EXPECT_GE(ticks, 5);
    EXPECT_LE(ticks, 40);
    EXPECT_EQ(&timer, sender);
}

TEST(TTimerTicks, DisabledZeroIntervalAndDeletedTimersStayQuiet)
{
    int ticks = 0;
    auto count = [&](TObject*) { ticks++; };
    TTimer off(nullptr);
    off.OnTimer = count;
    off.SetInterval(20);
    off.SetEnabled(false);
    EXPECT_FALSE(off.IsRunning());
    TTimer zero(nullptr);
    zero.OnTimer = count;
    zero.SetInterval(0);
    EXPECT_FALSE(zero.IsRunning());
    TTimer silent(nullptr);  // running, but nobody listens
    silent.SetInterval(20);
    EXPECT_TRUE(silent.IsRunning());
    auto* gone = new TTimer(nullptr);
    gone->OnTimer = count;
    gone->SetInterval(20);
    delete gone;
    PumpFor(300);
    EXPECT_EQ(0, ticks);
    off.SetEnabled(true);
    EXPECT_TRUE(off.IsRunning());
    PumpFor(300);
    EXPECT_GT(ticks, 0);
}

TEST(TTimerTicks, OwnerFreesTheTimer)
{
    TComponent owner(nullptr);
    auto* timer = new TTimer(&owner);
    timer->SetInterval(10);
    EXPECT_EQ(1, owner.GetComponentCount());
}

TEST(TTimerTicks, ExceptionInOnTimerDoesNotStopTheTimerOrTheProcess)
{
    TTimer timer(nullptr);
    int ticks = 0;
    timer.OnTimer = [&](TObject*) {
        ticks++;
        throw EInvalidOperation("tick failed");
    };
    timer.SetInterval(20);
    PumpFor(400);
    EXPECT_GE(ticks, 2);
}

TEST(TTimerTicks, TimerFreedInsideItsOwnHandler)
{
    auto* timer = new TTimer(nullptr);
    int ticks = 0;
    timer->OnTimer = [&](TObject* sender) {
        ticks++;
        delete static_cast<TTimer*>(sender);
    };
    timer->SetInterval(10);
    PumpFor(300);
    EXPECT_EQ(1, ticks);
}
