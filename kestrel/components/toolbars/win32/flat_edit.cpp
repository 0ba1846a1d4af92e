// TFlatEdit: an edit whose 3-pixel frame is painted flat, sunken only while
// it is in use.
#include "toolbar_button.h"

namespace {

const int kFrame = 3;

void FrameWith(HDC dc, RECT& r, TColor color)
{
    HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(color)));
    FrameRect(dc, &r, brush);
    DeleteObject(brush);
    InflateRect(&r, -1, -1);
}

}  // namespace

TFlatEdit::TFlatEdit(TComponent* AOwner) : TCustomEdit(AOwner)
{
    SetBorderStyle(bsNone);
    SetAutoSize(false);
    height_ = 19;
    FollowFont();
}

void TFlatEdit::CreateParams(TCreateParams& Params)
{
    TCustomEdit::CreateParams(Params);
    Params.ExStyle &= ~DWORD(WS_EX_CLIENTEDGE);
    Params.Style &= ~DWORD(WS_BORDER);
}

void TFlatEdit::FontChanged()
{
    TCustomEdit::FontChanged();
    FollowFont();
}

// The height follows the font: its text height plus the frames.
void TFlatEdit::FollowFont()
{
    if (GetComponentState() & csLoading) return;
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, GetFont()->GetHandle());
    TEXTMETRICA tm;
    GetTextMetricsA(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    SetHeight(tm.tmHeight + 2 * kFrame);
}

bool TFlatEdit::IsActiveLook()
{
    if (!HandleAllocated() || !GetEnabled()) return false;
    if (GetFocus() == handle_) return true;
    if (!MouseInControl()) return false;
    TWinControl* focused = FindControl(GetFocus());
    return !dynamic_cast<TFlatEdit*>(focused);
}

void TFlatEdit::MouseEnter()
{
    TCustomEdit::MouseEnter();
    PaintFrame();
}

void TFlatEdit::MouseLeave()
{
    TCustomEdit::MouseLeave();
    PaintFrame();
}

void TFlatEdit::PaintFrame()
{
    if (!HandleAllocated()) return;
    HDC dc = GetWindowDC(handle_);
    RECT r = {0, 0, width_, height_};
    if (IsActiveLook()) {
        DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
        RECT inner = r;
        // Button face along the inner left and top, a sunken inner edge on
        // the right and bottom.
        HBRUSH face = CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(clBtnFace)));
        RECT left = {inner.left, inner.top, inner.left + 1, inner.bottom};
        RECT top = {inner.left, inner.top, inner.right, inner.top + 1};
        FillRect(dc, &left, face);
        FillRect(dc, &top, face);
        DeleteObject(face);
        DrawEdge(dc, &inner, BDR_SUNKENINNER, BF_RIGHT | BF_BOTTOM);
        InflateRect(&r, -1, -1);
    } else {
        FrameWith(dc, r, clBtnFace);
        FrameWith(dc, r, clBtnFace);
    }
    FrameWith(dc, r, GetEnabled() ? clWindow : clBtnFace);
    ReleaseDC(handle_, dc);
}

void TFlatEdit::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_NCCALCSIZE: {
        auto* r = reinterpret_cast<RECT*>(Message.LParam);
        InflateRect(r, -kFrame, -kFrame);
        Message.Result = 0;
        return;
    }
    case WM_NCPAINT:
        PaintFrame();
        Message.Result = 0;
        return;
    case CM_ENABLEDCHANGED:
        SetColor(GetEnabled() ? clWindow : clBtnFace);
        TCustomEdit::WndProc(Message);
        PaintFrame();
        return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        TCustomEdit::WndProc(Message);
        PaintFrame();
        return;
    default: TCustomEdit::WndProc(Message);
    }
}
