#include "../../gui/win32/gui_fixture.h"

#include "control_cursors.h"
#include "screen.h"
#include "control_support.h"

class VclutilsTest : public GuiTest {};

namespace {
int CountQueued(HWND wnd, UINT msg, WPARAM* lastParam = nullptr)
{
    int n = 0;
    MSG m;
    while (PeekMessageA(&m, wnd, msg, msg, PM_REMOVE)) {
        if (lastParam) *lastParam = m.wParam;
        ++n;
    }
    return n;
}
}  // namespace

TEST_F(VclutilsTest, KillMessageRemovesOnlyOne)
{
    TForm form(nullptr);
    HWND wnd = form.GetHandle();
    PostMessageA(wnd, WM_LBUTTONDOWN, 0, 0);
    PostMessageA(wnd, WM_LBUTTONDOWN, 0, 0);
    KillMessage(wnd, WM_LBUTTONDOWN);
    EXPECT_EQ(1, CountQueued(wnd, WM_LBUTTONDOWN));
}

TEST_F(VclutilsTest, KillMessagePostsTheQuitAgain)
{
    TForm form(nullptr);
    HWND wnd = form.GetHandle();
    PostQuitMessage(7);
    KillMessage(wnd, WM_LBUTTONDOWN);
    WPARAM code = 0;
    EXPECT_EQ(1, CountQueued(nullptr, WM_QUIT, &code));
    EXPECT_EQ(7u, code);
}

TEST_F(VclutilsTest, ForegroundTaskAfterSetForegroundWindow)
{
    TForm form(nullptr);
    form.Show();
    SetForegroundWindow(form.GetHandle());
    gui::PumpUntilIdle();
    EXPECT_TRUE(IsForegroundTask());
}

namespace {
// A 4 x 3 strip of 6 x 5 cells, cell i filled with RGB(i * 20, 255 - i * 20, 7).
std::unique_ptr<TBitmap> ColourStrip()
{
    std::unique_ptr<TBitmap> strip(new TBitmap);
    strip->SetPixelFormat(pf24bit);
    strip->SetSize(24, 15);
    for (int i = 0; i < 12; ++i) {
        strip->GetCanvas()->GetBrush()->SetColor(RGB(i * 20, 255 - i * 20, 7));
        int x = (i % 4) * 6, y = (i / 4) * 5;
        strip->GetCanvas()->FillRect(RECT{x, y, x + 6, y + 5});
    }
    return strip;
}
}  // namespace

TEST_F(VclutilsTest, StripCellCopiesTheRightCell)
{
    auto strip = ColourStrip();
    auto cell = CreateStripCell(strip.get(), 4, 3, 5);
    ASSERT_EQ(6, cell->GetWidth());
    ASSERT_EQ(5, cell->GetHeight());
    EXPECT_EQ(RGB(100, 155, 7), cell->GetCanvas()->GetPixels(0, 0));
    EXPECT_EQ(RGB(100, 155, 7), cell->GetCanvas()->GetPixels(5, 4));
    EXPECT_THROW(CreateStripCell(strip.get(), 4, 3, 12), EListError);
}

TEST_F(VclutilsTest, PatternBrushIsACachedChecker)
{
    HBRUSH b = CreateTwoColorsBrush(RGB(255, 0, 0), RGB(0, 0, 255));
    EXPECT_EQ(b, CreateTwoColorsBrush(RGB(255, 0, 0), RGB(0, 0, 255)));
    TBitmap bmp;
    bmp.SetPixelFormat(pf24bit);
    bmp.SetSize(8, 8);
    HDC dc = bmp.GetCanvas()->GetHandle();
    RECT r = {0, 0, 8, 8};
    FillRect(dc, &r, b);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ((x + y) % 2 ? RGB(0, 0, 255) : RGB(255, 0, 0), GetPixel(dc, x, y)) << x << "," << y;
    HBRUSH other = CreateTwoColorsBrush(clBtnFace, clWhite);
    EXPECT_NE(nullptr, other);
    EXPECT_EQ(0u, GetObjectType(b)) << "a replaced brush is freed";
}

TEST_F(VclutilsTest, MissingResourceBitmapRaisesNotFound)
{
    EXPECT_THROW(LoadResBitmap("NO_SUCH_BITMAP_129"), EResNotFound);
    EXPECT_EQ(AnsiString(), ResStr(32123));
}

TEST_F(VclutilsTest, DisabledGlyphIsEmbossed)
{
    TBitmap glyph;
    glyph.SetPixelFormat(pf24bit);
    glyph.SetSize(6, 6);
    glyph.GetCanvas()->GetBrush()->SetColor(clFuchsia);
    glyph.GetCanvas()->FillRect(RECT{0, 0, 6, 6});
    glyph.GetCanvas()->SetPixels(2, 2, clBlack);
    auto disabled = CreateDisabledBitmap(&glyph, clFuchsia);
    TCanvas* c = disabled->GetCanvas();
    EXPECT_EQ(ColorToRGB(clBtnShadow), c->GetPixels(2, 2));
    EXPECT_EQ(ColorToRGB(clBtnHighlight), c->GetPixels(3, 3));
    EXPECT_EQ(ColorToRGB(clBtnFace), c->GetPixels(0, 0));
}

TEST_F(VclutilsTest, TransparentDrawLeavesTheKeyColourOut)
{
    TBitmap src;
    src.SetPixelFormat(pf24bit);
    src.SetSize(2, 1);
    src.GetCanvas()->SetPixels(0, 0, clFuchsia);
    src.GetCanvas()->SetPixels(1, 0, clLime);
    TBitmap dst;
    dst.SetPixelFormat(pf24bit);
    dst.SetSize(4, 2);
    dst.GetCanvas()->GetBrush()->SetColor(clNavy);
    dst.GetCanvas()->FillRect(RECT{0, 0, 4, 2});
    DrawTransparentBitmap(dst.GetCanvas(), RECT{0, 0, 4, 2}, &src, clFuchsia);
    EXPECT_EQ(ColorToRGB(clNavy), dst.GetCanvas()->GetPixels(0, 1));
    EXPECT_EQ(ColorToRGB(clLime), dst.GetCanvas()->GetPixels(3, 1));
    EXPECT_EQ(4, BitmapWidth(dst.GetHandle()));
    EXPECT_EQ(2, BitmapHeight(dst.GetHandle()));
}

TEST_F(VclutilsTest, ShortenStringFitsTheCanvasFont)
{
    TBitmap bmp;
    bmp.SetSize(10, 10);
    TCanvas* c = bmp.GetCanvas();
    AnsiString text = "A rather long caption that will not fit";
    AnsiString out = ShortenString(c, text, 60);
    EXPECT_LE(c->TextWidth(out), 60);
    EXPECT_EQ(AnsiString("..."), out.SubString(out.Length() - 2, 3));
    EXPECT_EQ(text, ShortenString(c, text, 2000));
}

TEST_F(VclutilsTest, ControlCursorsAreInstalled)
{
    InitControlCursors();
    HCURSOR arrow = Screen->GetCursors(crArrow);
    EXPECT_NE(arrow, Screen->GetCursors(crHand));
    EXPECT_NE(arrow, Screen->GetCursors(crDragHand));
}
