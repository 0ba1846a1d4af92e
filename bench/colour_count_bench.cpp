// The colour counter (32 passes over a 64 KB bit map) on 16 Mpx pictures,
// beside two ways that spend memory instead: one pass over a 2 MB bit map
// of all 2^24 colours, and sorting a copy of the colours. All three must
// agree on the count.

#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <vector>

#include "bench_ratio.h"
#include "bench_timer.h"
#include "buffer.h"
#include "colour_count.h"

static const int Side = 4096;

static int OnePassCount(const Buffer& b)
{
    std::vector<unsigned char> bits(1 << 21, 0);
    int found = 0;
    for (int y = b.top; y <= b.bottom; ++y) {
        const unsigned long* row = b.At(b.left, y);
        for (int x = 0; x < b.Width(); ++x) {
            unsigned long c = row[x] & 0xFFFFFF;
            unsigned char mask = (unsigned char)(1u << (c & 7));
            if (bits[c >> 3] & mask) continue;
            bits[c >> 3] |= mask;
            ++found;
        }
    }
    return found;
}

static int SortedCount(const Buffer& b)
{
    std::vector<unsigned long> colours;
    colours.reserve(size_t(b.Width()) * b.Height());
    for (int y = b.top; y <= b.bottom; ++y)
        for (int x = b.left; x <= b.right; ++x) colours.push_back(*b.At(x, y) & 0xFFFFFF);
    std::sort(colours.begin(), colours.end());
    return int(std::unique(colours.begin(), colours.end()) - colours.begin());
}

static void Compare(const char* name, const Buffer& b)
{
    int ours = 0, onePass = 0, sorted = 0;
    double tOurs = BestTime([&] { ours = CountColors(b); }, 3);
    double tOne = BestTime([&] { onePass = OnePassCount(b); }, 3);
    double tSorted = BestTime([&] { sorted = SortedCount(b); }, 2);
    if (ours != onePass || ours != sorted) Mismatch(name);
    printf("%s: %d colours, %.3f s (one pass %.3f s, sorted %.3f s)\n", name, ours, tOurs, tOne, tSorted);
    char operation[64];
    snprintf(operation, sizeof operation, "colour count, %s", name);
    Ratio(operation, "one pass over a 2 MB bit map", tOurs, tOne);
    Ratio(operation, "sorting the colours", tOurs, tSorted);
}

int main()
{
    Buffer b;
    b.Alloc(Pair<int>{Side, Side});
    for (int y = 0; y < Side; ++y)
        for (int x = 0; x < Side; ++x) *b.At(x, y) = (unsigned long)(y * Side + x);
    Compare("every 24-bit colour", b);
    unsigned state = 1;
    for (int y = 0; y < Side; ++y)
        for (int x = 0; x < Side; ++x) {
            state = state * 1103515245u + 12345u;
            // Smooth areas with noise, as a photograph has.
            *b.At(x, y) = ((x / 16) << 16 | (y / 16) << 8 | (x + y) / 32) + ((state >> 20) & 7);
        }
    Compare("photograph-like", b);
    return 0;
}
