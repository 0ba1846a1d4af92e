// The image window's small controls: scroll events, the progress strip's
// pixels, the status bar hosting controls, and the file label's caption.
#include "../../gui/win32/form_fixture.h"
#include "scroll_box_with_events.h"
#include "file_name_label.h"
#include "forms.h"
#include "status_bar_host.h"
#include "strip_progress.h"

#include <commctrl.h>

namespace {

using SmallCtlsTest = FormTest;

std::vector<uint32_t> RenderStrip(TStripProgress* bar)
{
    gui::TDibDC dc(bar->GetWidth(), bar->GetHeight());
    bar->PaintTo(dc.Get());
    return dc.Pixels().Data;
}

}  // namespace

TEST_F(SmallCtlsTest, ScrollBoxReportsEachBarAfterItMoved)
{
    auto* box = New<TEventScrollBox>(form, form, 0, 0, 200, 150);
    box->SetAutoScroll(false);
    box->GetHorzScrollBar()->SetRange(1000);
    box->GetVertScrollBar()->SetRange(1000);
    Show();
    int horz = 0;
    int vert = 0;
    int seenPos = -1;
    box->OnScrollHorz = [&](TObject*) {
        ++horz;
        seenPos = box->GetHorzScrollBar()->GetPosition();
    };
    box->OnScrollVert = [&](TObject*) { ++vert; };
    SendMessageA(box->GetHandle(), WM_HSCROLL, SB_LINERIGHT, 0);
    EXPECT_EQ(1, horz);
    EXPECT_EQ(0, vert);
    EXPECT_EQ(box->GetHorzScrollBar()->GetIncrement(), seenPos);
    SendMessageA(box->GetHandle(), WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_EQ(1, horz);
    EXPECT_EQ(1, vert);
    EXPECT_GT(box->GetVertScrollBar()->GetPosition(), 0);
}

TEST_F(SmallCtlsTest, StripShowsCaptionPercentAndFill)
{
    auto* bar = new TStripProgress(form);
    bar->SetParent(form);
    bar->SetColor(clWhite);
    bar->SetProgressColor(0x808080);
    bar->SetCaption("Processing...");
    bar->SetPosition(37);
    EXPECT_EQ(37, bar->GetPercent());
    EXPECT_EQ(55, bar->GetFillWidth());
    std::vector<uint32_t> px = RenderStrip(bar);
    int w = bar->GetWidth();
    EXPECT_EQ(150, w);
    EXPECT_EQ(17, bar->GetHeight());
    // Row 1 is grey up to column 54 where the text leaves it uncovered;
    // below the text the fill ends exactly at 55.
    int grey = 0;
    for (int x = 1; x < 55; ++x) grey += px[1 * w + x] == 0x808080;
    EXPECT_GT(grey, 40);
    EXPECT_NE(0x808080u, px[1 * w + 60]);
    EXPECT_EQ(0x808080u, px[13 * w + 54]);
    EXPECT_EQ(0xFFFFFFu, px[13 * w + 55]);
}

TEST_F(SmallCtlsTest, StripWithZeroMaxShowsZeroPercent)
{
    auto* bar = new TStripProgress(form);
    bar->SetParent(form);
    bar->SetPosition(50);
    bar->SetMax(0);
    EXPECT_EQ(0, bar->GetPercent());
    EXPECT_EQ(0, bar->GetFillWidth());
    Show();  // paints without dividing by zero
    bar->SetMax(100);
    bar->SetPosition(400);
    EXPECT_EQ(100, bar->GetPercent());
    EXPECT_EQ(149, bar->GetFillWidth());
}

TEST_F(SmallCtlsTest, StatusBarHostsControlsAbovePanels)
{
    auto* bar = new TFriendlyStatusBar(form);
    bar->SetParent(form);
    for (int w : {44, 72, 110, 50}) bar->GetPanels()->Add()->SetWidth(w);
    bar->GetPanels()->GetItems(1)->SetAlignment(taCenter);
    bar->GetPanels()->GetItems(0)->SetText("WWWWWWWWWWWW");
    auto* strip = New<TStripProgress>(form, bar, 0, 2, 120, 15);
    strip->SetColor(0x00FF00);
    strip->SetProgressColor(0x00FF00);
    Show();
    EXPECT_EQ(bar->GetHandle(), GetParent(strip->GetHandle()));
    EXPECT_NE(0, GetWindowLongA(bar->GetHandle(), GWL_STYLE) & WS_CLIPCHILDREN);
    bar->GetPanels()->GetItems(0)->SetText("WWWWWWWWWWWWWW");
    gui::PumpUntilIdle();
    gui::TPixels px = gui::ReadPixels(bar->GetHandle());
    // The strip's own green covers the first panel's text; its own "0%"
    // caption sits at its left end, so look to the right of it.
    for (int x = 25; x < 40; ++x) EXPECT_EQ(0x00FF00u, px.At(x, 8)) << x;
    char text[64] = {};
    SendMessageA(bar->GetHandle(), SB_GETTEXTA, 1, reinterpret_cast<LPARAM>(text));
    bar->GetPanels()->GetItems(1)->SetText("100%");
    SendMessageA(bar->GetHandle(), SB_GETTEXTA, 1, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ("\t100%", text);
}

TEST_F(SmallCtlsTest, FileLabelShortensToItsWidth)
{
    auto* label = new TFileLabel(form);
    label->SetParent(form);
    EXPECT_FALSE(label->GetAutoSize());
    EXPECT_FALSE(label->GetWordWrap());
    label->SetWidth(2000);
    label->SetFileName("C:\\Pics\\Holiday\\1998\\beach.bmp");
    EXPECT_STREQ("C:\\Pics\\Holiday\\1998\\beach.bmp", label->GetCaption().c_str());
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, label->GetFont()->GetHandle());
    SIZE s = {0, 0};
    GetTextExtentPoint32A(dc, "C:\\...\\1998\\beach.bmp", 21, &s);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    label->SetWidth(s.cx + 1);  // resizing recomputes
    EXPECT_STREQ("C:\\...\\1998\\beach.bmp", label->GetCaption().c_str());
    label->SetDirection(drFromRight);
    EXPECT_STREQ("C:\\Pics\\...\\beach.bmp", label->GetCaption().c_str());
    label->SetWidth(5);
    EXPECT_STREQ("beach.bmp", label->GetCaption().c_str());
}
