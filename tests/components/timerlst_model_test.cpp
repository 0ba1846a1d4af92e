// The timer list's scheduling with a simulated clock and system timer: the
// common period, long waits in pieces, the firing rules and the bookkeeping
// of events joining and leaving.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "exceptions.h"
#include "timerlst_model.h"

namespace {

// The system timer as a clock the test moves: ticks come every `wait` ms
// after the last (re)start, as SetTimer's do.
class TSimTimerList : public TCustomTimerList {
public:
    TSimTimerList() : TCustomTimerList(nullptr) {}
    ~TSimTimerList() override { Shutdown(); }

    void RunUntil(unsigned t)
    {
        while (Running && next <= t) {
            Now = next;
            next = Now + wait;
            TimerTick();
        }
        Now = t;
    }

    unsigned Now = 1000;
    std::vector<unsigned> Waits;
    bool Running = false;
    bool Allocated = false;
    bool RefuseTimer = false;
    int Exceptions = 0;

protected:
    unsigned TickCount() override { return Now; }
    void AllocateTimer() override { Allocated = true; }
    void ReleaseTimer() override { Allocated = false; }
    bool StartSystemTimer(unsigned ms) override
    {
        if (RefuseTimer) return false;
        Waits.push_back(ms);
        wait = ms;
        next = Now + ms;
        Running = true;
        return true;
    }
    void StopSystemTimer() override { Running = false; }
    void HandleEventException() override { ++Exceptions; }

private:
    unsigned wait = 0;
    unsigned next = 0;
};

std::vector<TTimerSlot> Slots(std::initializer_list<int> intervals, bool enabled = true)
{
    std::vector<TTimerSlot> v;
    for (int i : intervals) v.push_back(TTimerSlot{enabled, i, 0});
    return v;
}

}  // namespace

TEST(TimerListPeriod, IsTheLargestStepThatDividesEveryInterval)
{
    EXPECT_EQ(50u, TimerListPeriod(Slots({50, 100, 500}), 0));
    EXPECT_EQ(100u, TimerListPeriod(Slots({300, 500}), 0));
    EXPECT_EQ(70u, TimerListPeriod(Slots({70}), 0));
    EXPECT_EQ(50u, TimerListPeriod(Slots({70, 100}), 0));
    EXPECT_EQ(70000u, TimerListPeriod(Slots({70000}), 0));
    EXPECT_EQ(50u, TimerListPeriod(Slots({10}), 0));  // never below 50
}

TEST(TimerListPeriod, EmptyListAndDisabledEvents)
{
    EXPECT_EQ(0u, TimerListPeriod({}, 0));
    // Nothing enabled: the floor of 50 still applies; the list then stops
    // at its next start (see below).
    EXPECT_EQ(50u, TimerListPeriod(Slots({300, 500}, false), 0));
    // Disabled events still shape the divisor.
    auto mixed = Slots({500, 300});
    mixed[1].Enabled = false;
    EXPECT_EQ(100u, TimerListPeriod(mixed, 0));
}

TEST(TimerListPeriod, ShortensToTheTimeLeftOfADueEvent)
{
    std::vector<TTimerSlot> v{{true, 1000, 0}};
    EXPECT_EQ(1000u, TimerListPeriod(v, 0));
    EXPECT_EQ(200u, TimerListPeriod(v, 800));
    EXPECT_EQ(50u, TimerListPeriod(v, 5000));   // overdue
    EXPECT_EQ(200u, TimerListPeriod(v, 0xFFFFFFFFu - 0 + 1 + 800));  // across the wrap
}

TEST(TimerListPeriod, NonPositiveIntervalsTakeNoPart)
{
    EXPECT_EQ(100u, TimerListPeriod(Slots({-30, 100}), 0));
    EXPECT_EQ(100u, TimerListPeriod(Slots({0, 100}), 0));
    EXPECT_FALSE(TimerSlotDue(TTimerSlot{true, 0, 0}, 1000));
    EXPECT_FALSE(TimerSlotDue(TTimerSlot{true, -5, 0}, 1000));
    EXPECT_TRUE(TimerSlotDue(TTimerSlot{true, 500, 0}, 475));
    EXPECT_FALSE(TimerSlotDue(TTimerSlot{true, 500, 0}, 474));
}

TEST(TimerList, AddGivesHandlesFromOneAndDeleteRemovesOnlyThatEvent)
{
    TSimTimerList list;
    EXPECT_EQ(1, list.Add(nullptr, 500, true));
    EXPECT_EQ(2, list.Add(nullptr, 100, true));
    EXPECT_EQ(3, list.Add(nullptr, 50, true));
    // Sorted by interval.
    EXPECT_EQ(3, list.GetEvent(0)->GetHandle());
    EXPECT_EQ(1, list.GetEvent(2)->GetHandle());
    list.Delete(2);
    EXPECT_EQ(2, list.GetCount());
    EXPECT_EQ(-1, list.ItemIndexByHandle(2));
    EXPECT_EQ(0, list.ItemIndexByHandle(3));
    EXPECT_EQ(1, list.ItemIndexByHandle(1));
    list.Delete(99);  // unknown: ignored
    EXPECT_EQ(4, list.Add(nullptr, 70, true));
    EXPECT_THROW(list.GetEvent(5), EListError);
}

TEST(TimerList, EventsJoinAndLeaveThroughTheirParentList)
{
    TSimTimerList list;
    auto* e = new TTimerEvent(nullptr);
    EXPECT_EQ(-1, e->GetHandle());
    e->SetParentList(&list);
    EXPECT_EQ(1, e->GetHandle());
    e->SetParentList(nullptr);
    EXPECT_EQ(0, list.GetCount());
    EXPECT_EQ(-1, e->GetHandle());
    e->SetParentList(&list);
    EXPECT_EQ(2, e->GetHandle());
    delete e;  // leaves the list
    EXPECT_EQ(0, list.GetCount());
}

TEST(TimerList, ProgramEventsRunOnAFiftyMillisecondPeriod)
{
    TSimTimerList list;
    int icon = 0, drag = 0, activity = 0;
    int hIcon = list.Add([&](TObject*) { ++icon; }, 500, true);
    int hDrag = list.Add([&](TObject*) { ++drag; }, 100, true);
    list.Add([&](TObject*) { ++activity; }, 50, true);
    list.GetEvent(list.ItemIndexByHandle(hIcon))->SetEnabled(false);
    list.GetEvent(list.ItemIndexByHandle(hDrag))->SetEnabled(false);
    list.SetActive(true);
    EXPECT_EQ(50u, list.GetPeriod());
    list.RunUntil(2000);
    EXPECT_EQ(20, activity);
    EXPECT_EQ(0, icon + drag);
}

TEST(TimerList, AnEnabledEventFirstFiresAtTheFirstTickAfterItsIntervalLessTolerance)
{
    TSimTimerList list;
    std::vector<unsigned> ticks;
    list.Add([&](TObject*) { ticks.push_back(list.Now); }, 50, true);
    unsigned fired = 0;
    int h = list.Add([&](TObject*) { if (!fired) fired = list.Now; }, 500, true);
    TTimerEvent* e = list.GetEvent(list.ItemIndexByHandle(h));
    e->SetEnabled(false);
    list.SetActive(true);
    list.RunUntil(1234);
    unsigned t = list.Now;
    e->SetEnabled(true);
    list.RunUntil(3000);
    ASSERT_NE(0u, fired);
    EXPECT_GE(fired, t + 475);
    unsigned firstTickAfter = 0;
    for (unsigned k : ticks)
        if (k >= t + 475) {
            firstTickAfter = k;
            break;
        }
    EXPECT_EQ(firstTickAfter, fired);
}

TEST(TimerList, EventsFireFromLastToFirstEachFollowedByOnTimers)
{
    TSimTimerList list;
    std::vector<std::string> log;
    list.Add([&](TObject*) { log.push_back("a"); }, 100, true);
    list.Add([&](TObject*) { log.push_back("b"); }, 100, true);
    list.OnTimers = [&](TObject*, int handle) { log.push_back("all" + std::to_string(handle)); };
    list.SetActive(true);
    list.RunUntil(1100);
    EXPECT_EQ((std::vector<std::string>{"b", "all2", "a", "all1"}), log);
}

TEST(TimerList, RepeatCountDisablesTheEventAndAnEmptyListFinishes)
{
    TSimTimerList list;
    int fired = 0, finished = 0;
    list.OnFinish = [&](TObject*) { ++finished; };
    int h = list.Add([&](TObject*) { ++fired; }, 100, false);
    TTimerEvent* e = list.GetEvent(list.ItemIndexByHandle(h));
    e->SetRepeatCount(3);
    list.SetActive(true);
    list.RunUntil(5000);
    EXPECT_EQ(3, fired);
    EXPECT_FALSE(e->GetEnabled());
    EXPECT_FALSE(list.GetActive());
    EXPECT_FALSE(list.Allocated);
    EXPECT_EQ(1, finished);
}

TEST(TimerList, RepeatCountIsAtLeastOneForANonCycledEvent)
{
    TTimerEvent e(nullptr);
    e.SetCycled(false);
    e.SetRepeatCount(0);
    EXPECT_EQ(1, e.GetRepeatCount());
    e.SetCycled(true);
    e.SetRepeatCount(0);
    EXPECT_EQ(0, e.GetRepeatCount());
}

TEST(TimerList, DestroyingTheListDoesNotFireOnFinishAndFreesItsEvents)
{
    int finished = 0;
    {
        TSimTimerList list;
        list.OnFinish = [&](TObject*) { ++finished; };
        list.Add(nullptr, 100, true);
        list.Add(nullptr, 200, true);
        list.SetActive(true);
    }
    EXPECT_EQ(0, finished);  // and ASan sees no leak of the events
}

TEST(TimerList, ALongPeriodIsWaitedInPiecesBeforeTheEventIsTested)
{
    TSimTimerList list;
    unsigned fired = 0;
    list.Add([&](TObject*) { fired = list.Now; }, 70000, true);
    list.SetActive(true);
    list.RunUntil(1000 + 69999);
    EXPECT_EQ(0u, fired);
    list.RunUntil(1000 + 70000);
    EXPECT_EQ(1000u + 70000, fired);
    ASSERT_GE(list.Waits.size(), 2u);
    EXPECT_EQ(65535u, list.Waits[0]);
    EXPECT_EQ(4465u, list.Waits[1]);
}

// The system timer starts once for a period it can wait in one piece, and
// anew for each piece of a longer one.
TEST(TimerList, EachFiringComesOneIntervalAfterTheLast)
{
    struct Case {
        unsigned interval;
        size_t timerStarts;
    };
    for (Case c : {Case{500, 1}, Case{65000, 1}, Case{70000, 7}}) {
        TSimTimerList list;
        std::vector<unsigned> fired;
        list.Add([&](TObject*) { fired.push_back(list.Now - 1000); }, int(c.interval), true);
        list.SetActive(true);
        list.RunUntil(1000 + 3 * c.interval);
        EXPECT_EQ((std::vector<unsigned>{c.interval, 2 * c.interval, 3 * c.interval}), fired) << c.interval;
        EXPECT_EQ(c.timerStarts, list.Waits.size()) << c.interval;
    }
}

TEST(TimerList, AHandlerRetimingItsLongEventCountsFromThatFiring)
{
    TSimTimerList list;
    std::vector<unsigned> fired;
    TTimerEvent* e = nullptr;
    list.Add([&](TObject*) { fired.push_back(list.Now - 1000), e->SetInterval(80000); }, 70000, true);
    e = list.GetEvent(0);
    list.SetActive(true);
    list.RunUntil(1000 + 150000);
    EXPECT_EQ((std::vector<unsigned>{70000, 150000}), fired);
}

TEST(TimerList, EnablingRestartsTheCountAndTheWait)
{
    TSimTimerList list;
    int fired = 0;
    int h = list.Add([&](TObject*) { ++fired; }, 200, false);
    list.Add(nullptr, 50, true);
    TTimerEvent* e = list.GetEvent(list.ItemIndexByHandle(h));
    e->SetRepeatCount(2);
    list.SetActive(true);
    list.RunUntil(1400);
    EXPECT_EQ(2, fired);
    EXPECT_FALSE(e->GetEnabled());
    list.RunUntil(1430);
    e->SetEnabled(true);
    EXPECT_EQ(0, e->GetExecCount());
    EXPECT_EQ(1430u, e->GetLastExecute());
    list.RunUntil(1430 + 174);
    EXPECT_EQ(2, fired);
    list.RunUntil(1430 + 250);
    EXPECT_EQ(3, fired);
}

TEST(TimerList, ChangingAnIntervalRecomputesThePeriod)
{
    TSimTimerList list;
    int h = list.Add(nullptr, 300, true);
    list.Add(nullptr, 500, true);
    list.SetActive(true);
    EXPECT_EQ(100u, list.GetPeriod());
    list.GetEvent(list.ItemIndexByHandle(h))->SetInterval(250);
    EXPECT_EQ(250u, list.GetPeriod());
    EXPECT_EQ(250u, list.Waits.back());
    EXPECT_THROW(list.GetEvent(0)->SetInterval(-1), EPropertyError);
}

TEST(TimerList, WithEveryEventDisabledTheNextStartStopsTheList)
{
    TSimTimerList list;
    int finished = 0;
    list.OnFinish = [&](TObject*) { ++finished; };
    int h = list.Add(nullptr, 100, true);
    list.SetActive(true);
    TTimerEvent* e = list.GetEvent(0);
    e->SetEnabled(false);
    EXPECT_TRUE(list.GetActive());  // only recorded
    list.Add(nullptr, 200, true);
    list.Delete(list.GetEvent(1)->GetHandle());  // a restart with nothing enabled
    EXPECT_FALSE(list.GetActive());
    EXPECT_EQ(1, finished);
    e->SetEnabled(true);
    EXPECT_FALSE(list.GetActive());
    EXPECT_FALSE(list.Running);
    EXPECT_EQ(h, e->GetHandle());
}

TEST(TimerList, AThrowingHandlerIsReportedAndTheOthersStillFire)
{
    TSimTimerList list;
    int other = 0;
    list.Add([&](TObject*) { ++other; }, 100, true);
    list.Add([](TObject*) { throw Exception("handler failed"); }, 100, true);
    list.SetActive(true);
    list.RunUntil(1300);
    EXPECT_EQ(3, list.Exceptions);
    EXPECT_EQ(3, other);
    EXPECT_TRUE(list.Running);
}

TEST(TimerList, AHandlerMayDeleteItsOwnEventOrSwitchTheListOff)
{
    TSimTimerList list;
    int h = 0;
    h = list.Add([&](TObject*) { list.Delete(h); }, 100, true);
    int after = 0;
    list.Add([&](TObject*) { ++after; }, 100, true);
    list.SetActive(true);
    list.RunUntil(1100);
    EXPECT_EQ(1, list.GetCount());
    EXPECT_EQ(1, after);
    list.Add([&](TObject*) { list.SetActive(false); }, 100, true);
    list.RunUntil(1300);
    EXPECT_FALSE(list.GetActive());
}

TEST(TimerList, NoSystemTimerLeftRaisesAndDeactivates)
{
    TSimTimerList list;
    list.Add(nullptr, 100, true);
    list.RefuseTimer = true;
    try {
        list.SetActive(true);
        FAIL() << "no exception";
    } catch (const EOutOfResources& e) {
        EXPECT_STREQ("Not enough timers available", e.what());
    }
    EXPECT_FALSE(list.GetActive());
    EXPECT_FALSE(list.Allocated);
}
