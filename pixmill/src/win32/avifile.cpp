// AVI: read-only; one frame of the file's first video stream, decoded by the
// platform's AVI file library. The library opens the file itself, by the
// input stream's file name. Image n of a file is frame n.
#include <string.h>

#include "winapi.h"
// after winapi.h: it needs the Windows types
#include <vfw.h>

#include <vector>

#include "avi_check.h"
#include "colconv.h"
#include "exceptions.h"
#include "gfxfile.h"
#include "graphic_render.h"
#include "picture_clip.h"

namespace {

// Formats larger than this are no bitmap header a decoder would give.
const LONG MaxFormatBytes = 1 << 20;

// The library refuses every file until it is initialised; the count it
// keeps makes nested use safe.
class AviLibrary {
public:
    AviLibrary() { AVIFileInit(); }
    ~AviLibrary() { AVIFileExit(); }
    AviLibrary(const AviLibrary&) = delete;
    AviLibrary& operator=(const AviLibrary&) = delete;
};

class AviFile {
public:
    explicit AviFile(const AnsiString& name)
    {
        if (!name.IsEmpty() && AVIFileOpenA(&file_, name.c_str(), OF_READ | OF_SHARE_DENY_NONE, nullptr) != 0)
            file_ = nullptr;
    }
    ~AviFile()
    {
        if (file_) AVIFileRelease(file_);
    }
    AviFile(const AviFile&) = delete;
    AviFile& operator=(const AviFile&) = delete;
    PAVIFILE Get() const { return file_; }

private:
    PAVIFILE file_ = nullptr;
};

class VideoStream {
public:
    explicit VideoStream(PAVIFILE file)
    {
        if (AVIFileGetStream(file, &stream_, streamtypeVIDEO, 0) != 0) stream_ = nullptr;
    }
    ~VideoStream()
    {
        if (stream_) AVIStreamRelease(stream_);
    }
    VideoStream(const VideoStream&) = delete;
    VideoStream& operator=(const VideoStream&) = delete;
    PAVISTREAM Get() const { return stream_; }

private:
    PAVISTREAM stream_ = nullptr;
};

class FrameDecoder {
public:
    FrameDecoder(PAVISTREAM stream, BITMAPINFOHEADER* wanted) : frames_(AVIStreamGetFrameOpen(stream, wanted)) {}
    ~FrameDecoder()
    {
        if (frames_) AVIStreamGetFrameClose(frames_);
    }
    FrameDecoder(const FrameDecoder&) = delete;
    FrameDecoder& operator=(const FrameDecoder&) = delete;
    PGETFRAME Get() const { return frames_; }

private:
    PGETFRAME frames_;
};

// The stream's format as a bitmap header; false when it has none.
bool ReadFormat(PAVISTREAM stream, BITMAPINFOHEADER& header)
{
    LONG start = AVIStreamStart(stream);
    LONG size = 0;
    if (AVIStreamReadFormat(stream, start, nullptr, &size) != 0) return false;
    if (size < LONG(sizeof header) || size > MaxFormatBytes) return false;
    std::vector<unsigned char> format(size_t(size), 0);
    if (AVIStreamReadFormat(stream, start, format.data(), &size) != 0) return false;
    memcpy(&header, format.data(), sizeof header);
    return true;
}

int Height(const BITMAPINFOHEADER& h)
{
    long long height = h.biHeight < 0 ? -(long long)h.biHeight : h.biHeight;
    return height > 0x7FFFFFFF ? 0x7FFFFFFF : int(height);
}

void Describe(const BITMAPINFOHEADER* h, LONG length, GFXFileDesc* d)
{
    uint8_t* keep = d->paletteData;
    memset(d, 0, sizeof *d);
    d->paletteData = keep;
    if (!h) return;
    d->width = h->biWidth;
    d->height = Height(*h);
    d->colour = 1;
    d->palette = h->biBitCount < 9;
    d->bits = uint8_t(h->biBitCount);
    d->channelBits = 8;
    d->images = length > 0 ? length : 0;
}

// Uncompressed frames are handed on as the file stores them, and the
// library trusts the format's size: the stored frame must hold every row.
void CheckStoredFrame(PAVISTREAM stream, LONG position, const BITMAPINFOHEADER& h)
{
    if (h.biCompression != BI_RGB) return;
    int bits = h.biBitCount;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        throw EInvalidImage("AVI: bit count of the frames");
    LONG bytes = 0, samples = 0;
    if (AVIStreamRead(stream, position, 1, nullptr, 0, &bytes, &samples) != 0)
        throw EInvalidImage("AVI: the frame cannot be read");
    long long stride = ((long long)h.biWidth * bits + 31) / 32 * 4;
    if (bytes < stride * Height(h)) throw EInvalidImage("AVI: frame shorter than its rows");
}

// A decoded frame: a bitmap header, its colour table, then rows of B, G, R
// (bottom-up unless the height is negative), clipped into b.
void PutFrame(Buffer& b, const BITMAPINFOHEADER* f, int width, int height)
{
    if (f->biBitCount != 24 || f->biCompression != BI_RGB || f->biWidth != width || Height(*f) != height)
        throw EInvalidImage("AVI: the decoder gave no 24-bit frame of the stream's size");
    int frameHeight = height;
    Visible v = ClipToBuffer(b, width, height);
    int n = v.x1 - v.x0;
    if (n <= 0) return;
    const unsigned char* bits = reinterpret_cast<const unsigned char*>(f) + f->biSize + f->biClrUsed * 4;
    size_t stride = (size_t(width) * 3 + 3) & ~size_t(3);
    for (int y = v.y0; y < v.y1; ++y) {
        size_t line = f->biHeight > 0 ? size_t(frameHeight - 1 - y) : size_t(y);
        unsigned char* row = const_cast<unsigned char*>(bits + line * stride + size_t(v.x0) * 3);
        Colconv::RGB24RGB32s(row, b.At(v.x0, y), n);
    }
}

class AVIFile : public GFXFile {
public:
    AVIFile() : GFXFile("AVI", "*.AVI", 0, 0, false, 0) {}

    int Test(TInputStream* s, GFXFileDesc* d) override;
    bool Load(Buffer& b, TInputStream* s, GFXFileDesc* d, GFXtra32* x, int image) override;
};

// The structure is checked on the stream's data before the library sees
// the file.
bool SoundStructure(TInputStream* s)
{
    int start = s->GetPosition();
    bool sound = true;
    try {
        CheckAviStructure(s);
    } catch (...) {
        sound = false;
    }
    s->Seek(start, soFromBeginning);
    return sound;
}

// The answer does not depend on d: 1 when the video format is readable.
int AVIFile::Test(TInputStream* s, GFXFileDesc* d)
{
    if (!SoundStructure(s)) return 0;
    AviLibrary library;
    AviFile file(s->FileName);
    if (!file.Get()) return 0;
    VideoStream video(file.Get());
    BITMAPINFOHEADER header;
    bool known = video.Get() && ReadFormat(video.Get(), header);
    LONG length = known ? AVIStreamLength(video.Get()) : 0;
    if (d) Describe(known ? &header : nullptr, length, d);
    return known ? 1 : -1;
}

bool AVIFile::Load(Buffer& b, TInputStream* s, GFXFileDesc*, GFXtra32*, int image)
{
    CheckAviStructure(s);
    AviLibrary library;
    AviFile file(s->FileName);
    if (!file.Get()) throw EInvalidImage("AVI: the file cannot be opened as a video file");
    VideoStream video(file.Get());
    if (!video.Get()) throw EInvalidImage("AVI: no video stream");
    BITMAPINFOHEADER header;
    if (!ReadFormat(video.Get(), header)) throw EInvalidImage("AVI: the video stream has no bitmap format");
    int width = header.biWidth, height = Height(header);
    PreparePicture(b, width, height, "AVI");

    LONG length = AVIStreamLength(video.Get());
    if (length <= 0 || image < 0 || image >= length) return true;
    LONG start = AVIStreamStart(video.Get());
    LONG position = image + (start > 0 ? start : 0);
    if (!GFXFile::Step(50)) return false;
    CheckStoredFrame(video.Get(), position, header);
    BITMAPINFOHEADER wanted = {};
    wanted.biSize = sizeof wanted;
    wanted.biWidth = width;
    wanted.biHeight = height;
    wanted.biPlanes = 1;
    wanted.biBitCount = 24;
    wanted.biCompression = BI_RGB;
    FrameDecoder decoder(video.Get(), &wanted);
    if (!decoder.Get()) throw EInvalidImage("AVI: no decoder for the video stream");
    const void* frame = AVIStreamGetFrame(decoder.Get(), position);
    if (!frame) throw EInvalidImage("AVI: the frame cannot be decoded");
    PutFrame(b, static_cast<const BITMAPINFOHEADER*>(frame), width, height);
    return true;
}

}  // namespace

GFXFile* AVIFormat()
{
    static AVIFile format;
    return &format;
}
