#include "acffile.h"

namespace {

void PutBE16(unsigned char* p, int v)
{
    p[0] = (unsigned char)((v >> 8) & 0xFF);
    p[1] = (unsigned char)(v & 0xFF);
}

int GetBE16(const unsigned char* p) { return (short)(unsigned short)(p[0] << 8 | p[1]); }

int Clamp(int v, int lo, int hi) { return v < lo ? lo : v > hi ? hi : v; }

}  // namespace

void EncodeAcf(const ConvolveKernel& k, unsigned char out[AcfFileSize])
{
    for (int i = 0; i < 25; i++) PutBE16(out + 2 * i, k.weights[i]);
    PutBE16(out + 50, k.div);
    PutBE16(out + 52, k.bias);
}

bool DecodeAcf(const unsigned char* data, size_t n, ConvolveKernel& k)
{
    if (n < AcfFileSize) return false;
    for (int i = 0; i < 25; i++) k.weights[i] = (short)GetBE16(data + 2 * i);
    k.div = Clamp(GetBE16(data + 50), ConvolveMinDiv, ConvolveMaxDiv);
    k.bias = Clamp(GetBE16(data + 52), ConvolveMinBias, ConvolveMaxBias);
    return true;
}
