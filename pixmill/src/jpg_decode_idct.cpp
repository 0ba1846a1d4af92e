// Separable 8x8 integer inverse DCT: two passes, each transforming the 8 rows
// of its input and writing them as the columns of its output, so the second
// pass restores the orientation.
//
// Most blocks of real pictures hold a few low-frequency coefficients, so the
// work is cut where inputs are known to be zero: an all-zero row, a row of
// DC alone, a row whose last four inputs are zero. Each shortcut computes
// exactly what the full formula gives for those zeros, so the result never
// depends on which path ran.
//
// Arithmetic wraps (unsigned) rather than overflowing: crafted coefficients
// can push the products past 2^31, which must not be undefined behaviour.
// For every valid stream no intermediate value comes near that, so wrapping
// changes nothing there.
#include "jpg_decode_idct.h"

#include "jpg_decode_paths.h"

namespace Jpg {

namespace {

typedef uint32_t Wrap;

inline int32_t Shift(Wrap v, int n)
{
    return int32_t(v) >> n;  // arithmetic
}

// One row x[0], x[step] .. x[7 * step] into y[0..7], each before its final
// rounding shift. Narrow: x4..x7 are zero (the compiler drops their terms).
template <bool Narrow, class In> inline void Row(const In* x, int step, Wrap* y)
{
    const Wrap x0 = Wrap(x[0]), x1 = Wrap(x[step]), x2 = Wrap(x[2 * step]), x3 = Wrap(x[3 * step]);
    const Wrap x4 = Narrow ? 0 : Wrap(x[4 * step]), x5 = Narrow ? 0 : Wrap(x[5 * step]);
    const Wrap x6 = Narrow ? 0 : Wrap(x[6 * step]), x7 = Narrow ? 0 : Wrap(x[7 * step]);
    const Wrap f = x2 * 60547u + x6 * 25080u, g = (x0 + x4) * 46341u, a0 = f + g;
    const Wrap h = x2 * 25080u - x6 * 60547u, l = (x0 - x4) * 46341u, a1 = h + l;
    const Wrap t = x1 << 2, r = x7 << 2;
    const Wrap c = Wrap(Shift((x3 + x5) * 46341u + 8192u, 14));
    const Wrap d = Wrap(Shift((x3 - x5) * 46341u + 8192u, 14));
    const Wrap u = t + c, w = r + d, v = r - d, e = t - c;
    const Wrap b = u * 16069u + w * 3196u, bb = u * 3196u - w * 16069u;
    const Wrap p = e * 9102u + v * 13623u, q = e * 13623u - v * 9102u;
    y[0] = a0 + b + 0x10000u;
    y[1] = a1 + q + 0x10000u;
    y[2] = l - h + p + 0x10000u;
    y[3] = g - f + bb + 0x10000u;
    y[4] = g - f - bb + 0x10000u;
    y[5] = l - h - p + 0x10000u;
    y[6] = a1 - q + 0x10000u;
    y[7] = a0 - b + 0x10000u;
}

// Every output of a row whose only non-zero input is x0.
inline int32_t DcOnly(Wrap x0)
{
    return Shift(x0 * 46341u + 0x10000u, 17);
}

// The second pass's result is held in 16 bits, as the sample minus 128.
inline unsigned char Sample(int32_t v)
{
    const int s = int16_t(uint16_t(v)) + 128;
    if (unsigned(s) <= 255) return static_cast<unsigned char>(s);
    return s < 0 ? 0 : 255;
}

// Pass 1 on the block's rows into work (transposed); returns the last row
// with a non-zero coefficient, -1 when there is none.
int FirstPass(const int16_t* coefficients, int32_t* work)
{
    int lastRow = -1;
    for (int row = 0; row < 8; ++row) {
        const int16_t* x = coefficients + 8 * row;
        const int high = x[4] | x[5] | x[6] | x[7];
        const int ac = x[1] | x[2] | x[3] | high;
        if (ac == 0) {
            const int32_t dc = x[0] ? DcOnly(Wrap(x[0])) : 0;
            for (int i = 0; i < 8; ++i) work[8 * i + row] = dc;
            if (x[0]) lastRow = row;
            continue;
        }
        lastRow = row;
        Wrap y[8];
        if (high == 0)
            Row<true>(x, 1, y);
        else
            Row<false>(x, 1, y);
        for (int i = 0; i < 8; ++i) work[8 * i + row] = Shift(y[i], 17);
    }
    return lastRow;
}

// Pass 2: work row i becomes column i of the output. Inputs past lastRow are
// zero in every work row.
void SecondPass(const int32_t* work, int lastRow, unsigned char* out, int stride)
{
    for (int i = 0; i < 8; ++i) {
        const int32_t* x = work + 8 * i;
        unsigned char* column = out + i;
        if (lastRow <= 0) {
            const unsigned char s = Sample(DcOnly(Wrap(x[0])));
            for (int j = 0; j < 8; ++j) column[j * stride] = s;
            continue;
        }
        Wrap y[8];
        if (lastRow < 4)
            Row<true>(x, 1, y);
        else
            Row<false>(x, 1, y);
        for (int j = 0; j < 8; ++j) column[j * stride] = Sample(Shift(y[j], 17));
    }
}

}  // namespace

void InverseTransform(const int16_t* coefficients, unsigned char* out, int stride)
{
    int ac = 0;
    for (int k = 1; k < 64; ++k) ac |= coefficients[k];
    if (ac == 0) {
        // A flat block, common in smooth areas: one value, as pass 1 and
        // pass 2 of DC alone give it.
        const unsigned char s = Sample(DcOnly(Wrap(DcOnly(Wrap(coefficients[0])))));
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) out[y * stride + x] = s;
        return;
    }
    int32_t work[64];
    SecondPass(work, FirstPass(coefficients, work), out, stride);
}

Transform ChosenTransform()
{
#if defined(__SSE2__)
    if (VectorPaths()) return InverseTransformSse2;
#endif
    return InverseTransform;
}

}  // namespace Jpg
