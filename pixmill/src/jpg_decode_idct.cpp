// Separable 8x8 integer inverse DCT: two passes, each transforming the 8 rows
// of its input and writing them as the columns of its output, so the second
// pass restores the orientation.
//
// Arithmetic wraps (unsigned) rather than overflowing: crafted coefficients
// can push the products past 2^31, which must not be undefined behaviour.
// For every valid stream no intermediate value comes near that, so wrapping
// changes nothing there.
#include "jpg_decode_idct.h"

namespace Jpg {

namespace {

typedef uint32_t Wrap;

inline int32_t Shift(Wrap v, int n)
{
    return int32_t(v) >> n;  // arithmetic
}

// One row x[0..7]; the outputs go to out[0], out[step], ... out[7 * step].
template <class In> void Row(const In* x, int32_t* out, int step)
{
    const Wrap x0 = Wrap(x[0]), x1 = Wrap(x[1]), x2 = Wrap(x[2]), x3 = Wrap(x[3]);
    const Wrap x4 = Wrap(x[4]), x5 = Wrap(x[5]), x6 = Wrap(x[6]), x7 = Wrap(x[7]);
    if ((x1 | x2 | x3 | x4 | x5 | x6 | x7) == 0) {
        // Every output reduces to the DC term.
        const int32_t dc = Shift(x0 * 46341u + 0x10000u, 17);
        for (int i = 0; i < 8; ++i) out[i * step] = dc;
        return;
    }
    const Wrap f = x2 * 60547u + x6 * 25080u, g = (x0 + x4) * 46341u, a0 = f + g;
    const Wrap h = x2 * 25080u - x6 * 60547u, l = (x0 - x4) * 46341u, a1 = h + l;
    const Wrap t = x1 << 2, r = x7 << 2;
    const Wrap c = Wrap(Shift((x3 + x5) * 46341u + 8192u, 14));
    const Wrap d = Wrap(Shift((x3 - x5) * 46341u + 8192u, 14));
    const Wrap u = t + c, w = r + d, v = r - d, e = t - c;
    const Wrap b = u * 16069u + w * 3196u, bb = u * 3196u - w * 16069u;
    const Wrap p = e * 9102u + v * 13623u, q = e * 13623u - v * 9102u;
    out[0 * step] = Shift(a0 + b + 0x10000u, 17);
    out[1 * step] = Shift(a1 + q + 0x10000u, 17);
    out[2 * step] = Shift(l - h + p + 0x10000u, 17);
    out[3 * step] = Shift(g - f + bb + 0x10000u, 17);
    out[4 * step] = Shift(g - f - bb + 0x10000u, 17);
    out[5 * step] = Shift(l - h - p + 0x10000u, 17);
    out[6 * step] = Shift(a1 - q + 0x10000u, 17);
    out[7 * step] = Shift(a0 - b + 0x10000u, 17);
}

}  // namespace

void InverseTransform(const int16_t* coefficients, unsigned char* out, int stride)
{
    int32_t work[64], result[64];
    for (int row = 0; row < 8; ++row) Row(coefficients + 8 * row, work + row, 8);
    for (int row = 0; row < 8; ++row) Row(work + 8 * row, result + row, 8);
    // The transform's result is held in 16 bits, as the sample minus 128.
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            int v = int16_t(uint16_t(result[8 * y + x])) + 128;
            out[y * stride + x] = static_cast<unsigned char>(v < 0 ? 0 : v > 255 ? 255 : v);
        }
}

}  // namespace Jpg
