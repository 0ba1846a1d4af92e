#include "least_used_colour.h"

#include "paintkit.h"

namespace {

// Index of the first zero count, or else of the smallest (the lowest of
// equals); found says whether it was a zero.
int LeastCounted(const unsigned (&counts)[256], bool& found)
{
    int least = 0;
    for (int i = 0; i < 256; ++i) {
        if (counts[i] == 0) {
            found = true;
            return i;
        }
        if (counts[i] < counts[least]) least = i;
    }
    found = false;
    return least;
}

// Counts channel (a shift of 16, 8 or 0) over the painting pixels whose
// colour masked by `within` equals `match`.
template <class Count> void CountChannel(const Buffer& brush, unsigned long within, unsigned long match, int shift,
                                         Count& counts)
{
    if (!brush.pixels) return;
    for (int y = brush.top; y <= brush.bottom; ++y) {
        const unsigned long* p = brush.At(brush.left, y);
        for (int x = 0; x < brush.Width(); ++x) {
            if (p[x] == KeyPixel) continue;
            unsigned long c = p[x] & 0x00FFFFFF;
            if ((c & within) == match) ++counts[(c >> shift) & 0xFF];
        }
    }
}

}  // namespace

unsigned long LeastUsedColour(const Buffer& brush, unsigned long fallback)
{
    unsigned long key = 0, within = 0;
    for (int shift : {16, 8, 0}) {
        unsigned counts[256] = {};
        CountChannel(brush, within, key, shift, counts);
        bool found = false;
        key |= (unsigned long)LeastCounted(counts, found) << shift;
        if (found) return key;
        within |= 0xFFul << shift;
    }
    return fallback;
}
