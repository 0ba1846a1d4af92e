// Proves that windows work in the test environment: a window is created on
// the test display, paints itself, and its pixels are read back.
#include <gtest/gtest.h>

#include "gui_harness.h"

static LRESULT CALLBACK SmokeProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        RECT all = {0, 0, 64, 48};
        HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
        FillRect(dc, &all, blue);
        DeleteObject(blue);
        RECT corner = {10, 5, 20, 15};
        HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
        FillRect(dc, &corner, red);
        DeleteObject(red);
        EndPaint(hwnd, &ps);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

TEST(GuiSmoke, WindowPaintsAndReadsBack)
{
    ASSERT_NE(nullptr, getenv("DISPLAY")) << "GUI tests need the test display";
    WNDCLASSA wc = {};
    wc.lpfnWndProc = SmokeProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "KestrelGuiSmoke";
    ASSERT_NE(0, RegisterClassA(&wc));
    HWND hwnd = CreateWindowA(wc.lpszClassName, "smoke", WS_POPUP, 20, 20, 64, 48, nullptr, nullptr,
                              wc.hInstance, nullptr);
    ASSERT_NE(nullptr, hwnd);
    ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    UpdateWindow(hwnd);

    gui::TPixels px = gui::ReadPixels(hwnd);
    ASSERT_EQ(64, px.Width);
    EXPECT_EQ(0x0000FFu, px.At(0, 0));
    EXPECT_EQ(0xFF0000u, px.At(10, 5));
    EXPECT_EQ(0xFF0000u, px.At(19, 14));
    EXPECT_EQ(0x0000FFu, px.At(20, 15));
    DestroyWindow(hwnd);
    UnregisterClassA(wc.lpszClassName, wc.hInstance);
}
