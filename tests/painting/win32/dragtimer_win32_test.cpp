// The drag timer on a real system timer: its tick arrives through the
// message loop and turns the next release into the end of a drag.
#include <memory>

#include "../tool_fixture.h"
#include "dragtimer_win32.h"
#include "winapi.h"

namespace {

class SystemDragTimer : public ToolTest {
protected:
    TTimer systemTimer{nullptr};
    std::unique_ptr<TTimerDragTimer> drag;

    void SetUp() override
    {
        ToolTest::SetUp();
        drag.reset(new TTimerDragTimer(&systemTimer));
        SetDragTimer(drag.get());
    }
    void TearDown() override
    {
        SetDragTimer(nullptr);
        drag.reset();
        ToolTest::TearDown();
    }

    // Runs the message loop until the drag timer stops or ms pass; answers
    // the milliseconds that passed.
    unsigned PumpUntilStopped(unsigned ms)
    {
        DWORD start = GetTickCount();
        while (drag->IsRunning() && GetTickCount() - start < ms) {
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
            Sleep(5);
        }
        return GetTickCount() - start;
    }
};

TEST_F(SystemDragTimer, ReleaseBeforeTheTickIsAClick)
{
    Press(3, 3);
    EXPECT_TRUE(drag->IsRunning());
    EXPECT_EQ(systemTimer.GetInterval(), 300u);
    Release(3, 3);
    EXPECT_FALSE(systemTimer.GetEnabled());
    EXPECT_EQ(ToolPhase, 1);
    EXPECT_EQ(log, (ToolLog{"pen.Erase", "pen.Click/0", "pen.Draw", "pen.Erase", "pen.Draw"}));
}

TEST_F(SystemDragTimer, TickThroughTheMessageLoopMakesADrag)
{
    Press(3, 3);
    unsigned waited = PumpUntilStopped(3000);
    ASSERT_FALSE(drag->IsRunning());
    // System timers may fire a little early under emulation, never at once.
    EXPECT_GE(waited, 200u);
    Release(7, 7);
    EXPECT_EQ(ToolPhase, 0);
    EXPECT_EQ(log, (ToolLog{"pen.Erase", "pen.Click/0", "pen.Draw", "pen.Erase", "pen.Click/3", "pen.Draw"}));
}

TEST_F(SystemDragTimer, AdapterLeavesTheTimerStopped)
{
    Press(3, 3);
    drag.reset();
    SetDragTimer(nullptr);
    EXPECT_FALSE(systemTimer.GetEnabled());
    EXPECT_FALSE(static_cast<bool>(systemTimer.OnTimer));
}

}  // namespace
