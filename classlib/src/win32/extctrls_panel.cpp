// TCustomPanel and TBevel: raised and lowered frames.
#include "extctrls.h"

#include <algorithm>

namespace {

// Width lines of topLeft above and left, bottomRight below and right; r
// shrinks by what was drawn.
void Frame3D(HDC dc, RECT& r, COLORREF topLeft, COLORREF bottomRight, int width)
{
    for (int i = 0; i < width; ++i) {
        HBRUSH tl = CreateSolidBrush(topLeft);
        HBRUSH br = CreateSolidBrush(bottomRight);
        RECT top = {r.left, r.top, r.right - 1, r.top + 1};
        RECT left = {r.left, r.top, r.left + 1, r.bottom - 1};
        RECT bottom = {r.left, r.bottom - 1, r.right, r.bottom};
        RECT right = {r.right - 1, r.top, r.right, r.bottom};
        FillRect(dc, &top, tl);
        FillRect(dc, &left, tl);
        FillRect(dc, &bottom, br);
        FillRect(dc, &right, br);
        DeleteObject(tl);
        DeleteObject(br);
        InflateRect(&r, -1, -1);
    }
}

void BevelFrame(HDC dc, RECT& r, TBevelCut cut, int width)
{
    COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
    COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    switch (cut) {
    case bvLowered: Frame3D(dc, r, shadow, light, width); break;
    case bvRaised: Frame3D(dc, r, light, shadow, width); break;
    case bvSpace: InflateRect(&r, -width, -width); break;
    case bvNone: break;
    }
}

}  // namespace

// ---- TCustomPanel

TCustomPanel::TCustomPanel(TComponent* AOwner) : TCustomControl(AOwner)
{
    controlStyle_ = csAcceptsControls | csCaptureMouse | csClickEvents | csDoubleClicks | csSetCaption | csOpaque;
    width_ = 185;
    height_ = 41;
    SetColor(clBtnFace);
}

void TCustomPanel::SetBevelInner(TBevelCut Value)
{
    bevelInner_ = Value;
    Realign();
    Invalidate();
}

void TCustomPanel::SetBevelOuter(TBevelCut Value)
{
    bevelOuter_ = Value;
    Realign();
    Invalidate();
}

void TCustomPanel::SetBevelWidth(int Value)
{
    bevelWidth_ = std::max(1, Value);
    Realign();
    Invalidate();
}

void TCustomPanel::SetBorderWidth(int Value)
{
    borderWidth_ = std::max(0, Value);
    Realign();
    Invalidate();
}

void TCustomPanel::SetAlignment(TAlignment Value)
{
    alignment_ = Value;
    Invalidate();
}

void TCustomPanel::SetText(const AnsiString& Value)
{
    TCustomControl::SetText(Value);
    Invalidate();
}

int TCustomPanel::FrameWidth() const
{
    int w = borderWidth_;
    if (bevelOuter_ != bvNone) w += bevelWidth_;
    if (bevelInner_ != bvNone) w += bevelWidth_;
    return w;
}

void TCustomPanel::AlignControls(RECT& Rect)
{
    int w = FrameWidth();
    InflateRect(&Rect, -w, -w);
    Rect.right = std::max(Rect.left, Rect.right);
    Rect.bottom = std::max(Rect.top, Rect.bottom);
    TCustomControl::AlignControls(Rect);
}

void TCustomPanel::Paint()
{
    TCanvas* canvas = GetCanvas();
    RECT r = GetClientRect();
    canvas->GetBrush()->SetColor(GetColor());
    canvas->FillRect(r);
    HDC dc = canvas->GetHandle();
    BevelFrame(dc, r, bevelOuter_, bevelWidth_);
    InflateRect(&r, -borderWidth_, -borderWidth_);
    BevelFrame(dc, r, bevelInner_, bevelWidth_);
    AnsiString caption = GetText();
    if (caption.IsEmpty()) return;
    static const unsigned align[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
    SelectObject(dc, GetFont()->GetHandle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(GetEnabled() ? GetFont()->GetColor() : clGrayText));
    DrawTextA(dc, caption.c_str(), -1, &r, DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS | align[alignment_]);
}

// ---- TBevel

TBevel::TBevel(TComponent* AOwner) : TGraphicControl(AOwner)
{
    width_ = 50;
    height_ = 50;
}

void TBevel::SetShape(TBevelShape Value)
{
    if (Value == shape_) return;
    shape_ = Value;
    Invalidate();
}

void TBevel::SetStyle(TBevelStyle Value)
{
    if (Value == style_) return;
    style_ = Value;
    Invalidate();
}

void TBevel::Paint()
{
    HDC dc = GetCanvas()->GetHandle();
    COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
    COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    COLORREF first = style_ == bsLowered ? shadow : light;
    COLORREF second = style_ == bsLowered ? light : shadow;
    RECT r = {0, 0, width_, height_};
    auto line = [dc](int x1, int y1, int x2, int y2, COLORREF c) {
        RECT l = {x1, y1, x2, y2};
        HBRUSH b = CreateSolidBrush(c);
        FillRect(dc, &l, b);
        DeleteObject(b);
    };
    switch (shape_) {
    case bsBox: Frame3D(dc, r, first, second, 1); break;
    case bsFrame: {
        // Two offset boxes make the etched frame.
        RECT outer = {0, 0, width_ - 1, height_ - 1};
        RECT inner = {1, 1, width_, height_};
        Frame3D(dc, inner, second, second, 1);
        Frame3D(dc, outer, first, first, 1);
        break;
    }
    case bsTopLine:
        line(0, 0, width_, 1, first);
        line(0, 1, width_, 2, second);
        break;
    case bsBottomLine:
        line(0, height_ - 2, width_, height_ - 1, first);
        line(0, height_ - 1, width_, height_, second);
        break;
    case bsLeftLine:
        line(0, 0, 1, height_, first);
        line(1, 0, 2, height_, second);
        break;
    case bsRightLine:
        line(width_ - 2, 0, width_ - 1, height_, first);
        line(width_ - 1, 0, width_, height_, second);
        break;
    case bsSpacer: break;
    }
}
