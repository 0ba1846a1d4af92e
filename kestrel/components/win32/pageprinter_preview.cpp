// TPagePrinter: the preview, a zoomed sheet with its shadow on a gradient,
// and the scroll ranges around it.
#include "pageprinter.h"

#include <algorithm>
#include <cmath>
#include "pageprinter_page.h"
#include "screen.h"

namespace {

int ScreenPpi()
{
    return Screen ? Screen->GetPixelsPerInch() : 96;
}

TColor Blend(TColor to, int band, int n)
{
    if (n <= 0) return to;
    int r = GetRValue(to) * band / n, g = GetGValue(to) * band / n, b = GetBValue(to) * band / n;
    return static_cast<TColor>(RGB(r, g, b));
}

}  // namespace

int TPagePrinter::Zoomed(double inches, int screenPpi)
{
    return static_cast<int>(std::lround(inches * screenPpi * zoomPercent_ * 0.01));
}

SIZE TPagePrinter::ZoomedSheet()
{
    PrinterSheet s = Sheet();
    int ppi = ScreenPpi();
    return SIZE{Zoomed(double(s.width) / s.ppiX, ppi), Zoomed(double(s.height) / s.ppiY, ppi)};
}

void TPagePrinter::PaintPreview(TObject*)
{
    TCanvas* c = paintBox_->GetCanvas();
    int w = paintBox_->GetWidth(), h = paintBox_->GetHeight();
    TColor colour = ColorToRGB(GetColor());
    c->GetPen()->SetStyle(psClear);
    c->GetBrush()->SetStyle(bsSolid);
    if (gradientBackground_) {
        for (int band = 0; band < h; band++) {
            c->GetBrush()->SetColor(Blend(colour, band, h - 1));
            c->FillRect(RECT{0, band, w, band + 1});
        }
    } else {
        c->GetBrush()->SetColor(colour);
        c->FillRect(RECT{0, 0, w, h});
    }
    SIZE sheet = ZoomedSheet();
    int left = (w - sheet.cx) / 2, top = (h - sheet.cy) / 2;
    if (shadowOffset_ > 0) {
        c->GetBrush()->SetColor(shadowColor_);
        c->FillRect(RECT{left + sheet.cx, top + shadowOffset_, left + sheet.cx + shadowOffset_,
                         top + sheet.cy + shadowOffset_});
        c->FillRect(RECT{left + shadowOffset_, top + sheet.cy, left + sheet.cx + shadowOffset_,
                         top + sheet.cy + shadowOffset_});
    }
    c->GetPen()->SetStyle(psSolid);
    c->GetPen()->SetColor(clBlack);
    c->GetPen()->SetWidth(1);
    c->GetBrush()->SetColor(clWhite);
    c->Rectangle(left, top, left + sheet.cx, top + sheet.cy);
    PrinterSheet s = Sheet();
    int ppi = ScreenPpi();
    if (pageNumber_ >= 1 && pageNumber_ <= GetPageCount()) {
        PageRecording* page = pages_[pageNumber_ - 1].get();
        int mx = Zoomed(double(s.offsetX) / s.ppiX, ppi), my = Zoomed(double(s.offsetY) / s.ppiY, ppi);
        int pw = Zoomed(double(page->Width()) / s.ppiX, ppi), ph = Zoomed(double(page->Height()) / s.ppiY, ppi);
        page->Play(c->GetHandle(), RECT{left + mx + 1, top + my + 1, left + mx + pw + 1, top + my + ph + 1});
    }
    if (showMargins_) {
        c->GetPen()->SetStyle(psDot);
        c->GetPen()->SetColor(clSilver);
        c->GetBrush()->SetStyle(bsClear);
        c->Rectangle(left + Zoomed(ToInches(marginLeft_, unit_), ppi), top + Zoomed(ToInches(marginTop_, unit_), ppi),
                     left + sheet.cx - Zoomed(ToInches(marginRight_, unit_), ppi),
                     top + sheet.cy - Zoomed(ToInches(marginBottom_, unit_), ppi));
    }
}

void TPagePrinter::Resize()
{
    TScrollBox::Resize();
    if (!constructing_) UpdateScrollRanges();
}

void TPagePrinter::CreateWnd()
{
    TScrollBox::CreateWnd();
    if (!constructing_) UpdateScrollRanges();
}

void TPagePrinter::UpdateScrollRanges()
{
    if (updatingRanges_) return;
    updatingRanges_ = true;
    SIZE sheet = ZoomedSheet();
    int rangeX = sheet.cx + 2 * shadowOffset_ + 2, rangeY = sheet.cy + 2 * shadowOffset_ + 2;
    TControlScrollBar* horz = GetHorzScrollBar();
    TControlScrollBar* vert = GetVertScrollBar();
    horz->SetPosition(0);
    vert->SetPosition(0);
    int clientW = GetClientWidth(), clientH = GetClientHeight();
    // The paint box holds the whole range; scrolling moves it.
    paintBox_->SetBounds(0, 0, std::max(rangeX, clientW), std::max(rangeY, clientH));
    horz->SetRange(rangeX);
    vert->SetRange(rangeY);
    clientW = GetClientWidth();
    clientH = GetClientHeight();
    if (zoomLocation_ != zlTopLeft) horz->SetPosition((rangeX - clientW) / 2);
    if (zoomLocation_ == zlCenter) vert->SetPosition((rangeY - clientH) / 2);
    updatingRanges_ = false;
}

void TPagePrinter::PreviewChanged()
{
    if (constructing_) return;
    UpdateScrollRanges();
    paintBox_->Invalidate();
}
