// Canvas, pens, brushes and fonts drawing into bitmaps, read back through
// GetDIBits: no display needed.
#include <gtest/gtest.h>
#include <vector>
#include "bitmap.h"
#include "canvas.h"

namespace {

// The bitmap's pixels as 0x00RRGGBB, top row first.
std::vector<unsigned> Pixels(TBitmap& bitmap)
{
    int w = bitmap.GetWidth(), h = bitmap.GetHeight();
    std::vector<unsigned> out(size_t(w) * h);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, bitmap.GetHandle(), 0, UINT(h), out.data(), &bi, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    for (unsigned& p : out) p &= 0xFFFFFF;
    return out;
}

unsigned At(const std::vector<unsigned>& pixels, int width, int x, int y) { return pixels[size_t(y) * width + x]; }

DWORD GdiObjects() { return GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS); }

}  // namespace

TEST(Canvas, NewBitmapIsWhiteDeviceBitmap)
{
    TBitmap bitmap;
    EXPECT_TRUE(bitmap.GetEmpty());
    bitmap.SetSize(5, 4);
    EXPECT_FALSE(bitmap.GetEmpty());
    EXPECT_EQ(bitmap.GetPixelFormat(), pfDevice);
    for (unsigned p : Pixels(bitmap)) EXPECT_EQ(p, 0xFFFFFFu);
}

TEST(Canvas, FillRectLinesAndPixelsLandWhereAsked)
{
    TBitmap bitmap;
    bitmap.SetSize(10, 10);
    TCanvas* c = bitmap.GetCanvas();
    c->GetBrush()->SetColor(clRed);
    c->FillRect(RECT{2, 2, 4, 5});
    c->GetPen()->SetColor(clBlue);
    c->MoveTo(0, 9);
    c->LineTo(10, 9);
    c->SetPixels(7, 1, clLime);
    EXPECT_EQ(c->GetPixels(7, 1), clLime);
    auto px = Pixels(bitmap);
    EXPECT_EQ(At(px, 10, 2, 2), 0xFF0000u);
    EXPECT_EQ(At(px, 10, 3, 4), 0xFF0000u);
    EXPECT_EQ(At(px, 10, 4, 4), 0xFFFFFFu);  // right edge excluded
    EXPECT_EQ(At(px, 10, 5, 9), 0x0000FFu);
    EXPECT_EQ(At(px, 10, 7, 1), 0x00FF00u);
}

TEST(Canvas, ChangedPenIsReselectedAndXorUndoes)
{
    TBitmap bitmap;
    bitmap.SetSize(8, 8);
    TCanvas* c = bitmap.GetCanvas();
    c->GetPen()->SetColor(clRed);
    c->MoveTo(0, 0);
    c->LineTo(8, 0);
    c->GetPen()->SetColor(clGreen);  // while the red pen is selected
    c->MoveTo(0, 1);
    c->LineTo(8, 1);
    c->GetPen()->SetMode(pmXor);
    c->GetPen()->SetColor(clWhite);
    c->MoveTo(0, 2);
    c->LineTo(8, 2);
    c->MoveTo(0, 2);
    c->LineTo(8, 2);
    auto px = Pixels(bitmap);
    EXPECT_EQ(At(px, 8, 3, 0), 0xFF0000u);
    EXPECT_EQ(At(px, 8, 3, 1), 0x008000u);
    EXPECT_EQ(At(px, 8, 3, 2), 0xFFFFFFu);  // xor twice: back to white
}

TEST(Canvas, ClearBrushLeavesTheInsideAndSystemColoursResolve)
{
    TBitmap bitmap;
    bitmap.SetSize(10, 10);
    TCanvas* c = bitmap.GetCanvas();
    c->GetBrush()->SetStyle(bsClear);
    c->Rectangle(0, 0, 10, 10);
    auto px = Pixels(bitmap);
    EXPECT_EQ(At(px, 10, 0, 5), 0u);
    EXPECT_EQ(At(px, 10, 5, 5), 0xFFFFFFu);
    EXPECT_EQ(ColorToRGB(clBtnFace), int(GetSysColor(COLOR_BTNFACE)));
    EXPECT_EQ(ColorToRGB(clRed), 0xFF);
    EXPECT_LT(clBtnFace, 0);
}

TEST(Canvas, ReleasingTheDcRestoresItsObjects)
{
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ pen = GetCurrentObject(dc, OBJ_PEN), brush = GetCurrentObject(dc, OBJ_BRUSH);
    HGDIOBJ font = GetCurrentObject(dc, OBJ_FONT);
    {
        TCanvas canvas;
        canvas.SetHandle(dc);
        canvas.GetPen()->SetColor(clRed);
        canvas.GetBrush()->SetColor(clBlue);
        canvas.Rectangle(0, 0, 1, 1);
        canvas.TextWidth("x");
        EXPECT_NE(GetCurrentObject(dc, OBJ_PEN), pen);
        canvas.SetHandle(nullptr);
        EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), pen);
        EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), brush);
        EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), font);
        EXPECT_THROW(canvas.LineTo(1, 1), EInvalidOperation);
    }
    DeleteDC(dc);
}

TEST(Canvas, TextDrawsInsideItsExtent)
{
    TBitmap bitmap;
    bitmap.SetSize(60, 30);
    TCanvas* c = bitmap.GetCanvas();
    c->GetFont()->SetName("Arial");
    c->GetFont()->SetHeight(-16);
    c->GetFont()->SetQuality(NONANTIALIASED_QUALITY);
    c->GetFont()->SetColor(clBlack);
    SIZE size = c->TextExtent("Wm");
    ASSERT_GT(size.cx, 0);
    ASSERT_LT(size.cx, 50);
    c->TextOut(2, 2, "Wm");
    auto px = Pixels(bitmap);
    int black = 0, outside = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 60; ++x) {
            bool in = x >= 2 && x < 2 + size.cx && y >= 2 && y < 2 + size.cy;
            if (At(px, 60, x, y) == 0) (in ? black : outside)++;
        }
    EXPECT_GT(black, 10);
    EXPECT_EQ(outside, 0);
    c->GetFont()->SetStyle(fsBold);
    EXPECT_GE(c->TextWidth("Wm"), size.cx);
}

TEST(Font, SizeAndHeightFollowEachOtherAndHandleFollowsChanges)
{
    TFont font;
    EXPECT_EQ(font.GetName(), "MS Sans Serif");
    font.SetPixelsPerInch(96);
    font.SetSize(12);
    EXPECT_EQ(font.GetHeight(), -16);
    EXPECT_EQ(font.GetSize(), 12);
    int changes = 0;
    font.OnChange = [&](TObject*) { ++changes; };
    font.GetHandle();
    font.SetStyle(fsBold | fsItalic);
    font.SetStyle(fsBold | fsItalic);  // same: no change
    EXPECT_EQ(changes, 1);
    LOGFONTA lf;
    ASSERT_EQ(GetObjectA(font.GetHandle(), sizeof lf, &lf), int(sizeof lf));
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    EXPECT_TRUE(lf.lfItalic);
    EXPECT_EQ(lf.lfHeight, -16);
}

TEST(Font, SetHandleReadsTheFontAndAssignCopies)
{
    LOGFONTA lf = {};
    lf.lfHeight = -20;
    lf.lfWeight = FW_BOLD;
    lf.lfUnderline = TRUE;
    lf.lfCharSet = ANSI_CHARSET;
    lstrcpyA(lf.lfFaceName, "Courier New");
    TFont font;
    font.SetHandle(CreateFontIndirectA(&lf));
    EXPECT_EQ(font.GetName(), "Courier New");
    EXPECT_EQ(font.GetHeight(), -20);
    EXPECT_EQ(font.GetStyle(), fsBold | fsUnderline);
    EXPECT_EQ(font.GetCharset(), ANSI_CHARSET);
    TFont copy;
    copy.Assign(&font);
    EXPECT_TRUE(copy.SameAs(&font));
    EXPECT_NE(copy.GetHandle(), font.GetHandle());
    EXPECT_THROW(font.SetHandle(nullptr), EInvalidGraphicOperation);
}

TEST(Canvas, ResizeKeepsThePictureAndDrawCopiesIt)
{
    TBitmap a;
    a.SetSize(4, 4);
    a.GetCanvas()->SetPixels(1, 1, clRed);
    a.SetSize(6, 3);
    auto px = Pixels(a);
    EXPECT_EQ(At(px, 6, 1, 1), 0xFF0000u);
    EXPECT_EQ(At(px, 6, 5, 2), 0xFFFFFFu);

    TBitmap b;
    b.SetSize(10, 10);
    b.GetCanvas()->Draw(3, 3, &a);
    b.GetCanvas()->StretchDraw(RECT{0, 0, 2, 2}, nullptr);  // nothing, no crash
    px = Pixels(b);
    EXPECT_EQ(At(px, 10, 4, 4), 0xFF0000u);
    EXPECT_EQ(At(px, 10, 3, 3), 0xFFFFFFu);
}

TEST(Canvas, TransparentBitmapSkipsItsBottomLeftColour)
{
    TBitmap sprite;
    sprite.SetSize(3, 3);
    sprite.GetCanvas()->GetBrush()->SetColor(clLime);
    sprite.GetCanvas()->FillRect(RECT{0, 0, 3, 3});
    sprite.GetCanvas()->SetPixels(1, 1, clBlue);
    sprite.SetTransparent(true);
    EXPECT_EQ(sprite.GetTransparentColor(), clLime);
    TBitmap back;
    back.SetSize(3, 3);
    back.GetCanvas()->Draw(0, 0, &sprite);
    auto px = Pixels(back);
    EXPECT_EQ(At(px, 3, 0, 0), 0xFFFFFFu);
    EXPECT_EQ(At(px, 3, 1, 1), 0x0000FFu);
}

TEST(Canvas, NoGdiObjectsLeak)
{
    DWORD before = GdiObjects();
    for (int i = 0; i < 3; ++i) {
        TBitmap bitmap;
        bitmap.SetSize(20, 20);
        TCanvas* c = bitmap.GetCanvas();
        c->GetPen()->SetColor(clRed);
        c->GetBrush()->SetStyle(bsCross);
        c->GetFont()->SetStyle(fsBold);
        c->Rectangle(0, 0, 10, 10);
        c->TextOut(0, 0, "a");
        c->GetPen()->SetWidth(3);
        c->Ellipse(0, 0, 10, 10);
        bitmap.GetHandle();
        c->LineTo(5, 5);
        bitmap.SetPixelFormat(pf8bit);
        bitmap.GetPalette();
        TBitmap copy;
        copy.Assign(&bitmap);
    }
    EXPECT_EQ(GdiObjects(), before);
}

// GetGuiResources answers 0 under Wine, so the counts above prove nothing
// there: check that the handles themselves are gone.
TEST(Canvas, ToolAndBitmapHandlesAreDeleted)
{
    HGDIOBJ pen, brush, font, bitmap, oldFont;
    HDC dc;
    {
        TBitmap b;
        b.SetSize(8, 8);
        TCanvas* c = b.GetCanvas();
        c->GetPen()->SetColor(clRed);
        c->LineTo(3, 3);
        dc = c->GetHandle();
        oldFont = c->GetFont()->GetHandle();
        c->GetFont()->SetStyle(fsItalic);  // replaces the font while selected
        c->TextOut(0, 0, "x");
        pen = GetCurrentObject(dc, OBJ_PEN);
        brush = GetCurrentObject(dc, OBJ_BRUSH);
        font = GetCurrentObject(dc, OBJ_FONT);
        EXPECT_EQ(pen, c->GetPen()->GetHandle());
        EXPECT_EQ(font, c->GetFont()->GetHandle());
        EXPECT_EQ(GetObjectType(oldFont), 0u);
        bitmap = b.GetHandle();
        EXPECT_EQ(GetObjectType(dc), 0u);  // the memory DC went with the handle
    }
    EXPECT_EQ(GetObjectType(pen), 0u);
    EXPECT_EQ(GetObjectType(brush), 0u);
    EXPECT_EQ(GetObjectType(font), 0u);
    EXPECT_EQ(GetObjectType(bitmap), 0u);
}
