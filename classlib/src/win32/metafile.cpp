// TMetafile and TMetafileCanvas: EMF and WMF loading (with every record's
// size checked before GDI walks them), saving and recording.
#include "metafile.h"
#include <string.h>
#include "byte_order.h"

namespace {

const unsigned PlaceableKey = 0x9AC6CDD7u;
const int PlaceableHeaderSize = 22;
const int MaxMetafileBytes = 256 << 20;

int S16(const unsigned char* p) { return short(GetLE16(p)); }

void Check(bool ok, const char* what)
{
    if (!ok) throw EInvalidGraphic(what);
}

int PixelsPerInch(HDC dc)
{
    HDC screen = dc ? nullptr : GetDC(nullptr);
    int ppi = GetDeviceCaps(dc ? dc : screen, LOGPIXELSX);
    if (screen) ReleaseDC(nullptr, screen);
    return ppi > 0 ? ppi : 96;
}

// Bytes of a WMF whose header and records all lie inside size, ending with
// the end record.
int CheckWindowsMetafile(const unsigned char* data, int size)
{
    Check(size >= 18, "WMF header truncated");
    Check((GetLE16(data) == 1 || GetLE16(data) == 2) && GetLE16(data + 2) == 9, "WMF header");
    long long total = (long long)GetLE32(data + 6) * 2;
    Check(total >= 18 && total <= size, "WMF data truncated");
    long long pos = 18;
    while (pos + 6 <= total) {
        long long words = GetLE32(data + pos);
        unsigned function = GetLE16(data + pos + 4);
        Check(words >= 3 && pos + words * 2 <= total, "WMF record size");
        if (function == 0) return int(total);
        pos += words * 2;
    }
    throw EInvalidGraphic("WMF end record missing");
}

// Bytes of an EMF whose records chain inside size up to EMR_EOF.
int CheckEnhancedMetafile(const unsigned char* data, int size)
{
    Check(size >= 88, "EMF header truncated");
    unsigned total = GetLE32(data + 48);
    Check(GetLE32(data + 4) >= 88 && GetLE32(data + 4) <= total, "EMF header size");
    Check(total <= unsigned(size), "EMF data truncated");
    unsigned pos = 0;
    while (pos + 8 <= total) {
        unsigned type = GetLE32(data + pos), length = GetLE32(data + pos + 4);
        Check(length >= 8 && length % 4 == 0 && length <= total - pos, "EMF record size");
        if (type == EMR_EOF) return int(total);
        pos += length;
    }
    throw EInvalidGraphic("EMF end record missing");
}

}  // namespace

TMetafile::~TMetafile()
{
    if (handle_) DeleteEnhMetaFile(handle_);
    if (palette_) DeleteObject(palette_);
}

void TMetafile::Clear()
{
    if (handle_) DeleteEnhMetaFile(handle_);
    if (palette_) DeleteObject(palette_);
    handle_ = nullptr;
    palette_ = nullptr;
    wmf_.clear();
    width_ = height_ = inch_ = 0;
    Changed();
}

void TMetafile::SetWidth(int width)
{
    width_ = width < 0 ? 0 : width;
    Changed();
}

void TMetafile::SetHeight(int height)
{
    height_ = height < 0 ? 0 : height;
    Changed();
}

int TMetafile::GetMMWidth() const { return MulDiv(width_, 2540, PixelsPerInch(nullptr)); }
int TMetafile::GetMMHeight() const { return MulDiv(height_, 2540, PixelsPerInch(nullptr)); }

void TMetafile::SetEnhanced(bool enhanced)
{
    if (enhanced == enhanced_) return;
    enhanced_ = enhanced;
    Changed();
}

void TMetafile::SizeFromHeader()
{
    ENHMETAHEADER header;
    width_ = height_ = 0;
    if (!handle_ || !GetEnhMetaFileHeader(handle_, sizeof header, &header)) return;
    int ppi = PixelsPerInch(nullptr);
    width_ = MulDiv(header.rclFrame.right - header.rclFrame.left, ppi, 2540);
    height_ = MulDiv(header.rclFrame.bottom - header.rclFrame.top, ppi, 2540);
}

void TMetafile::SetHandle(HENHMETAFILE metafile)
{
    if (metafile && metafile == handle_) return;
    Clear();
    handle_ = metafile;
    SizeFromHeader();
    Changed();
}

HPALETTE TMetafile::GetPalette()
{
    if (palette_ || !handle_) return palette_;
    UINT count = GetEnhMetaFilePaletteEntries(handle_, 0, nullptr);
    if (count == 0 || count == GDI_ERROR || count > 256) return nullptr;
    struct {
        WORD version, count;
        PALETTEENTRY entries[256];
    } log = {0x300, WORD(count), {}};
    GetEnhMetaFilePaletteEntries(handle_, count, log.entries);
    palette_ = CreatePalette(reinterpret_cast<LOGPALETTE*>(&log));
    return palette_;
}

void TMetafile::Assign(TMetafile* source)
{
    if (source == this) return;
    if (!source || !source->handle_) {
        Clear();
        return;
    }
    HENHMETAFILE copy = CopyEnhMetaFileA(source->handle_, nullptr);
    if (!copy) throw EOutOfResources("Out of system resources");
    Clear();
    handle_ = copy;
    wmf_ = source->wmf_;
    enhanced_ = source->enhanced_;
    width_ = source->width_;
    height_ = source->height_;
    inch_ = source->inch_;
    Changed();
}

void TMetafile::Assign(TPersistent* Source)
{
    if (!Source) {
        Clear();
    } else if (auto* source = dynamic_cast<TMetafile*>(Source)) {
        Assign(source);
    } else {
        TPersistent::Assign(Source);
    }
}

void TMetafile::LoadFromStream(TStream* stream)
{
    std::vector<unsigned char> data = ReadRestOfStream(stream, MaxMetafileBytes);
    int size = int(data.size());
    Check(size >= 4, "metafile truncated");
    const unsigned char* p = data.data();
    if (GetLE32(p) == PlaceableKey) {
        Check(size >= PlaceableHeaderSize, "placeable WMF header truncated");
        unsigned sum = 0;
        for (int i = 0; i < 10; ++i) sum ^= GetLE16(p + 2 * i);
        Check(sum == GetLE16(p + 20), "placeable WMF checksum");
        int width = S16(p + 10) - S16(p + 6), height = S16(p + 12) - S16(p + 8);
        int inch = int(GetLE16(p + 14));
        Check(width > 0 && height > 0 && inch > 0, "placeable WMF frame");
        LoadWindows(p + PlaceableHeaderSize, size - PlaceableHeaderSize, width, height, inch);
    } else if (GetLE32(p) == EMR_HEADER && size >= 44 && GetLE32(p + 40) == ENHMETA_SIGNATURE) {
        LoadEnhanced(data);
    } else if (size >= 4 && (GetLE16(p) == 1 || GetLE16(p) == 2) && GetLE16(p + 2) == 9) {
        LoadWindows(p, size, 0, 0, 0);
    } else {
        throw EInvalidGraphic("not a metafile");
    }
}

void TMetafile::LoadEnhanced(const std::vector<unsigned char>& data)
{
    int size = CheckEnhancedMetafile(data.data(), int(data.size()));
    HENHMETAFILE emf = SetEnhMetaFileBits(UINT(size), data.data());
    Check(emf != nullptr, "EMF rejected");
    Clear();
    handle_ = emf;
    enhanced_ = true;
    SizeFromHeader();
    Changed();
}

// width and height are in units of inch per inch (0: unknown, a plain WMF).
void TMetafile::LoadWindows(const unsigned char* data, int size, int width, int height, int inch)
{
    size = CheckWindowsMetafile(data, size);
    METAFILEPICT picture = {MM_ANISOTROPIC, 0, 0, nullptr};
    if (inch) {
        picture.xExt = MulDiv(width, 2540, inch);
        picture.yExt = MulDiv(height, 2540, inch);
    }
    HDC screen = GetDC(nullptr);
    HENHMETAFILE emf = SetWinMetaFileBits(UINT(size), data, screen, inch ? &picture : nullptr);
    ReleaseDC(nullptr, screen);
    Check(emf != nullptr, "WMF rejected");
    std::vector<unsigned char> bits(data, data + size);
    Clear();
    handle_ = emf;
    wmf_ = std::move(bits);
    enhanced_ = false;
    if (inch) {
        int ppi = PixelsPerInch(nullptr);
        width_ = MulDiv(width, ppi, inch);
        height_ = MulDiv(height, ppi, inch);
        inch_ = inch;
    } else {
        SizeFromHeader();
    }
    Changed();
}

void TMetafile::TakeRecording(HENHMETAFILE emf, std::vector<unsigned char> wmf)
{
    int width = width_, height = height_;
    Clear();
    handle_ = emf;
    wmf_ = std::move(wmf);
    if (wmf_.empty() && (width == 0 || height == 0)) {
        SizeFromHeader();
    } else {
        width_ = width;
        height_ = height;
    }
    if (!wmf_.empty()) inch_ = PixelsPerInch(nullptr);
    Changed();
}

void TMetafile::SaveToStream(TStream* stream)
{
    if (!handle_) throw EInvalidGraphicOperation("Cannot save an empty metafile");
    if (!enhanced_) {
        SavePlaceable(stream);
        return;
    }
    UINT size = GetEnhMetaFileBits(handle_, 0, nullptr);
    std::vector<unsigned char> bits(size);
    if (size == 0 || GetEnhMetaFileBits(handle_, size, bits.data()) != size)
        throw EInvalidGraphicOperation("Cannot read the metafile's records");
    stream->WriteBuffer(bits.data(), int(size));
}

void TMetafile::SavePlaceable(TStream* stream)
{
    std::vector<unsigned char> bits = wmf_;
    int inch = inch_;
    if (bits.empty()) {
        // Loses drawing records under Wine; metafiles meant for WMF are
        // recorded as WMF instead.
        HDC screen = GetDC(nullptr);
        UINT size = GetWinMetaFileBits(handle_, 0, nullptr, MM_ANISOTROPIC, screen);
        bits.resize(size);
        if (size) GetWinMetaFileBits(handle_, size, bits.data(), MM_ANISOTROPIC, screen);
        ReleaseDC(nullptr, screen);
        if (size == 0) throw EInvalidGraphicOperation("Cannot convert the metafile");
    }
    if (inch <= 0) inch = PixelsPerInch(nullptr);
    int ppi = PixelsPerInch(nullptr);
    unsigned char header[PlaceableHeaderSize] = {};
    PutLE32(header, PlaceableKey);
    PutLE16(header + 10, unsigned(MulDiv(width_, inch, ppi)));
    PutLE16(header + 12, unsigned(MulDiv(height_, inch, ppi)));
    PutLE16(header + 14, unsigned(inch));
    unsigned sum = 0;
    for (int i = 0; i < 10; ++i) sum ^= GetLE16(header + 2 * i);
    PutLE16(header + 20, sum);
    stream->WriteBuffer(header, PlaceableHeaderSize);
    stream->WriteBuffer(bits.data(), int(bits.size()));
}

void TMetafile::Draw(TCanvas* canvas, const RECT& r)
{
    if (handle_) PlayEnhMetaFile(canvas->GetHandle(), handle_, &r);
}

TMetafileCanvas::TMetafileCanvas(TMetafile* metafile, HDC referenceDevice)
    : metafile_(metafile), enhanced_(metafile ? metafile->GetEnhanced() : true)
{
    Start(referenceDevice, AnsiString(), AnsiString());
}

TMetafileCanvas::TMetafileCanvas(TMetafile* metafile, HDC referenceDevice, const AnsiString& creator,
                                 const AnsiString& description)
    : metafile_(metafile), enhanced_(metafile ? metafile->GetEnhanced() : true)
{
    Start(referenceDevice, creator, description);
}

void TMetafileCanvas::Start(HDC referenceDevice, const AnsiString& creator, const AnsiString& description)
{
    if (!metafile_) throw EInvalidOperation("No metafile to record into");
    int width = metafile_->GetWidth(), height = metafile_->GetHeight();
    if (enhanced_) {
        int ppi = PixelsPerInch(referenceDevice);
        RECT frame = {0, 0, MulDiv(width, 2540, ppi), MulDiv(height, 2540, ppi)};
        // "creator\0description\0\0"
        AnsiString text = creator + AnsiString('\0') + description + AnsiString('\0') + AnsiString('\0');
        bool named = !creator.IsEmpty() || !description.IsEmpty();
        recorder_ = CreateEnhMetaFileA(referenceDevice, nullptr, width && height ? &frame : nullptr,
                                       named ? text.c_str() : nullptr);
    } else {
        if (width <= 0 || height <= 0)
            throw EInvalidGraphicOperation("Set the metafile's size before recording a Windows metafile");
        recorder_ = CreateMetaFileA(nullptr);
        if (recorder_) {
            SetMapMode(recorder_, MM_ANISOTROPIC);
            SetWindowOrgEx(recorder_, 0, 0, nullptr);
            SetWindowExtEx(recorder_, width, height, nullptr);
        }
    }
    if (!recorder_) throw EOutOfResources("Out of system resources");
    SetHandle(recorder_);
}

TMetafileCanvas::~TMetafileCanvas()
{
    SetHandle(nullptr);
    try {
        if (enhanced_) {
            HENHMETAFILE emf = CloseEnhMetaFile(recorder_);
            if (emf) metafile_->TakeRecording(emf, {});
            return;
        }
        HMETAFILE wmf = CloseMetaFile(recorder_);
        if (!wmf) return;
        UINT size = GetMetaFileBitsEx(wmf, 0, nullptr);
        std::vector<unsigned char> bits(size);
        GetMetaFileBitsEx(wmf, size, bits.data());
        DeleteMetaFile(wmf);
        int ppi = PixelsPerInch(nullptr);
        METAFILEPICT picture = {MM_ANISOTROPIC, MulDiv(metafile_->GetWidth(), 2540, ppi),
                                MulDiv(metafile_->GetHeight(), 2540, ppi), nullptr};
        HDC screen = GetDC(nullptr);
        HENHMETAFILE emf = SetWinMetaFileBits(size, bits.data(), screen, &picture);
        ReleaseDC(nullptr, screen);
        if (emf) metafile_->TakeRecording(emf, std::move(bits));
    } catch (...) {
        // A destructor cannot report; the metafile keeps its old picture.
    }
}
