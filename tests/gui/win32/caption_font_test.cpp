// Caption buttons are glyphs of the Marlett font. Without that font in the
// prefix they come out as letters of another font ("0 1 r") instead of the
// minimise, maximise and close symbols.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <utility>

#include "gui_harness.h"

namespace {

int CALLBACK CountFace(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM count)
{
    ++*reinterpret_cast<int*>(count);
    return 1;
}

LRESULT CALLBACK PlainProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    return DefWindowProcA(hwnd, msg, wp, lp);
}

int Luminance(uint32_t rgb)
{
    return (int((rgb >> 16) & 255) + int((rgb >> 8) & 255) + int(rgb & 255)) / 3;
}

// The glyph's core: pixels darker than any 3D edge of the button.
std::set<std::pair<int, int>> InkIn(const gui::TPixels& px, RECT box)
{
    int dark = (Luminance(GetSysColor(COLOR_BTNTEXT)) + Luminance(GetSysColor(COLOR_3DDKSHADOW))) / 2;
    std::set<std::pair<int, int>> ink;
    for (int y = box.top; y < box.bottom; y++)
        for (int x = box.left; x < box.right; x++)
            if (Luminance(px.At(x, y)) < dark) ink.insert({x, y});
    return ink;
}

// A close cross is its own mirror image left to right and top to bottom;
// a letter is not. Allows for a pixel lost to rounding here and there.
bool LooksLikeCross(const std::set<std::pair<int, int>>& ink)
{
    if (ink.size() < 6) return false;
    int left = ink.begin()->first, right = left, top = ink.begin()->second, bottom = top;
    for (const auto& p : ink) {
        left = std::min(left, p.first);
        right = std::max(right, p.first);
        top = std::min(top, p.second);
        bottom = std::max(bottom, p.second);
    }
    size_t mirrored = 0;
    for (const auto& p : ink)
        if (ink.count({left + right - p.first, p.second}) && ink.count({p.first, top + bottom - p.second}))
            mirrored++;
    return mirrored * 10 >= ink.size() * 8;
}

// The caption of a top-level window, read back from the screen.
gui::TPixels CaptionPixels(RECT* closeBox)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = PlainProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = "KestrelCaptionFont";
    RegisterClassA(&wc);
    HWND hwnd = CreateWindowA(wc.lpszClassName, "Caption", WS_OVERLAPPEDWINDOW, 30, 30, 200, 100, nullptr,
                              nullptr, wc.hInstance, nullptr);
    if (!hwnd) return gui::TPixels();
    ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    UpdateWindow(hwnd);
    gui::PumpUntilIdle();
    gui::TPixels px = gui::ReadPixels(hwnd, true);
    DestroyWindow(hwnd);
    UnregisterClassA(wc.lpszClassName, wc.hInstance);
    // The close button is the last square of the caption, inside the frame.
    int frameX = GetSystemMetrics(SM_CXFRAME), frameY = GetSystemMetrics(SM_CYFRAME);
    *closeBox = RECT{px.Width - frameX - GetSystemMetrics(SM_CXSIZE), frameY, px.Width - frameX,
                     frameY + GetSystemMetrics(SM_CYCAPTION)};
    return px;
}

// The letter a caption shows in place of the cross when Marlett is missing,
// drawn unsmoothed so that all of it is ink and only its shape tells it apart.
gui::TPixels LetterPixels(RECT* box)
{
    int size = GetSystemMetrics(SM_CYSIZE);
    gui::TDibDC dib(size, size);
    *box = RECT{0, 0, size, size};
    FillRect(dib.Get(), box, GetSysColorBrush(COLOR_BTNFACE));
    HFONT font = CreateFontA(-(size - 4), 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, NONANTIALIASED_QUALITY, 0,
                              "Tahoma");
    HGDIOBJ old = SelectObject(dib.Get(), font);
    SetBkMode(dib.Get(), TRANSPARENT);
    SetTextColor(dib.Get(), GetSysColor(COLOR_BTNTEXT));
    DrawTextA(dib.Get(), "r", 1, box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(dib.Get(), old);
    DeleteObject(font);
    return dib.Pixels();
}

}  // namespace

TEST(CaptionFont, MarlettIsInstalled)
{
    HDC dc = CreateCompatibleDC(nullptr);
    LOGFONTA wanted = {};
    wanted.lfCharSet = DEFAULT_CHARSET;
    lstrcpyA(wanted.lfFaceName, "Marlett");
    int faces = 0;
    EnumFontFamiliesExA(dc, &wanted, CountFace, reinterpret_cast<LPARAM>(&faces), 0);
    DeleteDC(dc);
    EXPECT_GT(faces, 0);
}

TEST(CaptionFont, CloseButtonShowsCrossNotLetter)
{
    ASSERT_NE(nullptr, getenv("DISPLAY")) << "GUI tests need the test display";
    struct Case {
        const char* what;
        gui::TPixels (*read)(RECT*);
        bool cross;
    } const cases[] = {
        {"caption close button", CaptionPixels, true},
        {"letter r of another font", LetterPixels, false},
    };
    for (const Case& c : cases) {
        RECT box;
        gui::TPixels px = c.read(&box);
        ASSERT_GT(px.Width, 0) << c.what;
        EXPECT_EQ(c.cross, LooksLikeCross(InkIn(px, box))) << c.what;
    }
}
