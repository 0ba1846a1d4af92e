#include "buffer_view.h"

bool TBuffer::GlobalICM = false;
bool TBuffer::GlobalGammaCorr = false;
unsigned long TBuffer::GlobalGammaRed = 0x23333;  // 2.2
unsigned long TBuffer::GlobalGammaGreen = 0x23333;
unsigned long TBuffer::GlobalGammaBlue = 0x23333;
// Chromaticities 0.64/0.33, 0.30/0.60 and 0.15/0.06, z = 1 - x - y.
CIEXYZ TBuffer::ciexyzRed = {0x28F5C28F, 0x151EB852, 0x01EB851F};
CIEXYZ TBuffer::ciexyzGreen = {0x13333333, 0x26666666, 0x06666666};
CIEXYZ TBuffer::ciexyzBlue = {0x0999999A, 0x03D70A3D, 0x328F5C29};
unsigned long TBuffer::StretchPatch = 0;

namespace {

// BeginPaint/EndPaint as a pair that an exception in OnPaint cannot split.
struct PaintScope {
    explicit PaintScope(HWND h) : hwnd(h), dc(BeginPaint(h, &ps)) {}
    ~PaintScope() { EndPaint(hwnd, &ps); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    HWND hwnd;
    PAINTSTRUCT ps;
    HDC dc;
};

struct RegionHandle {
    RegionHandle() : rgn(CreateRectRgn(0, 0, 0, 0)) {}
    ~RegionHandle()
    {
        if (rgn)
            DeleteObject(rgn);
    }
    RegionHandle(const RegionHandle&) = delete;
    RegionHandle& operator=(const RegionHandle&) = delete;
    HRGN rgn;
};

}  // namespace

TBuffer::TBuffer(TComponent* AOwner)
    : TCustomControl(AOwner),
      header_(BlankViewHeader()),
      gammaRed_(GlobalGammaRed),
      gammaGreen_(GlobalGammaGreen),
      gammaBlue_(GlobalGammaBlue)
{
    SetControlStyle(GetControlStyle() | csOpaque);
}

TBuffer::~TBuffer() = default;

void TBuffer::SetBuffer(Buffer* Value)
{
    if (Value == buffer_)
        return;
    buffer_ = Value;
    Invalidate();
}

void TBuffer::SetZoom(unsigned long Value)
{
    unsigned long code = NormaliseZoom(Value);
    if (code == zoom_)
        return;
    zoom_ = code;
    Invalidate();
}

bool TBuffer::HasPixels() const
{
    return buffer_ && Drawable(*buffer_);
}

ViewColour TBuffer::Colour() const
{
    ViewColour c = {};
    c.icm = useGlobalICM_ ? GlobalICM : icm_;
    c.gamma = useGlobalGammaCorr_ ? GlobalGammaCorr : gammaCorr_;
    c.endpoints = CIEXYZTRIPLE{ciexyzRed, ciexyzGreen, ciexyzBlue};
    c.gammaRed = useGlobalGammaCorr_ ? GlobalGammaRed : gammaRed_;
    c.gammaGreen = useGlobalGammaCorr_ ? GlobalGammaGreen : gammaGreen_;
    c.gammaBlue = useGlobalGammaCorr_ ? GlobalGammaBlue : gammaBlue_;
    return c;
}

// The part of the control that no ancestor cuts off, in client coordinates.
RECT TBuffer::VisibleRect()
{
    HWND h = GetHandle();
    RECT visible;
    GetWindowRect(h, &visible);
    HWND desktop = GetDesktopWindow();
    for (HWND p = GetAncestor(h, GA_PARENT); p && p != desktop; p = GetAncestor(p, GA_PARENT)) {
        RECT outer;
        GetWindowRect(p, &outer);
        IntersectRect(&visible, &visible, &outer);
    }
    MapWindowPoints(nullptr, h, reinterpret_cast<POINT*>(&visible), 2);
    return visible;
}

void TBuffer::WMPaint(TMessage& Message)
{
    HWND h = GetHandle();
    Message.Result = 0;
    if (!refresh_) {
        ValidateRect(h, nullptr);
        return;
    }
    RegionHandle update;
    if (!HasPixels() || !update.rgn) {
        TCustomControl::WndProc(Message);
        return;
    }
    int kind = GetUpdateRgn(h, update.rgn, FALSE);
    PaintScope paint(h);
    if (!paint.dc)
        return;
    if (kind != NULLREGION && kind != ERROR) {
        PrepareColour(paint.dc, header_, Colour());
        RegionPaint how{ZoomFactors(zoom_), StretchPatch != 0, VisibleRect()};
        RenderRegion(paint.dc, update.rgn, *buffer_, header_, how);
    }
    PaintWindow(paint.dc);
}

void TBuffer::Paint()
{
    if (!HasPixels()) {
        TCanvas* c = GetCanvas();
        RECT r = GetClientRect();
        int right = r.right - 1, bottom = r.bottom - 1;
        c->GetBrush()->SetColor(clBlack);
        c->FillRect(r);
        c->GetPen()->SetColor(clWhite);
        POINT border[5] = {{0, 0}, {right, 0}, {right, bottom}, {0, bottom}, {0, 0}};
        c->Polyline(border, 5);
        // LineTo leaves out its end point; the last pixels of the diagonals
        // are the border's corners.
        c->MoveTo(0, 0);
        c->LineTo(right, bottom);
        c->MoveTo(right, 0);
        c->LineTo(0, bottom);
    }
    if (OnPaint)
        OnPaint(this);
}

void TBuffer::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_PAINT:
        WMPaint(Message);
        return;
    case WM_ERASEBKGND:
        // Every pixel is painted anyway; erasing first would flicker.
        Message.Result = 1;
        return;
    default:
        TCustomControl::WndProc(Message);
    }
}

void Tbuffer::Register()
{
}
