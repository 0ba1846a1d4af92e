// Clipboard round trips (need a window station: run under Xvfb).
#include <gtest/gtest.h>
#include <string.h>
#include "bitmap.h"
#include "canvas.h"
#include "clipboard.h"

TEST(Clipboard, TextRoundTrips)
{
    Clipboard()->SetAsText("Kestrel clipboard");
    EXPECT_TRUE(Clipboard()->HasFormat(CF_TEXT));
    EXPECT_EQ(Clipboard()->GetAsText(), "Kestrel clipboard");
}

TEST(Clipboard, BitmapRoundTripsAsDib)
{
    TBitmap a;
    a.SetPixelFormat(pf24bit);
    a.SetSize(5, 3);
    a.GetCanvas()->SetPixels(1, 2, clRed);
    a.GetCanvas()->SetPixels(4, 0, clBlue);
    Clipboard()->SetBitmap(&a);
    EXPECT_TRUE(Clipboard()->HasFormat(CF_DIB));
    EXPECT_FALSE(Clipboard()->HasFormat(CF_TEXT));  // the bitmap replaced the text
    TBitmap b;
    Clipboard()->GetBitmap(&b);
    EXPECT_EQ(b.GetWidth(), 5);
    EXPECT_EQ(b.GetHeight(), 3);
    EXPECT_EQ(b.GetCanvas()->GetPixels(1, 2), clRed);
    EXPECT_EQ(b.GetCanvas()->GetPixels(4, 0), clBlue);
    EXPECT_EQ(b.GetCanvas()->GetPixels(0, 0), clWhite);
}

TEST(Clipboard, SeveralFormatsInOneSessionAndRawHandles)
{
    // A 1x1 32-bit DIB whose fourth byte must survive.
    struct {
        BITMAPINFOHEADER h;
        DWORD pixel;
    } dib = {};
    dib.h.biSize = sizeof dib.h;
    dib.h.biWidth = dib.h.biHeight = 1;
    dib.h.biPlanes = 1;
    dib.h.biBitCount = 32;
    dib.pixel = 0x80112233;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, sizeof dib);
    memcpy(GlobalLock(block), &dib, sizeof dib);
    GlobalUnlock(block);

    Clipboard()->Open();
    Clipboard()->SetAsHandle(CF_DIB, block);
    Clipboard()->SetAsText("both");
    Clipboard()->Close();
    EXPECT_TRUE(Clipboard()->HasFormat(CF_DIB));
    EXPECT_EQ(Clipboard()->GetAsText(), "both");

    Clipboard()->Open();
    HANDLE got = Clipboard()->GetAsHandle(CF_DIB);
    ASSERT_NE(got, nullptr);
    const DWORD* pixel = reinterpret_cast<const DWORD*>(static_cast<const char*>(GlobalLock(got)) + sizeof(BITMAPINFOHEADER));
    EXPECT_EQ(*pixel, 0x80112233u);
    GlobalUnlock(got);
    Clipboard()->Close();

    Clipboard()->Clear();
    EXPECT_FALSE(Clipboard()->HasFormat(CF_DIB));
    TBitmap none;
    EXPECT_THROW(Clipboard()->GetBitmap(&none), EInvalidGraphic);
}
