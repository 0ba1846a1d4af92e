// The timer list on its hidden window under Wine: real timing, and a
// handler that throws.
#include <gtest/gtest.h>

#include "../../gui/win32/gui_fixture.h"
#include "timerlst.h"

namespace {

// Handles messages for ms milliseconds of real time.
void PumpFor(unsigned ms)
{
    DWORD end = GetTickCount() + ms;
    while (static_cast<int>(end - GetTickCount()) > 0) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        gui::PumpUntilIdle();
    }
}

class TimerListWindowTest : public GuiTest {};

}  // namespace

TEST_F(TimerListWindowTest, AFiftyMillisecondEventFiresAboutTwentyTimesASecond)
{
    TTimerList list(nullptr);
    int activity = 0, slow = 0;
    list.Add([&](TObject*) { ++activity; }, 50, true);
    list.Add([&](TObject*) { ++slow; }, 500, true);
    list.SetActive(true);
    ASSERT_NE(nullptr, list.GetWindowHandle());
    EXPECT_EQ(50u, list.GetPeriod());
    PumpFor(2000);
    // Measured 19 ticks a second under Wine.
    EXPECT_NEAR(38, activity, 6);
    EXPECT_NEAR(4, slow, 1);
    list.SetActive(false);
    EXPECT_EQ(nullptr, list.GetWindowHandle());
    int before = activity;
    PumpFor(200);
    EXPECT_EQ(before, activity);
}

TEST_F(TimerListWindowTest, AThrowingHandlerGoesToTheApplicationAndTheTimerKeepsRunning)
{
    TTimerList list(nullptr);
    int calls = 0;
    list.Add([&](TObject*) {
        ++calls;
        throw Exception("tick failed");
    }, 50, true);
    list.SetActive(true);
    PumpFor(600);
    EXPECT_GE(calls, 4);
    ASSERT_FALSE(recorder->Boxes.empty());
    EXPECT_STREQ("tick failed.", recorder->Boxes[0].Text.c_str());  // the application adds the stop
    EXPECT_TRUE(list.GetActive());
}

TEST_F(TimerListWindowTest, ChangingEventsWhileRunning)
{
    TTimerList list(nullptr);
    int a = 0, b = 0, finished = 0;
    list.OnFinish = [&](TObject*) { ++finished; };
    int ha = list.Add([&](TObject*) { ++a; }, 100, true);
    int hb = list.Add([&](TObject*) { ++b; }, 100, false);
    list.GetEvent(list.ItemIndexByHandle(hb))->SetRepeatCount(2);
    list.SetActive(true);
    PumpFor(700);
    EXPECT_EQ(2, b);
    EXPECT_GE(a, 4);
    list.GetEvent(list.ItemIndexByHandle(ha))->SetInterval(300);
    // The period depends on how long ago the event fired; the rate not.
    int before = a;
    PumpFor(700);
    EXPECT_NEAR(before + 2, a, 1);
    list.GetEvent(list.ItemIndexByHandle(ha))->SetEnabled(false);
    list.Delete(hb);  // restarts with nothing enabled: the list stops
    EXPECT_FALSE(list.GetActive());
    EXPECT_EQ(1, finished);
}
