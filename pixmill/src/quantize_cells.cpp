// Building the candidate lists of the colour cube's cells.
#include "quantize_cells.h"

#include <math.h>

namespace {

// A colour of a cell is at most h = 8 * sqrt(3) from the cell's centre (the
// corner 8 below it on every axis). If O is the squared distance from the
// centre to the closest entry, every colour of the cell has an entry within
// sqrt(O) + h, so its nearest entry lies within sqrt(O) + 2h of the centre.
// Radius h alone would miss entries just beyond it that are nearer to a corner.
const double HalfDiagonal = 13.856406460551018;  // 8 * sqrt(3)

inline long Limit(long o)
{
    const double r = sqrt(double(o)) + 2 * HalfDiagonal;
    // The margin only ever adds an entry; rounding must never drop one.
    return long(r * r + 0.001);
}

// Whether entry e is at least as near as entry o to some colour of the cell
// whose lowest colour is low: |x - e|^2 - |x - o|^2 is linear in x, so its
// least value over the cell is at a corner chosen axis by axis. An entry that
// fails is never the nearest in the cell, o always being as near; without
// this test, palettes packed into part of the cube fill distant cells' lists
// with nearly every entry.
inline bool Rivals(const unsigned char* e, const unsigned char* o, const int* low)
{
    long least = 0;
    for (int k = 0; k < 3; k++) {
        const long step = long(e[k]) - o[k], x = step > 0 ? low[k] + 15 : low[k];
        least += step * (long(e[k]) + o[k] - 2 * x);
    }
    return least <= 0;
}

// Squared distances from a cell's centre to every entry, walked across the
// grid by additions: along an axis (c + 16 - e)^2 - (c - e)^2 = 32 (c - e) + 256,
// and that step grows by 512 per cell.
struct Walk {
    int m;
    long red[256], redStep[256];
    long green0[256], greenStep0[256], green[256], greenStep[256];
    long blue0[256], blueStep0[256];
    long d[256], blueStep[256];

    Walk(const unsigned char* entries, int count) : m(count)
    {
        for (int e = 0; e < m; e++) {
            const long r = 8 - entries[3 * e], g = 8 - entries[3 * e + 1], b = 8 - entries[3 * e + 2];
            red[e] = r * r;
            redStep[e] = 32 * r + 256;
            green0[e] = g * g;
            greenStep0[e] = 32 * g + 256;
            blue0[e] = b * b;
            blueStep0[e] = 32 * b + 256;
        }
    }
    void StartRed()
    {
        for (int e = 0; e < m; e++) {
            green[e] = green0[e];
            greenStep[e] = greenStep0[e];
        }
    }
    void StartGreen()
    {
        for (int e = 0; e < m; e++) {
            d[e] = red[e] + green[e] + blue0[e];
            blueStep[e] = blueStep0[e];
        }
    }
    void NextBlue()
    {
        for (int e = 0; e < m; e++) {
            d[e] += blueStep[e];
            blueStep[e] += 512;
        }
    }
    void NextGreen()
    {
        for (int e = 0; e < m; e++) {
            green[e] += greenStep[e];
            greenStep[e] += 512;
        }
    }
    void NextRed()
    {
        for (int e = 0; e < m; e++) {
            red[e] += redStep[e];
            redStep[e] += 512;
        }
    }
};

}  // namespace

CellLists::CellLists(const unsigned char* pal_, int first, int n)
    : pal(pal_), store(StoreBytes), used(0), shared(false)
{
    Build(first, n);
}

void CellLists::Build(int first, int n)
{
    unsigned char* counts = store.Get();
    unsigned char* lists = store.Get() + Cells;
    const unsigned char* entries = pal + 3 * first;
    Walk walk(entries, n - first);
    int cell = 0;
    for (int r = 0; r < 16; r++, walk.NextRed()) {
        walk.StartRed();
        for (int g = 0; g < 16; g++, walk.NextGreen()) {
            walk.StartGreen();
            for (int b = 0; b < 16; b++, cell++, walk.NextBlue()) {
                int closest = 0;
                for (int e = 1; e < walk.m; e++)
                    if (walk.d[e] < walk.d[closest]) closest = e;
                const long limit = Limit(walk.d[closest]);
                const int low[3] = {16 * r, 16 * g, 16 * b};
                int count = 0;
                for (int e = 0; e < walk.m; e++)
                    if (walk.d[e] <= limit && Rivals(entries + 3 * e, entries + 3 * closest, low)) {
                        if (used + count == ListBytes) return ShareAll(first, n);
                        lists[used + count++] = (unsigned char)(first + e);
                    }
                counts[cell] = (unsigned char)(count - 1);
                start[cell] = Cells + used;
                used += count;
            }
        }
    }
}

// The lists did not fit: every cell searches all entries.
void CellLists::ShareAll(int first, int n)
{
    unsigned char* lists = store.Get() + Cells;
    for (int e = first; e < n; e++) lists[e - first] = (unsigned char)e;
    for (int cell = 0; cell < Cells; cell++) {
        store.Get()[cell] = (unsigned char)(n - first - 1);
        start[cell] = Cells;
    }
    used = n - first;
    shared = true;
}
