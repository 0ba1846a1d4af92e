// Proves that windows work in the test environment: a window is created on
// the test display, paints itself, and its pixels are read back.
#include <gtest/gtest.h>
#include <windows.h>

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

// Reads the client area through a 32-bit DIB section: pixels 0x00RRGGBB.
static void ReadClient(HWND hwnd, unsigned long* out, int w, int h)
{
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC screen = GetDC(hwnd);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP dib = CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, dib);
    BitBlt(mem, 0, 0, w, h, screen, 0, 0, SRCCOPY);
    GdiFlush();
    memcpy(out, bits, size_t(w) * h * 4);
    SelectObject(mem, old);
    DeleteObject(dib);
    DeleteDC(mem);
    ReleaseDC(hwnd, screen);
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

    static unsigned long px[64 * 48];
    ReadClient(hwnd, px, 64, 48);
    EXPECT_EQ(0x0000FFu, px[0] & 0xFFFFFF);
    EXPECT_EQ(0xFF0000u, px[5 * 64 + 10] & 0xFFFFFF);
    EXPECT_EQ(0xFF0000u, px[14 * 64 + 19] & 0xFFFFFF);
    EXPECT_EQ(0x0000FFu, px[15 * 64 + 20] & 0xFFFFFF);
    DestroyWindow(hwnd);
    UnregisterClassA(wc.lpszClassName, wc.hInstance);
}
