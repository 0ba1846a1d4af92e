// TImageList: adding masked strips and drawing them.
#include <gtest/gtest.h>
#include "bitmap.h"
#include "canvas.h"
#include "imagelist.h"

TEST(ImageList, AddMaskedSplitsAStripAndDrawsTransparently)
{
    TBitmap strip;
    strip.SetSize(16, 8);  // two 8x8 images
    TCanvas* c = strip.GetCanvas();
    c->GetBrush()->SetColor(clFuchsia);
    c->FillRect(RECT{0, 0, 16, 8});
    c->GetBrush()->SetColor(clBlue);
    c->FillRect(RECT{2, 2, 6, 6});
    c->GetBrush()->SetColor(clRed);
    c->FillRect(RECT{10, 2, 14, 6});

    TImageList list(8, 8);
    EXPECT_EQ(list.AddMasked(&strip, clFuchsia), 0);
    EXPECT_EQ(list.GetCount(), 2);

    TBitmap target;
    target.SetSize(8, 8);
    list.Draw(target.GetCanvas(), 0, 0, 1);
    EXPECT_EQ(target.GetCanvas()->GetPixels(4, 4), clRed);
    EXPECT_EQ(target.GetCanvas()->GetPixels(0, 0), clWhite);  // mask colour left out
    EXPECT_THROW(list.Draw(target.GetCanvas(), 0, 0, 2), EInvalidOperation);
    list.Delete(0);
    EXPECT_EQ(list.GetCount(), 1);
    list.SetWidth(16);
    EXPECT_EQ(list.GetCount(), 0);
}
