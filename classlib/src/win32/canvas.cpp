// TCanvas: binding to a device context and drawing with its tools.
#include "canvas.h"
#include "graphic.h"

TCanvas::TCanvas() : pen_(new TPen), brush_(new TBrush), font_(new TFont)
{
    // A tool about to change must leave the DC first: a selected GDI object
    // cannot be deleted.
    pen_->SetChangingHook([this] {
        if (dc_ && (selected_ & PenValid)) SelectObject(dc_, GetStockObject(BLACK_PEN));
        selected_ &= ~unsigned(PenValid);
    });
    brush_->SetChangingHook([this] {
        if (dc_ && (selected_ & BrushValid)) SelectObject(dc_, GetStockObject(WHITE_BRUSH));
        selected_ &= ~unsigned(BrushValid);
    });
    font_->SetChangingHook([this] {
        if (dc_ && (selected_ & FontValid)) SelectObject(dc_, GetStockObject(SYSTEM_FONT));
        selected_ &= ~unsigned(FontValid);
    });
}

TCanvas::~TCanvas()
{
    SetHandle(nullptr);
}

HDC TCanvas::GetHandle()
{
    if (!dc_) CreateHandle();
    return dc_;
}

void TCanvas::SetHandle(HDC dc)
{
    if (dc == dc_) return;
    // RestoreDC puts back the objects selected before we took the DC.
    if (dc_ && savedState_) RestoreDC(dc_, savedState_);
    selected_ = 0;
    dc_ = dc;
    savedState_ = dc ? SaveDC(dc) : 0;
}

HDC TCanvas::Require(unsigned need)
{
    HDC dc = GetHandle();
    if (!dc) throw EInvalidOperation("Canvas does not allow drawing");
    unsigned missing = need & ~selected_;
    if (missing & PenValid) {
        SelectObject(dc, pen_->GetHandle());
        SetROP2(dc, pen_->GetRop2());
    }
    if (missing & BrushValid) {
        SelectObject(dc, brush_->GetHandle());
        SetBrushOrgEx(dc, 0, 0, nullptr);
    }
    if (missing & FontValid) {
        SelectObject(dc, font_->GetHandle());
        SetTextColor(dc, COLORREF(ColorToRGB(font_->GetColor())));
    }
    // Text and hatch backgrounds follow the brush.
    if (missing & (BrushValid | FontValid)) {
        if (brush_->GetStyle() == bsClear) {
            SetBkMode(dc, TRANSPARENT);
        } else {
            SetBkMode(dc, OPAQUE);
            SetBkColor(dc, COLORREF(ColorToRGB(brush_->GetColor())));
        }
    }
    selected_ |= missing;
    return dc;
}

void TCanvas::Changing()
{
    if (OnChanging) OnChanging(this);
}

void TCanvas::Changed()
{
    if (OnChange) OnChange(this);
}

POINT TCanvas::GetPenPos()
{
    POINT p = {0, 0};
    GetCurrentPositionEx(Require(0), &p);
    return p;
}

void TCanvas::MoveTo(int x, int y)
{
    MoveToEx(Require(0), x, y, nullptr);
}

void TCanvas::LineTo(int x, int y)
{
    HDC dc = Require(PenValid);
    Changing();
    ::LineTo(dc, x, y);
    Changed();
}

void TCanvas::Polyline(const POINT* points, int count)
{
    if (!points || count < 2) return;
    HDC dc = Require(PenValid);
    Changing();
    ::Polyline(dc, points, count);
    Changed();
}

void TCanvas::Polygon(const POINT* points, int count)
{
    if (!points || count < 2) return;
    HDC dc = Require(PenValid | BrushValid);
    Changing();
    ::Polygon(dc, points, count);
    Changed();
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2)
{
    HDC dc = Require(PenValid | BrushValid);
    Changing();
    ::Rectangle(dc, x1, y1, x2, y2);
    Changed();
}

void TCanvas::RoundRect(int x1, int y1, int x2, int y2, int cornerWidth, int cornerHeight)
{
    HDC dc = Require(PenValid | BrushValid);
    Changing();
    ::RoundRect(dc, x1, y1, x2, y2, cornerWidth, cornerHeight);
    Changed();
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2)
{
    HDC dc = Require(PenValid | BrushValid);
    Changing();
    ::Ellipse(dc, x1, y1, x2, y2);
    Changed();
}

void TCanvas::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    HDC dc = Require(PenValid);
    Changing();
    ::Arc(dc, x1, y1, x2, y2, x3, y3, x4, y4);
    Changed();
}

void TCanvas::Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    HDC dc = Require(PenValid | BrushValid);
    Changing();
    ::Pie(dc, x1, y1, x2, y2, x3, y3, x4, y4);
    Changed();
}

void TCanvas::FillRect(const RECT& r)
{
    HDC dc = Require(BrushValid);
    Changing();
    ::FillRect(dc, &r, brush_->GetHandle());
    Changed();
}

void TCanvas::FrameRect(const RECT& r)
{
    HDC dc = Require(BrushValid);
    Changing();
    ::FrameRect(dc, &r, brush_->GetHandle());
    Changed();
}

void TCanvas::DrawFocusRect(const RECT& r)
{
    HDC dc = Require(BrushValid);
    Changing();
    ::DrawFocusRect(dc, &r);
    Changed();
}

void TCanvas::FloodFill(int x, int y, TColor color, bool surface)
{
    HDC dc = Require(BrushValid);
    Changing();
    ExtFloodFill(dc, x, y, COLORREF(ColorToRGB(color)), surface ? FLOODFILLSURFACE : FLOODFILLBORDER);
    Changed();
}

void TCanvas::TextOut(int x, int y, const AnsiString& text)
{
    HDC dc = Require(FontValid | BrushValid);
    Changing();
    ExtTextOutA(dc, x, y, 0, nullptr, text.c_str(), UINT(text.Length()), nullptr);
    Changed();
}

void TCanvas::TextRect(const RECT& r, int x, int y, const AnsiString& text)
{
    HDC dc = Require(FontValid | BrushValid);
    Changing();
    UINT options = ETO_CLIPPED;
    if (brush_->GetStyle() != bsClear) options |= ETO_OPAQUE;
    ExtTextOutA(dc, x, y, options, &r, text.c_str(), UINT(text.Length()), nullptr);
    Changed();
}

SIZE TCanvas::TextExtent(const AnsiString& text)
{
    SIZE size = {0, 0};
    GetTextExtentPoint32A(Require(FontValid), text.c_str(), text.Length(), &size);
    return size;
}

void TCanvas::Draw(int x, int y, TGraphic* graphic)
{
    if (!graphic || graphic->GetEmpty()) return;
    RECT r = {x, y, x + graphic->GetWidth(), y + graphic->GetHeight()};
    StretchDraw(r, graphic);
}

void TCanvas::StretchDraw(const RECT& r, TGraphic* graphic)
{
    if (!graphic || graphic->GetEmpty()) return;
    Require(0);
    Changing();
    graphic->Draw(this, r);
    Changed();
}

void TCanvas::CopyRect(const RECT& dest, TCanvas* source, const RECT& sourceRect)
{
    if (!source) return;
    HDC from = source->Require(0);
    HDC dc = Require(BrushValid);  // pattern ROPs use the brush
    Changing();
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, from, sourceRect.left,
               sourceRect.top, sourceRect.right - sourceRect.left, sourceRect.bottom - sourceRect.top, copyMode_);
    Changed();
}

TColor TCanvas::GetPixels(int x, int y)
{
    COLORREF c = GetPixel(Require(0), x, y);
    return c == CLR_INVALID ? clNone : TColor(c);
}

void TCanvas::SetPixels(int x, int y, TColor color)
{
    HDC dc = Require(0);
    Changing();
    SetPixelV(dc, x, y, COLORREF(ColorToRGB(color)));
    Changed();
}

RECT TCanvas::GetClipRect()
{
    RECT r = {0, 0, 0, 0};
    GetClipBox(Require(0), &r);
    return r;
}
