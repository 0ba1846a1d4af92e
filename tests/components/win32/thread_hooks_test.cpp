#include "../../gui/win32/gui_fixture.h"

#include <algorithm>

#include "thread_hooks.h"

class TbHooksTest : public GuiTest {};

namespace {

int counted = 0;
int thrown = 0;
std::vector<HWND> destroyed;
int moves = 0;
HWND lastWindow = nullptr;

void Counting(THookProcKind code, HWND wnd, WPARAM, LPARAM)
{
    if (code == hpSendWindowPosChanged) ++counted;
    lastWindow = wnd;
}

void Throwing(THookProcKind, HWND, WPARAM, LPARAM)
{
    ++thrown;
    throw Exception("hook procedure failure");
}

void Destroys(THookProcKind code, HWND wnd, WPARAM, LPARAM)
{
    if (code == hpPreDestroy) destroyed.push_back(wnd);
    if (code == hpGetMessageMouseMove) ++moves;
}

int chained = 0;
HHOOK rawHook = nullptr;
LRESULT CALLBACK RawHook(int code, WPARAM w, LPARAM l)
{
    if (code == HC_ACTION && reinterpret_cast<CWPSTRUCT*>(l)->message == WM_WINDOWPOSCHANGED) ++chained;
    return CallNextHookEx(rawHook, code, w, l);
}

HWND HiddenWindow()
{
    return CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
}

void Nudge(HWND w, int x)
{
    SetWindowPos(w, nullptr, x, 0, 10, 10, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

TEST_F(TbHooksTest, CountedRegistrationsKeepTheHookUntilTheLast)
{
    HWND w = HiddenWindow();
    counted = 0;
    InstallHookProc(Counting, HookKind(hpSendWindowPosChanged), false);
    InstallHookProc(Counting, HookKind(hpSendWindowPosChanged), false);
    UninstallHookProc(Counting);
    Nudge(w, 5);
    EXPECT_EQ(1, counted);
    EXPECT_EQ(w, lastWindow);
    EXPECT_TRUE(ThreadHookInstalled(htCallWndProc));
    UninstallHookProc(Counting);
    EXPECT_FALSE(HookProcRegistered(Counting));
    Nudge(w, 9);
    EXPECT_EQ(1, counted);
    DestroyWindow(w);
}

TEST_F(TbHooksTest, AThrowingProcedureStopsNeitherOthersNorTheChain)
{
    HWND w = HiddenWindow();
    chained = 0;
    rawHook = SetWindowsHookExA(WH_CALLWNDPROC, RawHook, nullptr, GetCurrentThreadId());
    InstallHookProc(Throwing, HookKind(hpSendWindowPosChanged), false);
    InstallHookProc(Counting, HookKind(hpSendWindowPosChanged), false);
    counted = 0;
    thrown = 0;
    Nudge(w, 3);
    EXPECT_EQ(1, thrown);
    EXPECT_EQ(1, counted);
    EXPECT_EQ(1, chained);
    UninstallHookProc(Throwing);
    UninstallHookProc(Counting);
    UnhookWindowsHookEx(rawHook);
    DestroyWindow(w);
}

TEST_F(TbHooksTest, DesignTimeRegistersWithoutHooks)
{
    HWND w = HiddenWindow();
    counted = 0;
    InstallHookProc(Counting, HookKind(hpSendWindowPosChanged), true);
    EXPECT_TRUE(HookProcRegistered(Counting));
    EXPECT_FALSE(ThreadHookInstalled(htCallWndProc));
    Nudge(w, 4);
    EXPECT_EQ(0, counted);
    UninstallHookProc(Counting);
    DestroyWindow(w);
}

TEST_F(TbHooksTest, DestroyAndRemovedMouseMovesOnly)
{
    destroyed.clear();
    moves = 0;
    InstallHookProc(Destroys, HookKind(hpPreDestroy) | HookKind(hpGetMessageMouseMove), false);
    HWND w = HiddenWindow();
    PostMessageA(w, WM_MOUSEMOVE, 0, 0);
    MSG msg;
    PeekMessageA(&msg, w, WM_MOUSEMOVE, WM_MOUSEMOVE, PM_NOREMOVE);
    EXPECT_EQ(0, moves) << "a peek that leaves the message is no move taken";
    PeekMessageA(&msg, w, WM_MOUSEMOVE, WM_MOUSEMOVE, PM_REMOVE);
    EXPECT_EQ(1, moves);
    DestroyWindow(w);
    EXPECT_EQ(1, std::count(destroyed.begin(), destroyed.end(), w));
    UninstallHookProc(Destroys);
    EXPECT_FALSE(ThreadHookInstalled(htCBT));
    EXPECT_FALSE(ThreadHookInstalled(htGetMessage));
}

TEST_F(TbHooksTest, CopyPaletteCopiesEntries)
{
    EXPECT_EQ(nullptr, CopyPalette(nullptr));
    std::vector<BYTE> block(sizeof(LOGPALETTE) + 16 * sizeof(PALETTEENTRY));
    LOGPALETTE* lp = reinterpret_cast<LOGPALETTE*>(block.data());
    lp->palVersion = 0x300;
    lp->palNumEntries = 16;
    for (int i = 0; i < 16; ++i) lp->palPalEntry[i] = PALETTEENTRY{BYTE(i * 16), BYTE(255 - i), BYTE(i), 0};
    HPALETTE original = CreatePalette(lp);
    HPALETTE copy = CopyPalette(original);
    ASSERT_NE(nullptr, copy);
    EXPECT_NE(original, copy);
    PALETTEENTRY a[16], b[16];
    ASSERT_EQ(16u, GetPaletteEntries(original, 0, 16, a));
    ASSERT_EQ(16u, GetPaletteEntries(copy, 0, 16, b));
    EXPECT_EQ(0, memcmp(a, b, sizeof(a)));
    DeleteObject(copy);
    DeleteObject(original);
}
