// Dragging tool windows with real input (SendInput), which also sets the
// Ctrl key's state. The input comes from a second thread while this one runs
// the drag loop, as a user's hand would.
#include "toolbar_test_form.h"

#include <atomic>
#include <thread>

// The pointer is shared by every test on the display: park it in a corner
// where no test puts a window.
class TbDragInputTest : public GuiTest {
protected:
    void TearDown() override
    {
        gui::InputMouseMoveTo(GetSystemMetrics(SM_CXSCREEN) - 2, GetSystemMetrics(SM_CYSCREEN) - 2);
        GuiTest::TearDown();
    }
};

namespace {

void Button(bool down)
{
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    SendInput(1, &in, sizeof(in));
}

// Press at `from`, move in steps through `path`, release; Ctrl held
// throughout when asked. Pumps this thread until the hand is done.
void Drag(POINT from, const std::vector<POINT>& path, bool ctrl = false)
{
    std::atomic<bool> done(false);
    std::thread hand([&] {
        INPUT move = {};
        auto go = [&](POINT p) {
            move.type = INPUT_MOUSE;
            move.mi.dx = MulDiv(p.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
            move.mi.dy = MulDiv(p.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
            move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
            SendInput(1, &move, sizeof(move));
            Sleep(40);
        };
        go(from);
        if (ctrl) gui::InputKey(VK_CONTROL, false);
        Sleep(60);
        Button(true);
        Sleep(120);
        for (POINT p : path) {
            POINT q{(from.x + p.x) / 2, (from.y + p.y) / 2};
            go(q);
            go(p);
            from = p;
        }
        Button(false);
        Sleep(60);
        if (ctrl) gui::InputKey(VK_CONTROL, true);
        Sleep(60);
        done = true;
    });
    while (!done) {
        gui::PumpUntilIdle();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    hand.join();
    gui::PumpUntilIdle();
}

POINT Handle(TCustomToolWindow* w)
{
    RECT r = ScreenRect(w);
    if (w->GetDockedTo() && w->GetDockedTo()->IsVertical()) return POINT{(r.left + r.right) / 2, r.top + 6};
    return POINT{r.left + 6, (r.top + r.bottom) / 2};
}

}  // namespace

TEST_F(TbDragInputTest, DragFromDockToDockToFloatingAndBack)
{
    TDockForm f;
    f.Bar1->SetDockedTo(f.Top);
    f.Bar2->SetDockedTo(f.Right);
    f.Show();
    SetForegroundWindow(f.Form->GetHandle());
    gui::PumpUntilIdle();
    // Onto the right dock's only row: the outline centre lands in it.
    RECT rr = ScreenRect(f.Right);
    POINT row0{(rr.left + rr.right) / 2 - 11, rr.top + 200};
    Drag(Handle(f.Bar1), {POINT{400, 250}, row0});
    ASSERT_EQ(f.Right, f.Bar1->GetDockedTo());
    EXPECT_EQ(0, f.Bar1->GetDockRow());
    EXPECT_EQ(0, f.Right->GetHighestRow()) << "both bars share row 0";
    EXPECT_EQ(2, f.Right->GetToolbarCount());
    EXPECT_EQ(nullptr, GetCapture());
    // Out into the form: floats where it was dropped.
    Drag(Handle(f.Bar1), {POINT{380, 300}});
    ASSERT_TRUE(f.Bar1->IsFloating());
    EXPECT_TRUE(IsWindowVisible(f.Bar1->GetFloatParent()->GetHandle()));
    // Back by its caption onto the top dock.
    RECT fr = ScreenRect(f.Bar1);
    RECT tr = ScreenRect(f.Top);
    Drag(POINT{fr.left + 20, fr.top + 8}, {POINT{tr.left + 60, tr.top + 1}});
    EXPECT_EQ(f.Top, f.Bar1->GetDockedTo());
    EXPECT_EQ(nullptr, GetCapture());
}

TEST_F(TbDragInputTest, CtrlHeldKeepsTheWindowFloating)
{
    TDockForm f;
    f.Bar1->SetDockedTo(f.Top);
    f.Show();
    SetForegroundWindow(f.Form->GetHandle());
    gui::PumpUntilIdle();
    RECT lr = ScreenRect(f.Left);
    Drag(Handle(f.Bar1), {POINT{300, 300}, POINT{lr.left + 2, lr.top + 100}}, true);
    EXPECT_TRUE(f.Bar1->IsFloating());
    EXPECT_EQ(0, f.Left->GetToolbarCount());
    EXPECT_EQ(nullptr, GetCapture());
    // The same drop without Ctrl docks.
    RECT fr = ScreenRect(f.Bar1);
    Drag(POINT{fr.left + 20, fr.top + 8}, {POINT{300, 300}, POINT{lr.left + 2, lr.top + 100}});
    EXPECT_EQ(f.Left, f.Bar1->GetDockedTo());
}
