#include "strip_progress.h"

#include <algorithm>

#include "strip_progress_model.h"

TStripProgress::TStripProgress(TComponent* AOwner) : TCustomControl(AOwner)
{
    // Every pixel is painted from the bitmap: no background erase.
    SetControlStyle(GetControlStyle() | csOpaque);
    width_ = 150;
    height_ = 17;
    Recalc();
}

bool TStripProgress::Recalc()
{
    int percent = StripPercent(position_, max_);
    int fill = StripFillWidth(position_, max_, width_);
    bool changed = percent != percent_ || fill != fill_;
    percent_ = percent;
    fill_ = fill;
    return changed;
}

void TStripProgress::SetMax(int Value)
{
    if (Value == max_) return;
    max_ = Value;
    if (Recalc()) Invalidate();
}

void TStripProgress::SetPosition(int Value)
{
    if (Value == position_) return;
    position_ = Value;
    if (Recalc()) Repaint();
}

void TStripProgress::SetProgressColor(TColor Value)
{
    progressColor_ = Value;
    Repaint();
}

void TStripProgress::SetText(const AnsiString& Value)
{
    TCustomControl::SetText(Value);
    Repaint();
}

void TStripProgress::Resize()
{
    Recalc();
    Invalidate();
    TCustomControl::Resize();
}

void TStripProgress::WndProc(TMessage& Message)
{
    if (Message.Msg == WM_ERASEBKGND) {
        Message.Result = 1;
        return;
    }
    TCustomControl::WndProc(Message);
}

namespace {

void Line(HDC dc, TColor color, int x1, int y1, int x2, int y2)
{
    HPEN pen = CreatePen(PS_SOLID, 1, ColorToRGB(color));
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
    SelectObject(dc, old);
    DeleteObject(pen);
}

void Fill(HDC dc, const RECT& r, TColor color)
{
    HBRUSH brush = CreateSolidBrush(ColorToRGB(color));
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

}  // namespace

void TStripProgress::PaintTo(HDC dc)
{
    int w = width_;
    int h = height_;
    Fill(dc, RECT{0, 0, w, h}, GetColor());
    Fill(dc, RECT{0, 0, fill_, h - 2}, progressColor_);
    // Sunken frame: dark above and left, light below and right, with a face
    // line just inside the light edges.
    Line(dc, clBtnShadow, 0, h - 1, 0, 0);
    Line(dc, clBtnShadow, 0, 0, w, 0);
    Line(dc, clBtnHighlight, w - 1, 0, w - 1, h);
    Line(dc, clBtnHighlight, 0, h - 1, w, h - 1);
    Line(dc, clBtnFace, 1, h - 2, w - 1, h - 2);
    Line(dc, clBtnFace, w - 2, 1, w - 2, h - 1);
    AnsiString text = StripText(GetText(), percent_);
    HGDIOBJ oldFont = SelectObject(dc, GetFont()->GetHandle());
    int oldMode = SetBkMode(dc, TRANSPARENT);
    COLORREF oldColor = SetTextColor(dc, RGB(0, 0, 0));
    TextOutA(dc, 3, 1, text.c_str(), text.Length());
    SetTextColor(dc, oldColor);
    SetBkMode(dc, oldMode);
    SelectObject(dc, oldFont);
}

void TStripProgress::Paint()
{
    HDC screen = GetCanvas()->GetHandle();
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, std::max(1, width_), std::max(1, height_));
    if (!mem || !bmp) {
        // Out of GDI resources: draw straight to the screen instead.
        if (bmp) DeleteObject(bmp);
        if (mem) DeleteDC(mem);
        PaintTo(screen);
        return;
    }
    HGDIOBJ old = SelectObject(mem, bmp);
    PaintTo(mem);
    BitBlt(screen, 0, 0, width_, height_, mem, 0, 0, SRCCOPY);
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
}
