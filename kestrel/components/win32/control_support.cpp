#include "control_support.h"

#include <vector>

#include "geometry_winapi.h"
#include "graphics.h"
#include "control_support_model.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

HINSTANCE ModuleInstance() { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

struct TForegroundSearch {
    HWND Foreground;
    bool Found;
};

BOOL CALLBACK MatchForeground(HWND wnd, LPARAM data)
{
    auto* search = reinterpret_cast<TForegroundSearch*>(data);
    if (wnd == search->Foreground) {
        search->Found = true;
        return FALSE;
    }
    return TRUE;
}

// A memory DC with a bitmap selected, undone on scope exit.
class TSelectedDC {
public:
    TSelectedDC(HDC compatible, HBITMAP bitmap) : dc_(CreateCompatibleDC(compatible))
    {
        if (!dc_) throw EOutOfResources("Out of system resources");
        old_ = SelectObject(dc_, bitmap);
    }
    TSelectedDC(const TSelectedDC&) = delete;
    TSelectedDC& operator=(const TSelectedDC&) = delete;
    ~TSelectedDC()
    {
        SelectObject(dc_, old_);
        DeleteDC(dc_);
    }
    HDC Get() const { return dc_; }

private:
    HDC dc_;
    HGDIOBJ old_;
};

class THandleBitmap {
public:
    explicit THandleBitmap(HBITMAP b) : bitmap_(b)
    {
        if (!bitmap_) throw EOutOfResources("Out of system resources");
    }
    THandleBitmap(const THandleBitmap&) = delete;
    THandleBitmap& operator=(const THandleBitmap&) = delete;
    ~THandleBitmap() { DeleteObject(bitmap_); }
    HBITMAP Get() const { return bitmap_; }

private:
    HBITMAP bitmap_;
};

// White (1) where Source has Transparent, black (0) elsewhere.
HBITMAP CreateMask(HDC srcDC, int x, int y, int w, int h, TColor transparent)
{
    HBITMAP mask = CreateBitmap(w, h, 1, 1, nullptr);
    if (!mask) throw EOutOfResources("Out of system resources");
    TSelectedDC maskDC(srcDC, mask);
    COLORREF oldBk = SetBkColor(srcDC, static_cast<COLORREF>(ColorToRGB(transparent)));
    BitBlt(maskDC.Get(), 0, 0, w, h, srcDC, x, y, SRCCOPY);
    SetBkColor(srcDC, oldBk);
    return mask;
}

// Dest = Brush where Mask is black, Dest kept where it is white.
const DWORD ROP_PSDPxax = 0x00B8074A;

// The process-wide pattern brush; freed with the module.
class TPatternCache {
public:
    TPatternCache() = default;
    TPatternCache(const TPatternCache&) = delete;
    TPatternCache& operator=(const TPatternCache&) = delete;
    ~TPatternCache() { Free(); }
    HBRUSH Get(TColor c1, TColor c2)
    {
        if (brush_ && c1 == color1_ && c2 == color2_) return brush_;
        HBRUSH made = Make(c1, c2);
        Free();
        brush_ = made;
        color1_ = c1;
        color2_ = c2;
        return brush_;
    }

private:
    static HBRUSH Make(TColor c1, TColor c2)
    {
        std::vector<DWORD> bits(64);
        COLORREF rgb[2] = {static_cast<COLORREF>(ColorToRGB(c1)), static_cast<COLORREF>(ColorToRGB(c2))};
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) {
                COLORREF c = rgb[(x + y) & 1];
                bits[y * 8 + x] = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
            }
        BITMAPINFO bi = TopDownInfo32(8, 8);
        HDC screen = GetDC(nullptr);
        HBITMAP bmp = CreateDIBitmap(screen, &bi.bmiHeader, CBM_INIT, bits.data(), &bi, DIB_RGB_COLORS);
        ReleaseDC(nullptr, screen);
        if (!bmp) throw EOutOfResources("Out of system resources");
        HBRUSH brush = CreatePatternBrush(bmp);
        DeleteObject(bmp);  // the brush keeps its own copy
        if (!brush) throw EOutOfResources("Out of system resources");
        return brush;
    }
    void Free()
    {
        if (brush_) DeleteObject(brush_);
        brush_ = nullptr;
    }

    HBRUSH brush_ = nullptr;
    TColor color1_ = 0;
    TColor color2_ = 0;
};

TPatternCache& PatternCache()
{
    static TPatternCache cache;
    return cache;
}

}  // namespace

void KillMessage(HWND Wnd, UINT Msg)
{
    MSG m;
    if (PeekMessageA(&m, Wnd, Msg, Msg, PM_REMOVE) && m.message == WM_QUIT)
        PostQuitMessage(static_cast<int>(m.wParam));
}

bool IsForegroundTask()
{
    TForegroundSearch search = {GetForegroundWindow(), false};
    if (!search.Foreground) return false;
    EnumThreadWindows(GetCurrentThreadId(), MatchForeground, reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

AnsiString ResStr(int Ident)
{
    char buffer[4096];
    int n = LoadStringA(ModuleInstance(), static_cast<UINT>(Ident), buffer, sizeof(buffer));
    return n > 0 ? AnsiString(buffer, n) : AnsiString();
}

std::unique_ptr<TBitmap> LoadResBitmap(const AnsiString& Name)
{
    std::unique_ptr<TBitmap> bitmap(new TBitmap);
    bitmap->LoadFromResourceName(ModuleInstance(), Name);
    return bitmap;
}

std::unique_ptr<TBitmap> CreateStripCell(TBitmap* Strip, int Cols, int Rows, int Index)
{
    if (!Strip) throw EInvalidOperation("No image strip");
    TRect cell = StripCellRect(Strip->GetWidth(), Strip->GetHeight(), Cols, Rows, Index);
    std::unique_ptr<TBitmap> out(new TBitmap);
    out->SetSize(cell.Width(), cell.Height());
    RECT dest = {0, 0, cell.Width(), cell.Height()};
    RECT src = ToRECT(cell);
    out->GetCanvas()->CopyRect(dest, Strip->GetCanvas(), src);
    return out;
}

void CopyParentImage(TControl* Control, TCanvas* Dest)
{
    TWinControl* parent = Control ? Control->GetParent() : nullptr;
    if (!parent || !parent->HandleAllocated() || !Dest) return;
    HDC dc = Dest->GetHandle();
    int saved = SaveDC(dc);
    IntersectClipRect(dc, 0, 0, Control->GetWidth(), Control->GetHeight());
    OffsetViewportOrgEx(dc, -Control->GetLeft(), -Control->GetTop(), nullptr);
    // Paints with the DC given, as the control core's paint handler allows.
    SendMessageA(parent->GetHandle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    SendMessageA(parent->GetHandle(), WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    RestoreDC(dc, saved);
}

std::unique_ptr<TBitmap> CreateDisabledBitmap(TBitmap* Glyph, TColor TransparentColor)
{
    if (!Glyph || Glyph->GetEmpty()) throw EInvalidOperation("No glyph");
    const int w = Glyph->GetWidth();
    const int h = Glyph->GetHeight();
    THandleBitmap mask(CreateMask(Glyph->GetCanvas()->GetHandle(), 0, 0, w, h, TransparentColor));
    std::unique_ptr<TBitmap> out(new TBitmap);
    out->SetSize(w, h);
    TCanvas* canvas = out->GetCanvas();
    canvas->GetBrush()->SetColor(clBtnFace);
    canvas->FillRect(RECT{0, 0, w, h});
    HDC dc = canvas->GetHandle();
    TSelectedDC maskDC(dc, mask.Get());
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    HBRUSH highlight = CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(clBtnHighlight)));
    HBRUSH shadow = CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(clBtnShadow)));
    HGDIOBJ old = SelectObject(dc, highlight);
    BitBlt(dc, 1, 1, w - 1, h - 1, maskDC.Get(), 0, 0, ROP_PSDPxax);
    SelectObject(dc, shadow);
    BitBlt(dc, 0, 0, w, h, maskDC.Get(), 0, 0, ROP_PSDPxax);
    SelectObject(dc, old);
    DeleteObject(highlight);
    DeleteObject(shadow);
    return out;
}

HBRUSH CreateTwoColorsBrush(TColor Color1, TColor Color2)
{
    return PatternCache().Get(Color1, Color2);
}

void StretchBltTransparent(HDC DstDC, int DstX, int DstY, int DstW, int DstH, HDC SrcDC, int SrcX, int SrcY,
                           int SrcW, int SrcH, TColor TransparentColor)
{
    if (DstW <= 0 || DstH <= 0 || SrcW <= 0 || SrcH <= 0) return;
    THandleBitmap mask(CreateMask(SrcDC, SrcX, SrcY, SrcW, SrcH, TransparentColor));
    TSelectedDC maskDC(DstDC, mask.Get());
    COLORREF oldText = SetTextColor(DstDC, RGB(0, 0, 0));
    COLORREF oldBk = SetBkColor(DstDC, RGB(255, 255, 255));
    int oldMode = SetStretchBltMode(DstDC, COLORONCOLOR);
    // dest ^ src, cleared where opaque, ^ src again: src where opaque, dest elsewhere.
    StretchBlt(DstDC, DstX, DstY, DstW, DstH, SrcDC, SrcX, SrcY, SrcW, SrcH, SRCINVERT);
    StretchBlt(DstDC, DstX, DstY, DstW, DstH, maskDC.Get(), 0, 0, SrcW, SrcH, SRCAND);
    StretchBlt(DstDC, DstX, DstY, DstW, DstH, SrcDC, SrcX, SrcY, SrcW, SrcH, SRCINVERT);
    SetStretchBltMode(DstDC, oldMode);
    SetTextColor(DstDC, oldText);
    SetBkColor(DstDC, oldBk);
}

void DrawTransparentBitmap(TCanvas* Dest, const RECT& R, TBitmap* Source, TColor TransparentColor)
{
    if (!Dest || !Source || Source->GetEmpty()) return;
    HDC dst = Dest->GetHandle();
    HDC src = Source->GetCanvas()->GetHandle();
    StretchBltTransparent(dst, R.left, R.top, R.right - R.left, R.bottom - R.top, src, 0, 0, Source->GetWidth(),
                          Source->GetHeight(), TransparentColor);
}

int BitmapWidth(HBITMAP Bitmap)
{
    BITMAP info;
    return GetObjectA(Bitmap, sizeof(info), &info) ? info.bmWidth : 0;
}

int BitmapHeight(HBITMAP Bitmap)
{
    BITMAP info;
    return GetObjectA(Bitmap, sizeof(info), &info) ? info.bmHeight : 0;
}

AnsiString ShortenString(TCanvas* Canvas, const AnsiString& Text, int MaxWidth)
{
    return ShortenText(Text, MaxWidth, [Canvas](const AnsiString& s) { return Canvas->TextWidth(s); });
}

void ScreenTextHeights(TFont* Font, int& SystemHeight, int& FontHeight)
{
    TEXTMETRICA system = {};
    TEXTMETRICA font = {};
    system.tmHeight = 16;
    font.tmHeight = 13;
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, GetStockObject(SYSTEM_FONT));
    GetTextMetricsA(dc, &system);
    SelectObject(dc, Font->GetHandle());
    GetTextMetricsA(dc, &font);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    SystemHeight = system.tmHeight;
    FontHeight = font.tmHeight;
}
