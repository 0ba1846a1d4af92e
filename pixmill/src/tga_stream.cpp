// Run-length packet decoding for the TGA reader.
#include "tga_stream.h"

#include <string.h>

TGAStream::TGAStream(TStream* s, int bufferSize, int pixelBytes, bool runLength)
    : StreamBuf(s, bufferSize), value{0, 0, 0, 0}, state(0),
      pixelSize(pixelBytes >= 1 && pixelBytes <= 4 ? pixelBytes : 1), packed(runLength)
{
}

// Bit 7 of the header: one pixel repeated (header & 0x7F) + 1 times;
// clear: header + 1 raw pixels follow.
void TGAStream::StartPacket()
{
    unsigned char header = Byte();
    if (header & 0x80) {
        Read(value, pixelSize);
        state = -((header & 0x7F) + 1);
    } else {
        state = header + 1;
    }
}

void TGAStream::Repeat(unsigned char* dst, int n)
{
    // Runs of colour-mapped and grey pixels are single bytes: no per-pixel
    // copy calls for those.
    if (pixelSize == 1) {
        memset(dst, value[0], size_t(n));
        return;
    }
    for (int i = 0; i < n; ++i, dst += pixelSize)
        for (int k = 0; k < pixelSize; ++k) dst[k] = value[k];
}

static void ReversePixels(unsigned char* p, int n, int pixelSize)
{
    unsigned char* a = p;
    unsigned char* b = p + (n - 1) * pixelSize;
    for (; a < b; a += pixelSize, b -= pixelSize)
        for (int k = 0; k < pixelSize; ++k) {
            unsigned char t = a[k];
            a[k] = b[k];
            b[k] = t;
        }
}

void TGAStream::SkipPixels(int n)
{
    if (!packed) {
        Skip(n * pixelSize);
        return;
    }
    while (n > 0) {
        if (state == 0) StartPacket();
        if (state > 0) {
            int k = state < n ? state : n;
            Skip(k * pixelSize);
            state -= k;
            n -= k;
        } else {
            int k = -state < n ? -state : n;
            state += k;
            n -= k;
        }
    }
}

void TGAStream::ReadPixels(unsigned char* dst, int n)
{
    if (!packed) {
        Read(dst, n * pixelSize);
        return;
    }
    while (n > 0) {
        if (state == 0) StartPacket();
        int k;
        if (state > 0) {
            k = state < n ? state : n;
            Read(dst, k * pixelSize);
            state -= k;
        } else {
            k = -state < n ? -state : n;
            Repeat(dst, k);
            state += k;
        }
        dst += k * pixelSize;
        n -= k;
    }
}

void TGAStream::ReadPixelsBackwards(unsigned char* dst, int n)
{
    if (!packed) {
        Read(dst, n * pixelSize);
        ReversePixels(dst, n, pixelSize);
        return;
    }
    unsigned char* end = dst + n * pixelSize;
    while (n > 0) {
        if (state == 0) StartPacket();
        int k;
        if (state > 0) {
            k = state < n ? state : n;
            Read(end - k * pixelSize, k * pixelSize);
            ReversePixels(end - k * pixelSize, k, pixelSize);
            state -= k;
        } else {
            k = -state < n ? -state : n;
            Repeat(end - k * pixelSize, k);
            state += k;
        }
        end -= k * pixelSize;
        n -= k;
    }
}
