// TBitmap: bitmaps of each pixel format, their canvas, BMP streams.
#include "bitmap.h"
#include <string.h>
#include <algorithm>
#include "byte_order.h"
#include "canvas.h"
#include "dib.h"

namespace {

// Screen DC for compatible bitmaps and DIB conversions.
class ScreenDC {
public:
    ScreenDC() : dc_(GetDC(nullptr)) {}
    ~ScreenDC() { if (dc_) ReleaseDC(nullptr, dc_); }
    ScreenDC(const ScreenDC&) = delete;
    ScreenDC& operator=(const ScreenDC&) = delete;
    operator HDC() const { return dc_; }

private:
    HDC dc_;
};

// A memory DC with one bitmap selected, put back on destruction.
class SelectedBitmap {
public:
    explicit SelectedBitmap(HBITMAP bitmap) : dc_(CreateCompatibleDC(nullptr))
    {
        if (!dc_) throw EOutOfResources("Out of system resources");
        old_ = SelectObject(dc_, bitmap);
    }
    ~SelectedBitmap()
    {
        SelectObject(dc_, old_);
        DeleteDC(dc_);
    }
    SelectedBitmap(const SelectedBitmap&) = delete;
    SelectedBitmap& operator=(const SelectedBitmap&) = delete;
    operator HDC() const { return dc_; }

private:
    HDC dc_;
    HGDIOBJ old_;
};

int BitsOf(TPixelFormat format)
{
    static const int bits[] = {0, 1, 4, 8, 16, 16, 24, 32};
    return bits[format];
}

// The colours a paletted format starts with: black and white, the 16 VGA
// colours, or a 6x6x6 cube with a grey ramp. White is always last.
int DefaultColors(TPixelFormat format, RGBQUAD* colors)
{
    if (format == pf1bit) {
        colors[0] = RGBQUAD{0, 0, 0, 0};
        colors[1] = RGBQUAD{255, 255, 255, 0};
        return 2;
    }
    if (format == pf4bit) {
        static const COLORREF vga[16] = {0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080,
                                         0x808000, 0x808080, 0xC0C0C0, 0x0000FF, 0x00FF00, 0x00FFFF,
                                         0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};
        for (int i = 0; i < 16; ++i)
            colors[i] = RGBQUAD{GetBValue(vga[i]), GetGValue(vga[i]), GetRValue(vga[i]), 0};
        return 16;
    }
    int n = 0;
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                colors[n++] = RGBQUAD{BYTE(b * 51), BYTE(g * 51), BYTE(r * 51), 0};
    while (n < 256) {
        BYTE v = BYTE((n - 216) * 255 / 39);
        colors[n++] = RGBQUAD{v, v, v, 0};
    }
    return 256;
}

TPixelFormat FormatOf(HBITMAP bitmap)
{
    DIBSECTION ds;
    if (GetObjectA(bitmap, sizeof ds, &ds) != sizeof ds) return pfDevice;
    switch (ds.dsBmih.biBitCount) {
    case 1: return pf1bit;
    case 4: return pf4bit;
    case 8: return pf8bit;
    case 16: return ds.dsBmih.biCompression == BI_BITFIELDS && ds.dsBitfields[1] == 0x7E0 ? pf16bit : pf15bit;
    case 24: return pf24bit;
    default: return pf32bit;
    }
}

void FillWhite(HBITMAP bitmap, int width, int height)
{
    SelectedBitmap dc(bitmap);
    PatBlt(dc, 0, 0, width, height, WHITENESS);
}

// A white bitmap of the format; paletted formats take colors (or the
// default table when null).
HBITMAP NewBitmap(TPixelFormat format, int width, int height, const RGBQUAD* colors, int colorCount)
{
    HBITMAP bitmap;
    if (format == pfDevice) {
        ScreenDC screen;
        bitmap = CreateCompatibleBitmap(screen, width, height);
    } else {
        DibInfo info;
        memset(&info, 0, sizeof info);
        info.header.biSize = sizeof info.header;
        info.header.biWidth = width;
        info.header.biHeight = height;
        info.header.biPlanes = 1;
        info.header.biBitCount = WORD(BitsOf(format));
        info.header.biCompression = BI_RGB;
        if (format == pf16bit) {
            info.header.biCompression = BI_BITFIELDS;
            DWORD masks[3] = {0xF800, 0x07E0, 0x001F};
            memcpy(info.colors, masks, sizeof masks);
        } else if (info.header.biBitCount <= 8) {
            int n = colors ? colorCount : DefaultColors(format, info.colors);
            if (colors) memcpy(info.colors, colors, size_t(n) * sizeof(RGBQUAD));
            info.header.biClrUsed = DWORD(n);
        }
        void* bits = nullptr;
        bitmap = CreateDIBSection(nullptr, info.Get(), DIB_RGB_COLORS, &bits, nullptr, 0);
    }
    if (!bitmap) throw EOutOfResources("Out of system resources");
    FillWhite(bitmap, width, height);
    return bitmap;
}

int ColorTableOf(HBITMAP bitmap, RGBQUAD* colors)
{
    SelectedBitmap dc(bitmap);
    return int(GetDIBColorTable(dc, 0, 256, colors));
}

// A new bitmap of the format and size holding source's overlapping part.
HBITMAP CopyOf(HBITMAP source, TPixelFormat format, int width, int height, bool keepColors)
{
    RGBQUAD colors[256];
    int count = keepColors ? ColorTableOf(source, colors) : 0;
    HBITMAP copy = NewBitmap(format, width, height, count ? colors : nullptr, count);
    BITMAP bm;
    GetObjectA(source, sizeof bm, &bm);
    SelectedBitmap from(source);
    SelectedBitmap to(copy);
    BitBlt(to, 0, 0, std::min(width, int(bm.bmWidth)), std::min(height, int(bm.bmHeight)), from, 0, 0, SRCCOPY);
    return copy;
}

}  // namespace

// The canvas of a bitmap: a memory DC, made when first drawn on, with the
// bitmap selected.
class TBitmap::TBitmapCanvas : public TCanvas {
public:
    explicit TBitmapCanvas(TBitmap* owner) : owner_(owner) {}
    ~TBitmapCanvas() override { Free(); }

    void Free()
    {
        if (!HandleAllocated()) return;
        HDC dc = GetHandle();
        SetHandle(nullptr);
        SelectObject(dc, oldBitmap_);
        if (oldPalette_) SelectPalette(dc, oldPalette_, FALSE);
        DeleteDC(dc);
        oldPalette_ = nullptr;
    }

protected:
    void CreateHandle() override
    {
        HDC dc = CreateCompatibleDC(nullptr);
        if (!dc) throw EOutOfResources("Out of system resources");
        oldBitmap_ = owner_->handle_ ? SelectObject(dc, owner_->handle_) : nullptr;
        if (owner_->palette_) {
            oldPalette_ = SelectPalette(dc, owner_->palette_, TRUE);
            RealizePalette(dc);
        }
        SetHandle(dc);
    }

private:
    TBitmap* owner_;
    HGDIOBJ oldBitmap_ = nullptr;
    HPALETTE oldPalette_ = nullptr;
};

TBitmap::TBitmap() = default;

TBitmap::~TBitmap()
{
    canvas_.reset();
    if (handle_) DeleteObject(handle_);
    if (palette_) DeleteObject(palette_);
}

TCanvas* TBitmap::GetCanvas()
{
    if (!canvas_) {
        canvas_.reset(new TBitmapCanvas(this));
        canvas_->OnChange = [this](TCanvas*) { Changed(); };
    }
    return canvas_.get();
}

void TBitmap::FreeContext()
{
    if (canvas_) canvas_->Free();
}

void TBitmap::Replace(HBITMAP bitmap)
{
    FreeContext();
    if (handle_ && handle_ != bitmap) DeleteObject(handle_);
    handle_ = bitmap;
    width_ = height_ = 0;
    format_ = pfDevice;
    BITMAP bm;
    if (bitmap && GetObjectA(bitmap, sizeof bm, &bm)) {
        width_ = bm.bmWidth;
        height_ = bm.bmHeight;
        format_ = FormatOf(bitmap);
    }
    Changed();
}

void TBitmap::SetSize(int width, int height)
{
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == width_ && height == height_) return;
    if (width == 0 || height == 0) {
        Replace(nullptr);
        width_ = width;
        height_ = height;
        return;
    }
    FreeContext();
    HBITMAP bitmap = handle_ ? CopyOf(handle_, format_, width, height, true)
                             : NewBitmap(format_, width, height, nullptr, 0);
    Replace(bitmap);
}

HBITMAP TBitmap::GetHandle()
{
    FreeContext();
    return handle_;
}

void TBitmap::SetHandle(HBITMAP bitmap)
{
    if (bitmap && GetObjectType(bitmap) != OBJ_BITMAP) throw EInvalidGraphicOperation("Invalid bitmap handle");
    Replace(bitmap);
}

HBITMAP TBitmap::ReleaseHandle()
{
    FreeContext();
    HBITMAP bitmap = handle_;
    handle_ = nullptr;
    Replace(nullptr);
    return bitmap;
}

HPALETTE TBitmap::GetPalette()
{
    if (palette_ || !handle_ || BitsOf(format_) > 8 || format_ == pfDevice) return palette_;
    RGBQUAD colors[256];
    FreeContext();
    int count = ColorTableOf(handle_, colors);
    if (count == 0) return nullptr;
    struct {
        WORD version, count;
        PALETTEENTRY entries[256];
    } log = {0x300, WORD(count), {}};
    for (int i = 0; i < count; ++i)
        log.entries[i] = PALETTEENTRY{colors[i].rgbRed, colors[i].rgbGreen, colors[i].rgbBlue, 0};
    palette_ = CreatePalette(reinterpret_cast<LOGPALETTE*>(&log));
    return palette_;
}

void TBitmap::SetPalette(HPALETTE palette)
{
    if (palette == palette_) return;
    FreeContext();
    if (palette_) DeleteObject(palette_);
    palette_ = palette;
    if (palette && handle_ && format_ != pfDevice && BitsOf(format_) <= 8) {
        PALETTEENTRY entries[256];
        UINT count = GetPaletteEntries(palette, 0, 256, entries);
        RGBQUAD colors[256];
        for (UINT i = 0; i < count; ++i)
            colors[i] = RGBQUAD{entries[i].peBlue, entries[i].peGreen, entries[i].peRed, 0};
        SelectedBitmap dc(handle_);
        SetDIBColorTable(dc, 0, count, colors);
    }
    Changed();
}

void TBitmap::SetPixelFormat(TPixelFormat format)
{
    if (format == format_) return;
    if (!handle_) {
        format_ = format;
        return;
    }
    FreeContext();
    Replace(CopyOf(handle_, format, width_, height_, false));
}

TColor TBitmap::GetTransparentColor()
{
    if (transparentMode_ == tmFixed) return transparentColor_;
    if (!handle_) return clDefault;
    return GetCanvas()->GetPixels(0, height_ - 1);
}

void TBitmap::SetTransparentColor(TColor color)
{
    transparentColor_ = color;
    transparentMode_ = color == clDefault ? tmAuto : tmFixed;
    Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode mode)
{
    if (mode == transparentMode_) return;
    if (mode == tmFixed && transparentColor_ == clDefault) transparentColor_ = GetTransparentColor();
    transparentMode_ = mode;
    Changed();
}

void TBitmap::Assign(TBitmap* source)
{
    if (source == this) return;
    if (!source || !source->handle_) {
        Replace(nullptr);
    } else {
        source->FreeContext();
        Replace(CopyOf(source->handle_, source->format_, source->width_, source->height_, true));
    }
    if (source) {
        transparentColor_ = source->transparentColor_;
        transparentMode_ = source->transparentMode_;
        SetTransparent(source->GetTransparent());
        HPALETTE palette = source->palette_;
        if (palette) {
            FreeContext();
            if (palette_) DeleteObject(palette_);
            PALETTEENTRY entries[256];
            UINT count = GetPaletteEntries(palette, 0, 256, entries);
            struct {
                WORD version, count;
                PALETTEENTRY entries[256];
            } log = {0x300, WORD(count), {}};
            memcpy(log.entries, entries, count * sizeof(PALETTEENTRY));
            palette_ = CreatePalette(reinterpret_cast<LOGPALETTE*>(&log));
        }
    }
}

void TBitmap::Assign(TPersistent* Source)
{
    if (!Source) {
        Assign(static_cast<TBitmap*>(nullptr));
    } else if (auto* source = dynamic_cast<TBitmap*>(Source)) {
        Assign(source);
    } else {
        TPersistent::Assign(Source);
    }
}

void TBitmap::LoadFromResourceName(HINSTANCE instance, const AnsiString& name)
{
    HANDLE image = LoadImageA(instance, name.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
    if (!image) throw EResNotFound(AnsiString().sprintf("Resource %s not found", name.c_str()));
    Replace(static_cast<HBITMAP>(image));
}

void TBitmap::LoadFromResourceID(HINSTANCE instance, int id)
{
    HANDLE image = LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
    if (!image) throw EResNotFound(AnsiString().sprintf("Resource %d not found", id));
    Replace(static_cast<HBITMAP>(image));
}

void TBitmap::LoadFromDIB(const void* data, int size)
{
    ParsedDib dib = ParseDib(static_cast<const unsigned char*>(data), size, -1);
    TPixelFormat format = pf32bit;
    switch (dib.info.header.biBitCount) {
    case 1: format = pf1bit; break;
    case 4: format = pf4bit; break;
    case 8: format = pf8bit; break;
    case 16:
        format = dib.info.header.biCompression == BI_BITFIELDS && reinterpret_cast<DWORD*>(dib.info.colors)[1] == 0x7E0
                     ? pf16bit : pf15bit;
        break;
    case 24: format = pf24bit; break;
    }
    int rows = dib.info.header.biHeight < 0 ? -dib.info.header.biHeight : dib.info.header.biHeight;
    int colors = dib.info.ColorCount();
    HBITMAP bitmap = NewBitmap(format, dib.info.header.biWidth, rows, colors ? dib.info.colors : nullptr, colors);
    ScreenDC screen;
    if (SetDIBits(screen, bitmap, 0, UINT(rows), dib.bits, dib.info.Get(), DIB_RGB_COLORS) == 0) {
        DeleteObject(bitmap);
        throw EInvalidGraphic("BMP pixel data rejected");
    }
    Replace(bitmap);
}

std::vector<unsigned char> TBitmap::SaveToDIB()
{
    if (!handle_) throw EInvalidGraphicOperation("Cannot save an empty bitmap");
    FreeContext();
    DibInfo info;
    memset(&info, 0, sizeof info);
    info.header.biSize = sizeof info.header;
    info.header.biWidth = width_;
    info.header.biHeight = height_;
    info.header.biPlanes = 1;
    // A device bitmap's extra byte means nothing: it is saved as 24 bits.
    info.header.biBitCount = WORD(format_ == pfDevice ? 24 : BitsOf(format_));
    info.header.biCompression = BI_RGB;
    int masks = 0;
    if (format_ == pf16bit) {
        info.header.biCompression = BI_BITFIELDS;
        DWORD m[3] = {0xF800, 0x07E0, 0x001F};
        memcpy(info.colors, m, sizeof m);
        masks = 3;
    }
    int colors = info.header.biBitCount <= 8 ? 1 << info.header.biBitCount : 0;
    info.header.biClrUsed = DWORD(colors);
    int stride = DibStride(width_, info.header.biBitCount);
    info.header.biSizeImage = DWORD(stride * height_);

    int headerBytes = int(sizeof info.header) + (masks + colors) * 4;
    std::vector<unsigned char> out(size_t(headerBytes) + info.header.biSizeImage);
    ScreenDC screen;
    if (GetDIBits(screen, handle_, 0, UINT(height_), out.data() + headerBytes, info.Get(), DIB_RGB_COLORS) == 0)
        throw EInvalidGraphicOperation("Cannot read the bitmap's pixels");
    // GetDIBits may rewrite the header fields: restore what the file states.
    info.header.biClrUsed = DWORD(colors);
    info.header.biSizeImage = DWORD(stride * height_);
    info.header.biCompression = masks ? BI_BITFIELDS : BI_RGB;
    memcpy(out.data(), &info, size_t(headerBytes));
    return out;
}

void TBitmap::LoadFromStream(TStream* stream)
{
    unsigned char fileHeader[14];
    if (stream->Read(fileHeader, 14) != 14 || fileHeader[0] != 'B' || fileHeader[1] != 'M')
        throw EInvalidGraphic("BMP file header missing");
    unsigned fileSize = GetLE32(fileHeader + 2);
    unsigned bitsOffset = GetLE32(fileHeader + 10);
    int rest = stream->GetSize() - stream->GetPosition();
    // Some writers leave the file size wrong: then the stream's end counts.
    int size = fileSize >= 14 + 12 && fileSize - 14 <= unsigned(std::max(rest, 0)) ? int(fileSize - 14) : rest;
    if (size < 12 || size > (1 << 30)) throw EInvalidGraphic("BMP data truncated");
    std::vector<unsigned char> data(static_cast<size_t>(size));
    stream->ReadBuffer(data.data(), size);
    if (bitsOffset != 0 && (bitsOffset < 14 + 12 || bitsOffset - 14 > unsigned(size)))
        throw EInvalidGraphic("BMP bits offset");
    ParsedDib dib = ParseDib(data.data(), size, bitsOffset ? int(bitsOffset - 14) : -1);
    // Re-pack so LoadFromDIB sees the bits right after the colours.
    int colors = dib.info.ColorCount();
    int masks = dib.info.header.biCompression == BI_BITFIELDS ? 3 : 0;
    int headerBytes = int(sizeof dib.info.header) + (masks + colors) * 4;
    std::vector<unsigned char> packed(size_t(headerBytes) + size_t(dib.bitsSize));
    dib.info.header.biClrUsed = DWORD(colors);
    memcpy(packed.data(), &dib.info, size_t(headerBytes));
    memcpy(packed.data() + headerBytes, dib.bits, size_t(dib.bitsSize));
    LoadFromDIB(packed.data(), int(packed.size()));
}

void TBitmap::SaveToStream(TStream* stream)
{
    std::vector<unsigned char> dib = SaveToDIB();
    const BITMAPINFOHEADER* h = reinterpret_cast<const BITMAPINFOHEADER*>(dib.data());
    DWORD bitsOffset = DWORD(14 + dib.size() - h->biSizeImage);
    DWORD fileSize = DWORD(14 + dib.size());
    unsigned char fileHeader[14] = {'B', 'M'};
    memcpy(fileHeader + 2, &fileSize, 4);
    memcpy(fileHeader + 10, &bitsOffset, 4);
    stream->WriteBuffer(fileHeader, 14);
    stream->WriteBuffer(dib.data(), int(dib.size()));
}

void TBitmap::Draw(TCanvas* canvas, const RECT& r)
{
    if (!handle_) return;
    HDC from = GetCanvas()->GetHandle();
    HDC to = canvas->GetHandle();
    int w = r.right - r.left, h = r.bottom - r.top;
    SetStretchBltMode(to, COLORONCOLOR);
    if (GetTransparent()) {
        GdiTransparentBlt(to, r.left, r.top, w, h, from, 0, 0, width_, height_,
                          UINT(ColorToRGB(GetTransparentColor())));
    } else {
        StretchBlt(to, r.left, r.top, w, h, from, 0, 0, width_, height_, canvas->GetCopyMode());
    }
}

BITMAPINFO TopDownInfo32(int Width, int Height)
{
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = Width;
    bi.bmiHeader.biHeight = -Height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    return bi;
}
