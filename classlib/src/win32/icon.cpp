// TIcon: .ico parsing and image choice, resource and handle icons, saving.
#include "icon.h"
#include <stdlib.h>
#include <string.h>
#include "byte_order.h"
#include "canvas.h"
#include "dib.h"

namespace {

const int MaxIconFileBytes = 16 << 20;
const unsigned char PngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

void Check(bool ok, const char* what)
{
    if (!ok) throw EInvalidGraphic(what);
}

// One image of the file, its size and colour depth read from its own header
// (the directory's fields are often 0 or wrong).
struct IconImage {
    const unsigned char* bits;
    int size;
    int width;
    int height;
    int depth;
    bool png;
    int needed;  // bytes a BMP image must have (colour table, XOR and AND masks)
};

IconImage ReadPngImage(const unsigned char* bits, int size)
{
    Check(size >= 33 && GetBE32(bits + 8) == 13 && memcmp(bits + 12, "IHDR", 4) == 0, "icon PNG header");
    IconImage image = {bits, size, int(GetBE32(bits + 16)), int(GetBE32(bits + 20)), 0, true, size};
    Check(image.width > 0 && image.width <= 1024 && image.height > 0 && image.height <= 1024, "icon PNG size");
    static const int channels[7] = {1, 0, 3, 1, 2, 0, 4};
    int colorType = bits[25];
    Check(colorType <= 6 && channels[colorType], "icon PNG colour type");
    image.depth = bits[24] * channels[colorType];
    return image;
}

IconImage ReadBmpImage(const unsigned char* bits, int size)
{
    Check(size >= 40 && GetLE32(bits) == 40, "icon image header");
    int width = int(GetLE32(bits + 4)), height2 = int(GetLE32(bits + 8));
    int depth = int(GetLE16(bits + 14));
    Check(width > 0 && width <= 1024 && height2 > 0 && height2 <= 2048 && height2 % 2 == 0, "icon image size");
    Check(GetLE16(bits + 12) == 1 && GetLE32(bits + 16) == BI_RGB, "icon image planes or compression");
    Check(depth == 1 || depth == 4 || depth == 8 || depth == 16 || depth == 24 || depth == 32, "icon image bit count");
    int height = height2 / 2;
    unsigned used = GetLE32(bits + 32);
    int colors = depth <= 8 ? (used && used < (1u << depth) ? int(used) : 1 << depth) : 0;
    int needed = 40 + colors * 4 + DibStride(width, depth) * height + DibStride(width, 1) * height;
    // The colour table and colour bits must be there; a missing mask is
    // supplied as zeros (opaque).
    Check(40 + colors * 4 + DibStride(width, depth) * height <= size, "icon image truncated");
    return IconImage{bits, size, width, height, depth, false, needed};
}

std::vector<IconImage> ReadDirectory(const std::vector<unsigned char>& file)
{
    int size = int(file.size());
    const unsigned char* p = file.data();
    Check(size >= 6 && GetLE16(p) == 0 && GetLE16(p + 2) == 1, "not an icon file");
    int count = int(GetLE16(p + 4));
    Check(count > 0 && 6 + 16 * count <= size, "icon directory truncated");
    std::vector<IconImage> images;
    for (int i = 0; i < count; ++i) {
        const unsigned char* entry = p + 6 + 16 * i;
        unsigned bytes = GetLE32(entry + 8), offset = GetLE32(entry + 12);
        Check(offset <= unsigned(size) && bytes <= unsigned(size) - offset && bytes >= 8, "icon image outside the file");
        const unsigned char* bits = p + offset;
        images.push_back(memcmp(bits, PngSignature, 8) == 0 ? ReadPngImage(bits, int(bytes))
                                                             : ReadBmpImage(bits, int(bytes)));
    }
    return images;
}

const IconImage& Choose(const std::vector<IconImage>& images, int wantWidth, int wantHeight)
{
    const IconImage* best = &images[0];
    auto distance = [&](const IconImage& i) { return abs(i.width - wantWidth) + abs(i.height - wantHeight); };
    for (const IconImage& image : images) {
        int d = distance(image), bestD = distance(*best);
        if (d < bestD || (d == bestD && image.depth > best->depth)) best = &image;
    }
    return *best;
}

HICON CreateFromImage(const IconImage& image)
{
    // Padded with zeros to the full size, so GDI never reads past the data.
    std::vector<unsigned char> bits(image.bits, image.bits + image.size);
    if (int(bits.size()) < image.needed) bits.resize(size_t(image.needed), 0);
    return CreateIconFromResourceEx(bits.data(), DWORD(bits.size()), TRUE, 0x00030000, image.width, image.height,
                                    LR_DEFAULTCOLOR);
}

// Rows of a bitmap as a bottom-up DIB of the given depth.
std::vector<unsigned char> RowsOf(HBITMAP bitmap, int width, int height, int depth)
{
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colors[2];
    } info = {};
    info.header.biSize = sizeof info.header;
    info.header.biWidth = width;
    info.header.biHeight = height;
    info.header.biPlanes = 1;
    info.header.biBitCount = WORD(depth);
    std::vector<unsigned char> rows(size_t(DibStride(width, depth)) * height);
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, bitmap, 0, UINT(height), rows.data(), reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    return rows;
}

}  // namespace

TIcon::~TIcon()
{
    if (handle_) DestroyIcon(handle_);
}

void TIcon::SetWidth(int width)
{
    if (handle_) throw EInvalidGraphicOperation("Cannot change the size of an icon");
    width_ = width < 0 ? 0 : width;
}

void TIcon::SetHeight(int height)
{
    if (handle_) throw EInvalidGraphicOperation("Cannot change the size of an icon");
    height_ = height < 0 ? 0 : height;
}

void TIcon::Replace(HICON icon, int width, int height, std::vector<unsigned char> data)
{
    if (handle_ && handle_ != icon) DestroyIcon(handle_);
    handle_ = icon;
    width_ = width;
    height_ = height;
    data_ = std::move(data);
    Changed();
}

void TIcon::SetHandle(HICON icon)
{
    int width = 0, height = 0;
    if (icon) {
        ICONINFO info;
        if (!GetIconInfo(icon, &info)) throw EInvalidGraphicOperation("Invalid icon handle");
        BITMAP bm = {};
        GetObjectA(info.hbmMask, sizeof bm, &bm);
        width = bm.bmWidth;
        height = info.hbmColor ? bm.bmHeight : bm.bmHeight / 2;
        if (info.hbmColor) DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
    }
    Replace(icon, width, height, {});
}

HICON TIcon::ReleaseHandle()
{
    HICON icon = handle_;
    handle_ = nullptr;
    Replace(nullptr, 0, 0, {});
    return icon;
}

void TIcon::Assign(TIcon* source)
{
    if (source == this) return;
    if (!source || !source->handle_) {
        Replace(nullptr, 0, 0, {});
        return;
    }
    HICON copy = CopyIcon(source->handle_);
    if (!copy) throw EOutOfResources("Out of system resources");
    Replace(copy, source->width_, source->height_, source->data_);
}

void TIcon::Assign(TPersistent* Source)
{
    if (!Source) {
        Replace(nullptr, 0, 0, {});
    } else if (auto* source = dynamic_cast<TIcon*>(Source)) {
        Assign(source);
    } else {
        TPersistent::Assign(Source);
    }
}

void TIcon::LoadFromResourceName(HINSTANCE instance, const AnsiString& name)
{
    int width = width_ && !handle_ ? width_ : GetSystemMetrics(SM_CXICON);
    int height = height_ && !handle_ ? height_ : GetSystemMetrics(SM_CYICON);
    HANDLE icon = LoadImageA(instance, name.c_str(), IMAGE_ICON, width, height, LR_DEFAULTCOLOR);
    if (!icon) throw EResNotFound(AnsiString().sprintf("Resource %s not found", name.c_str()));
    SetHandle(static_cast<HICON>(icon));
}

void TIcon::LoadFromStream(TStream* stream)
{
    std::vector<unsigned char> file = ReadRestOfStream(stream, MaxIconFileBytes);
    std::vector<IconImage> images = ReadDirectory(file);
    int wantWidth = width_ && !handle_ ? width_ : GetSystemMetrics(SM_CXICON);
    int wantHeight = height_ && !handle_ ? height_ : GetSystemMetrics(SM_CYICON);
    const IconImage& image = Choose(images, wantWidth, wantHeight);
    HICON icon = CreateFromImage(image);
    Check(icon != nullptr, image.png ? "icon PNG image rejected" : "icon image rejected");
    int width = image.width, height = image.height;
    Replace(icon, width, height, std::move(file));
}

std::vector<unsigned char> TIcon::FileFromHandle()
{
    ICONINFO info;
    if (!handle_ || !GetIconInfo(handle_, &info)) throw EInvalidGraphicOperation("Cannot save an empty icon");
    int w = width_, h = height_;
    std::vector<unsigned char> color =
        info.hbmColor ? RowsOf(info.hbmColor, w, h, 32) : std::vector<unsigned char>(size_t(w) * h * 4, 0);
    std::vector<unsigned char> mask = RowsOf(info.hbmMask, w, info.hbmColor ? h : h * 2, 1);
    mask.resize(size_t(DibStride(w, 1)) * h);  // a monochrome icon's mask is its top half
    if (info.hbmColor) DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);

    unsigned imageBytes = unsigned(40 + color.size() + mask.size());
    // The directory (6 bytes), its one entry (16) and the image's info
    // header (40); the fields not set stay 0.
    unsigned char head[62] = {};
    PutLE16(head + 2, 1);  // an icon, not a cursor
    PutLE16(head + 4, 1);
    head[6] = BYTE(w >= 256 ? 0 : w);
    head[7] = BYTE(h >= 256 ? 0 : h);
    PutLE16(head + 10, 1);
    PutLE16(head + 12, 32);
    PutLE32(head + 14, imageBytes);
    PutLE32(head + 18, 22);
    PutLE32(head + 22, 40);
    PutLE32(head + 26, unsigned(w));
    PutLE32(head + 30, unsigned(h * 2));
    PutLE16(head + 34, 1);
    PutLE16(head + 36, 32);
    std::vector<unsigned char> out(head, head + sizeof head);
    out.insert(out.end(), color.begin(), color.end());
    out.insert(out.end(), mask.begin(), mask.end());
    return out;
}

void TIcon::SaveToStream(TStream* stream)
{
    if (!handle_) throw EInvalidGraphicOperation("Cannot save an empty icon");
    std::vector<unsigned char> file = data_.empty() ? FileFromHandle() : data_;
    stream->WriteBuffer(file.data(), int(file.size()));
}

void TIcon::Draw(TCanvas* canvas, const RECT& r)
{
    if (handle_)
        DrawIconEx(canvas->GetHandle(), r.left, r.top, handle_, r.right - r.left, r.bottom - r.top, 0, nullptr,
                   DI_NORMAL);
}
