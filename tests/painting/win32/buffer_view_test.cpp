// The view in a window (under the test display): what it paints, when it
// paints, and what it leaves alone.
#include <gtest/gtest.h>
#include <memory>
#include "forms.h"
#include "buffer_view.h"
#include "gdi_recorder.h"
#include "render_fixture.h"
#include "window_capture.h"

namespace {

const COLORREF Magenta = RGB(255, 0, 255);
const unsigned long MagentaPixel = 0xFF00FF;

// A borderless form with one view filling a known client area.
class ViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(nullptr, getenv("DISPLAY")) << "GUI tests need the test display";
        pic.Alloc(Pair<int>{37, 23});
        FillPositions(pic);
        form.reset(new TForm(nullptr));
        form->SetBorderStyle(bsNone);
        form->SetBounds(10, 10, 200, 150);
        view = new TBuffer(form.get());
        view->SetParent(form.get());
        view->SetBounds(0, 0, 120, 90);
        form->Show();
        Settle();
    }
    void TearDown() override { form.reset(); }

    HWND Handle() { return view->GetHandle(); }
    // Paints whatever is invalid now, as the message loop would.
    void Settle()
    {
        UpdateWindow(form->GetHandle());
        UpdateWindow(Handle());
    }
    bool PaintPending()
    {
        RECT r;
        return GetUpdateRect(Handle(), &r, FALSE) != 0;
    }
    // Repaints all of the view over a smeared screen.
    Capture Repaint()
    {
        Smear(Handle(), Magenta);
        InvalidateRect(Handle(), nullptr, FALSE);
        UpdateWindow(Handle());
        return CaptureClient(Handle());
    }

    Buffer pic;
    std::unique_ptr<TForm> form;
    TBuffer* view = nullptr;
};

}  // namespace

TEST_F(ViewTest, StartsWithTheDocumentedDefaults)
{
    EXPECT_EQ(nullptr, view->GetBuffer());
    EXPECT_EQ(1u, view->GetZoom());
    EXPECT_TRUE(view->GetRefresh());
    EXPECT_FALSE(view->GetICM());
    EXPECT_TRUE(view->GetUseGlobalICM());
    EXPECT_FALSE(view->GetGammaCorr());
    EXPECT_TRUE(view->GetUseGlobalGammaCorr());
    EXPECT_EQ(0x23333u, view->GetGammaRed());
    EXPECT_EQ(0x23333u, view->GetGammaBlue());
    EXPECT_EQ(40u, view->GetHeader().bV4Size);
    EXPECT_EQ(32, view->GetHeader().bV4BitCount);
    EXPECT_EQ(1, view->GetHeader().bV4Planes);
    EXPECT_EQ(0x28F5C28F, TBuffer::ciexyzRed.ciexyzX);
    EXPECT_EQ(0x328F5C29, TBuffer::ciexyzBlue.ciexyzZ);
    EXPECT_EQ(0u, TBuffer::StretchPatch);
}

TEST_F(ViewTest, NoBufferShowsABlackPanelWithAWhiteCross)
{
    view->SetBounds(0, 0, 60, 60);
    Capture c = Repaint();
    ASSERT_EQ(60, c.width);
    const unsigned long W = 0xFFFFFF;
    for (int k = 0; k < 60; k++) {
        EXPECT_EQ(W, c.At(k, 0)) << k;
        EXPECT_EQ(W, c.At(k, 59)) << k;
        EXPECT_EQ(W, c.At(0, k)) << k;
        EXPECT_EQ(W, c.At(59, k)) << k;
        EXPECT_EQ(W, c.At(k, k)) << k;
        EXPECT_EQ(W, c.At(59 - k, k)) << k;
    }
    EXPECT_EQ(0u, c.At(20, 10));
    EXPECT_EQ(0u, c.At(10, 30));
    EXPECT_EQ(0u, c.At(50, 30));
}

TEST_F(ViewTest, ShowsThePictureAtEveryZoom)
{
    view->SetBuffer(&pic);
    for (int n : {1, 2, 3}) {
        view->SetZoom(static_cast<unsigned long>(n));
        ExpectNearest(Repaint(), pic, n);
    }
    for (unsigned long code : {0x20001ul, 0x40003ul, 0x30002ul}) {
        view->SetZoom(code);
        ExpectBlocks(Repaint(), pic, ZoomFactors(code));
    }
}

TEST_F(ViewTest, ZeroNumeratorPaintsAsOne)
{
    view->SetBuffer(&pic);
    view->SetZoom(0x20000);  // 0/2
    EXPECT_EQ(0u, view->GetZoom());
    ExpectNearest(Repaint(), pic, 1);
}

TEST_F(ViewTest, InvalidatingARectangleRepaintsOnlyIt)
{
    view->SetBuffer(&pic);
    view->SetZoom(2);
    Settle();
    Smear(Handle(), Magenta);
    RECT r{11, 7, 40, 30};
    GdiRecorder rec;
    InvalidateRect(Handle(), &r, FALSE);
    UpdateWindow(Handle());
    Capture c = CaptureClient(Handle());
    int painted = 0;
    for (int y = 0; y < c.height; y++)
        for (int x = 0; x < c.width; x++) {
            POINT p{x, y};
            if (PtInRect(&r, p)) {
                ASSERT_EQ(PositionColour(x / 2, y / 2), c.At(x, y)) << x << "," << y;
                painted++;
            } else {
                ASSERT_EQ(MagentaPixel, c.At(x, y)) << x << "," << y;
            }
        }
    EXPECT_EQ(29 * 23, painted);
    ASSERT_EQ(1u, rec.calls.size());
    EXPECT_EQ(10, rec.calls[0].dstX);  // whole 2×2 blocks, clipped by the paint DC
    EXPECT_EQ(6, rec.calls[0].dstY);
}

TEST_F(ViewTest, ElevenInvalidRectanglesAreDrawnAsOne)
{
    view->SetBuffer(&pic);
    Settle();
    for (int count : {10, 11}) {
        GdiRecorder rec;
        for (int i = 0; i < count; i++) {
            RECT r{i, 2 * i, i + 5, 2 * i + 1};
            InvalidateRect(Handle(), &r, FALSE);
        }
        UpdateWindow(Handle());
        EXPECT_EQ(count == 11 ? 1u : 10u, rec.calls.size()) << count << " rectangles";
    }
}

TEST_F(ViewTest, RefreshOffDrawsNothingAndValidates)
{
    view->SetBuffer(&pic);
    Settle();
    int paints = 0;
    view->OnPaint = [&](TObject*) { paints++; };
    view->SetRefresh(false);
    Smear(Handle(), Magenta);
    GdiRecorder rec;
    InvalidateRect(Handle(), nullptr, FALSE);
    UpdateWindow(Handle());
    EXPECT_FALSE(PaintPending());
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, Handle(), WM_PAINT, WM_PAINT, PM_NOREMOVE));
    EXPECT_EQ(0, paints);
    EXPECT_TRUE(rec.calls.empty());
    Capture c = CaptureClient(Handle());
    EXPECT_EQ(MagentaPixel, c.At(0, 0));
    EXPECT_EQ(MagentaPixel, c.At(60, 40));
}

TEST_F(ViewTest, SettingTheSameZoomOrBufferDoesNotRepaint)
{
    view->SetBuffer(&pic);
    view->SetZoom(0x40002);
    EXPECT_EQ(0x20001u, view->GetZoom());
    Settle();
    ASSERT_FALSE(PaintPending());
    view->SetZoom(0x20001);
    EXPECT_FALSE(PaintPending());
    view->SetZoom(0x60003);  // 3/6 is the same 1/2
    EXPECT_FALSE(PaintPending());
    view->SetBuffer(&pic);
    EXPECT_FALSE(PaintPending());
    view->SetZoom(0x10003);
    EXPECT_EQ(3u, view->GetZoom());
    EXPECT_TRUE(PaintPending());
    Settle();
    Buffer other;
    view->SetBuffer(&other);
    EXPECT_TRUE(PaintPending());
}

TEST_F(ViewTest, OnPaintDrawsOverTheImageWithTheCanvas)
{
    view->SetBuffer(&pic);
    int paints = 0;
    view->OnPaint = [&](TObject* sender) {
        EXPECT_EQ(view, sender);
        paints++;
        view->GetCanvas()->SetPixels(5, 5, 0x0000FF);  // red
    };
    Capture c = Repaint();
    EXPECT_EQ(1, paints);
    EXPECT_EQ(0xFF0000u, c.At(5, 5));
    EXPECT_EQ(PositionColour(6, 5), c.At(6, 5));
}

TEST_F(ViewTest, GammaHeaderOnlyWithColourManagementAndGamma)
{
    view->SetBuffer(&pic);
    Settle();
    struct Restore {
        ~Restore() { TBuffer::GlobalICM = TBuffer::GlobalGammaCorr = false; }
    } restore;
    for (int icm = 0; icm < 2; icm++)
        for (int gamma = 0; gamma < 2; gamma++) {
            TBuffer::GlobalICM = icm;
            TBuffer::GlobalGammaCorr = gamma;
            GdiRecorder rec;
            InvalidateRect(Handle(), nullptr, FALSE);
            UpdateWindow(Handle());
            ASSERT_FALSE(rec.calls.empty());
            EXPECT_EQ(icm && gamma ? 108u : 40u, rec.calls[0].header.bV4Size) << icm << gamma;
            ASSERT_EQ(1u, rec.icmModes.size());
            EXPECT_EQ(icm ? ICM_ON : ICM_OFF, rec.icmModes[0]);
            if (icm && gamma) {
                EXPECT_EQ(0x23333u, rec.calls[0].header.bV4GammaRed);
                EXPECT_EQ(0x151EB852, rec.calls[0].header.bV4Endpoints.ciexyzRed.ciexyzY);
            }
        }
}

TEST_F(ViewTest, OwnGammaValuesWhenNotUsingTheGlobalOnes)
{
    view->SetBuffer(&pic);
    view->SetUseGlobalICM(false);
    view->SetICM(true);
    view->SetUseGlobalGammaCorr(false);
    view->SetGammaCorr(true);
    view->SetGammaGreen(0x18000);
    Settle();
    GdiRecorder rec;
    InvalidateRect(Handle(), nullptr, FALSE);
    UpdateWindow(Handle());
    ASSERT_FALSE(rec.calls.empty());
    EXPECT_EQ(108u, rec.calls[0].header.bV4Size);
    EXPECT_EQ(0x18000u, rec.calls[0].header.bV4GammaGreen);
    EXPECT_EQ(0x23333u, rec.calls[0].header.bV4GammaRed);
}

TEST_F(ViewTest, StretchPatchRedrawsTheVisiblePartWhenZoomed)
{
    view->SetBuffer(&pic);
    view->SetZoom(2);
    view->SetBounds(-30, 0, 120, 90);  // the form cuts off the left 30 pixels
    Settle();
    struct Restore {
        ~Restore() { TBuffer::StretchPatch = 0; }
    } restore;
    TBuffer::StretchPatch = 1;
    GdiRecorder rec;
    RECT r{50, 10, 52, 12};
    InvalidateRect(Handle(), &r, FALSE);
    UpdateWindow(Handle());
    ASSERT_EQ(1u, rec.calls.size());
    EXPECT_EQ(30, rec.calls[0].dstX);
    EXPECT_EQ(0, rec.calls[0].dstY);
    EXPECT_EQ(74 - 30, rec.calls[0].dstW);  // the picture ends at 74
}

TEST_F(ViewTest, MouseEnterAndLeaveFireTheirEvents)
{
    int entered = 0, left = 0;
    view->OnMouseEnter = [&](TObject*) { entered++; };
    view->OnMouseLeave = [&](TObject*) { left++; };
    view->Perform(CM_MOUSEENTER);
    view->Perform(CM_MOUSELEAVE);
    EXPECT_EQ(1, entered);
    EXPECT_EQ(1, left);
}

TEST_F(ViewTest, EraseBackgroundLeavesThePixels)
{
    view->SetBuffer(&pic);
    Settle();
    Smear(Handle(), Magenta);
    HDC dc = GetDC(Handle());
    EXPECT_NE(0, SendMessageA(Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0));
    ReleaseDC(Handle(), dc);
    EXPECT_EQ(MagentaPixel, CaptureClient(Handle()).At(3, 3));
}

TEST_F(ViewTest, PaintingLeaksNoGdiObjects)
{
    view->SetBuffer(&pic);
    Repaint();
    int before = LiveGdiObjects();
    ASSERT_GT(before, 0);
    for (unsigned long code : {1ul, 2ul, 0x30002ul, 0x20001ul}) {
        view->SetZoom(code);
        for (int i = 0; i < 5; i++)
            Repaint();
    }
    view->SetBuffer(nullptr);
    Repaint();
    EXPECT_EQ(before, LiveGdiObjects());
}

TEST_F(ViewTest, AViewLargerThanThePictureIsBlackBeyondIt)
{
    Buffer tiny;
    tiny.Alloc(Pair<int>{5, 4});
    FillPositions(tiny);
    view->SetBuffer(&tiny);
    view->SetZoom(0x30002);  // 2/3: the picture covers 4×3 screen pixels
    Capture c = Repaint();
    ExpectBlocks(c, tiny, ViewZoom{2, 3});
    EXPECT_EQ(0u, c.At(119, 89));
}
