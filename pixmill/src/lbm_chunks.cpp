// IFF chunks and the BMHD picture header. Numbers are big-endian.
#include <string.h>

#include "exceptions.h"
#include "lbm_codec.h"

namespace {

// StreamBuf::Skip takes an int; chunk lengths go up to 4 GB.
void SkipLong(StreamBuf& in, uint64_t n)
{
    const int Piece = 1 << 30;
    while (n > 0) {
        int step = n > uint64_t(Piece) ? Piece : int(n);
        in.Skip(step);
        n -= uint64_t(step);
    }
}

}  // namespace

LbmHeader LbmParseHeader(const unsigned char* p)
{
    LbmHeader h;
    h.width = int(GetBE16(p));
    h.height = int(GetBE16(p + 2));
    h.x = static_cast<int16_t>(GetBE16(p + 4));
    h.y = static_cast<int16_t>(GetBE16(p + 6));
    h.planes = p[8];
    h.masking = p[9];
    h.compression = p[10];
    h.colour1 = p[12];
    h.colour2 = p[13];
    return h;
}

void LbmStoreHeader(const LbmHeader& h, unsigned char* p)
{
    memset(p, 0, LbmHeaderBytes);
    PutBE16(p, unsigned(h.width));
    PutBE16(p + 2, unsigned(h.height));
    PutBE16(p + 4, unsigned(h.x) & 0xFFFF);
    PutBE16(p + 6, unsigned(h.y) & 0xFFFF);
    p[8] = static_cast<unsigned char>(h.planes);
    p[10] = static_cast<unsigned char>(h.compression);
    p[12] = static_cast<unsigned char>(h.colour1);
    p[13] = static_cast<unsigned char>(h.colour2);
    p[14] = 1;
    p[15] = 1;
    PutBE16(p + 16, unsigned(h.width));
    PutBE16(p + 18, unsigned(h.height));
}

const char* LbmUnsupported(const LbmHeader& h, bool chunky)
{
    if ((h.planes < 1 || h.planes > 8) && h.planes != 24) return "IFF: planes not 1 to 8 or 24";
    if (h.compression > 1) return "IFF: compression neither none nor ByteRun1";
    if (chunky && h.planes != 8) return "IFF: PBM picture without 8 planes";
    if (chunky && h.masking == 1) return "IFF: PBM picture with a mask plane";
    return nullptr;
}

int LbmPlaneRowBytes(int width)
{
    return (width + 15) / 16 * 2;
}

int LbmChunkyRowBytes(int width)
{
    return (width + 1) & ~1;
}

unsigned long LbmTrueColourMask(int plane)
{
    int channel = plane < 8 ? 16 : plane < 16 ? 8 : 0;
    return 1ul << (channel + plane % 8);
}

uint32_t LbmFindChunk(StreamBuf& in, const char* id)
{
    for (;;) {
        unsigned char head[LbmChunkHeadBytes];
        in.Read(head, LbmChunkHeadBytes);
        uint32_t length = GetBE32(head + 4);
        if (memcmp(head, id, 4) == 0) return length;
        LbmSkipRest(in, length, 0);
    }
}

void LbmSkipRest(StreamBuf& in, uint32_t length, uint32_t used)
{
    SkipLong(in, uint64_t(length) - used + (length & 1));
}
