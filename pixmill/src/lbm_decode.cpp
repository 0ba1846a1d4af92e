// The rows of an IFF BODY: bit planes interleaved row by row (ILBM), or one
// index byte per pixel ("PBM "), each stored row coded on its own.
#include <string.h>

#include "colconv_rows.h"
#include "gfxfile.h"
#include "lbm_codec.h"
#include "picture_clip.h"
#include "scratch_block.h"

namespace {

class RowDecoder {
public:
    RowDecoder(StreamBuf& in, const LbmHeader& h, bool chunky)
        : in_(in), width_(h.width), planes_(h.planes), chunky_(chunky), packed_(h.compression == 1),
          storedPlanes_(chunky ? 1 : h.planes + (h.masking == 1)),
          rowBytes_(chunky ? LbmChunkyRowBytes(h.width) : LbmPlaneRowBytes(h.width))
    {
        stored_.Take(uint64_t(rowBytes_));
        if (planes_ == 24)
            pixels_.Take(uint64_t(width_));
        else
            indices_.Take(uint64_t(width_));
    }

    // Reads the next row: afterwards Indices() or Pixels() hold it.
    void Next()
    {
        if (chunky_) {
            ReadStored();
            return;
        }
        if (planes_ == 24)
            memset(pixels_.Get(), 0, size_t(width_) * sizeof(unsigned long));
        else
            memset(indices_.Get(), 0, size_t(width_));
        // Planes past the colour planes are the mask, read only to pass it.
        for (int k = 0; k < storedPlanes_; ++k) {
            ReadStored();
            if (k >= planes_) continue;
            if (planes_ == 24)
                Colconv::PlaneToPixels(stored_.Get(), pixels_.Get(), width_, LbmTrueColourMask(k));
            else
                Colconv::PlaneToBytes(stored_.Get(), indices_.Get(), width_, static_cast<unsigned char>(1 << k));
        }
    }

    const unsigned char* Indices() const { return chunky_ ? stored_.Get() : indices_.Get(); }
    const unsigned long* Pixels() const { return pixels_.Get(); }

private:
    void ReadStored()
    {
        if (packed_)
            LbmUnpackRow(in_, stored_.Get(), rowBytes_);
        else
            in_.Read(stored_.Get(), rowBytes_);
    }

    StreamBuf& in_;
    int width_, planes_;
    bool chunky_, packed_;
    int storedPlanes_, rowBytes_;
    ScratchBlock<unsigned char> stored_;
    ScratchBlock<unsigned char> indices_;
    ScratchBlock<unsigned long> pixels_;
};

}  // namespace

// Rows above b's top are decoded and dropped (the coding runs through them);
// nothing after the last visible row is read.
bool LbmDecodeBody(Buffer& b, StreamBuf& in, const LbmHeader& h, bool chunky, const unsigned long* table,
                   int64_t start, int64_t total)
{
    Visible v = ClipToBuffer(b, h.width, h.height);
    int n = v.x1 - v.x0;
    if (n <= 0 || v.y1 <= v.y0) return true;
    RowDecoder rows(in, h, chunky);
    for (int y = 0; y < v.y1; ++y) {
        rows.Next();
        if (y >= v.y0) {
            unsigned long* out = b.At(v.x0, y);
            if (h.planes == 24)
                Colconv::CopyRGB32s(rows.Pixels() + v.x0, out, n);
            else
                Colconv::LookupRGB32s(rows.Indices() + v.x0, out, n, table);
        }
        if (!GFXFile::Step(GFXFile::Percent(start + in.Consumed(), total))) return false;
    }
    return true;
}
