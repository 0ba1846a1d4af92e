#include "../../gui/win32/gui_fixture.h"

#include <vector>

#include "winhook.h"

class WindowHookTest : public GuiTest {};

namespace {
const UINT WM_PROBE = WM_APP + 7;

// Records the probe message in the control itself.
class TProbeForm : public TForm {
public:
    explicit TProbeForm(TComponent* owner) : TForm(owner) {}
    int Seen = 0;
    void WndProc(TMessage& Message) override
    {
        if (Message.Msg == WM_PROBE) {
            ++Seen;
            Message.Result = 42;
            return;
        }
        TForm::WndProc(Message);
    }
};
}  // namespace

TEST_F(WindowHookTest, BeforeNewestFirstThenControlThenAfter)
{
    TProbeForm form(nullptr);
    form.HandleNeeded();
    std::vector<int> order;
    TWindowHook a(nullptr), b(nullptr);
    a.BeforeMessage = [&](TObject*, TMessage& m, bool&) { if (m.Msg == WM_PROBE) order.push_back(1); };
    b.BeforeMessage = [&](TObject*, TMessage& m, bool&) { if (m.Msg == WM_PROBE) order.push_back(2); };
    a.AfterMessage = [&](TObject*, TMessage& m, bool&) {
        if (m.Msg == WM_PROBE) order.push_back(m.Result == 42 ? 10 : -1);
    };
    a.SetWinControl(&form);
    b.SetWinControl(&form);
    a.SetActive(true);
    b.SetActive(true);
    EXPECT_TRUE(IsWindowHooked(&form));
    EXPECT_EQ(1, WindowHookObjectCount()) << "hooks on one control share one object";
    EXPECT_EQ(42, SendMessageA(form.GetHandle(), WM_PROBE, 0, 0));
    EXPECT_EQ((std::vector<int>{2, 1, 10}), order);
    EXPECT_EQ(1, form.Seen);
}

TEST_F(WindowHookTest, HandledStopsTheMessage)
{
    TProbeForm form(nullptr);
    form.HandleNeeded();
    TWindowHook hook(nullptr);
    hook.BeforeMessage = [](TObject*, TMessage& m, bool& handled) {
        if (m.Msg == WM_PROBE) {
            m.Result = 5;
            handled = true;
        }
    };
    hook.SetWinControl(&form);
    hook.SetActive(true);
    EXPECT_EQ(5, SendMessageA(form.GetHandle(), WM_PROBE, 0, 0));
    EXPECT_EQ(0, form.Seen);
}

TEST_F(WindowHookTest, RemovingTheLastHookGivesTheProcedureBack)
{
    TProbeForm form(nullptr);
    HWND wnd = form.GetHandle();
    LONG_PTR original = GetWindowLongPtrA(wnd, GWLP_WNDPROC);
    {
        TWindowHook hook(nullptr);
        hook.SetWinControl(&form);
        hook.SetActive(true);
        EXPECT_NE(original, GetWindowLongPtrA(wnd, GWLP_WNDPROC));
        hook.SetActive(false);
        EXPECT_EQ(original, GetWindowLongPtrA(wnd, GWLP_WNDPROC));
        hook.SetActive(true);
    }
    EXPECT_EQ(original, GetWindowLongPtrA(wnd, GWLP_WNDPROC));
    EXPECT_EQ(0, WindowHookObjectCount());
    EXPECT_EQ(42, SendMessageA(wnd, WM_PROBE, 0, 0));
}

TEST_F(WindowHookTest, ExceptionInAHandlerGoesToTheApplication)
{
    TProbeForm form(nullptr);
    form.HandleNeeded();
    TWindowHook hook(nullptr);
    hook.BeforeMessage = [](TObject*, TMessage& m, bool&) {
        if (m.Msg == WM_PROBE) throw EInvalidOperation("hook failed");
    };
    hook.SetWinControl(&form);
    hook.SetActive(true);
    EXPECT_EQ(42, SendMessageA(form.GetHandle(), WM_PROBE, 0, 0)) << "the control still gets the message";
    ASSERT_EQ(1u, recorder->Boxes.size());
    EXPECT_NE(std::string::npos, std::string(recorder->Boxes[0].Text.c_str()).find("hook failed"));
}

TEST_F(WindowHookTest, HookFollowsARecreatedWindow)
{
    TProbeForm form(nullptr);
    TWindowHook hook(nullptr);
    int probes = 0;
    hook.BeforeMessage = [&](TObject*, TMessage& m, bool&) { if (m.Msg == WM_PROBE) ++probes; };
    hook.SetWinControl(&form);
    hook.SetActive(true);
    HWND first = form.GetHandle();
    form.RecreateWnd();
    gui::PumpUntilIdle();
    ASSERT_NE(first, form.GetHandle());
    EXPECT_TRUE(IsWindowHooked(&form));
    SendMessageA(form.GetHandle(), WM_PROBE, 0, 0);
    EXPECT_EQ(1, probes);
}

TEST_F(WindowHookTest, ControlWithoutWindowIsHookedWhenItGetsOne)
{
    TProbeForm form(nullptr);
    TWindowHook hook(nullptr);
    hook.SetWinControl(&form);
    hook.SetActive(true);
    EXPECT_FALSE(form.HandleAllocated()) << "activating a hook does not make the window";
    form.HandleNeeded();
    EXPECT_FALSE(IsWindowHooked(&form));
    gui::PumpUntilIdle();
    EXPECT_TRUE(IsWindowHooked(&form));
}

TEST_F(WindowHookTest, DeletingTheControlReleasesTheHook)
{
    TWindowHook hook(nullptr);
    auto* form = new TProbeForm(nullptr);
    hook.SetWinControl(form);
    hook.SetActive(true);
    form->HandleNeeded();
    gui::PumpUntilIdle();
    delete form;
    gui::PumpUntilIdle();
    EXPECT_EQ(nullptr, hook.GetWinControl());
    EXPECT_EQ(0, WindowHookObjectCount());
}

TEST_F(WindowHookTest, HookOnItsOwnForm)
{
    TProbeForm form(nullptr);
    TWindowHook* hook = new TWindowHook(&form);
    hook->SetWinControl(&form);
    EXPECT_TRUE(hook->GetIsForm());
}
