// TCustomGroupBox: an etched frame with the caption in its top edge. Painted
// by us rather than the BUTTON class, whose group box does not erase its
// inside and so shows stale pixels behind its children.
#include "stdctrls.h"

#include <algorithm>

TCustomGroupBox::TCustomGroupBox(TComponent* AOwner) : TCustomControl(AOwner)
{
    controlStyle_ = csAcceptsControls | csCaptureMouse | csClickEvents | csDoubleClicks | csSetCaption;
    width_ = 185;
    height_ = 105;
    SetParentColor(true);
}

void TCustomGroupBox::SetText(const AnsiString& Value)
{
    TCustomControl::SetText(Value);
    Invalidate();
}

int TCustomGroupBox::CaptionHeight()
{
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, GetFont()->GetHandle());
    TEXTMETRICA tm = {};
    tm.tmHeight = 13;  // when no display can tell
    GetTextMetricsA(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return tm.tmHeight;
}

void TCustomGroupBox::AlignControls(RECT& Rect)
{
    Rect.top += CaptionHeight();
    InflateRect(&Rect, -2, -2);
    Rect.top = std::min(Rect.top, Rect.bottom);
    TCustomControl::AlignControls(Rect);
}

void TCustomGroupBox::Paint()
{
    TCanvas* canvas = GetCanvas();
    RECT client = GetClientRect();
    canvas->GetBrush()->SetColor(GetColor());
    canvas->FillRect(client);
    HDC dc = canvas->GetHandle();
    int h = CaptionHeight();
    RECT frame = {0, h / 2, client.right, client.bottom};
    DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
    AnsiString caption = GetText();
    if (caption.IsEmpty()) return;
    SelectObject(dc, GetFont()->GetHandle());
    RECT text = {0, 0, 0, 0};
    DrawTextA(dc, caption.c_str(), -1, &text, DT_SINGLELINE | DT_CALCRECT);
    OffsetRect(&text, 8, 0);
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, ColorToRGB(GetColor()));
    SetTextColor(dc, ColorToRGB(GetEnabled() ? GetFont()->GetColor() : clGrayText));
    DrawTextA(dc, caption.c_str(), -1, &text, DT_SINGLELINE);
}
