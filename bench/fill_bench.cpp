// The seed fill on a flat 4096x4096 area and on a maze of one-pixel
// corridors (the worst case for span fills, which push a span per turn),
// beside a plain scanline fill with a stack of spans, in the same run. Both
// mark the same pixels; the seed fill uses no memory beyond the picture.

#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <vector>

#include "bench_ratio.h"
#include "bench_timer.h"
#include "buffer.h"
#include "seedfill.h"

static const int Side = 4096;
static const unsigned long Wall = 0x00000000, Floor = 0x00FFFFFF;

// The baseline: spans pushed on a stack, each row's run filled and the rows
// above and below scanned for new runs. Answers the deepest stack it used.
static size_t ScanlineFill(Buffer& b, int sx, int sy)
{
    const unsigned long seed = *b.At(sx, sy);
    struct Span {
        int x, y;
    };
    std::vector<Span> stack = {{sx, sy}};
    size_t deepest = 1;
    while (!stack.empty()) {
        Span s = stack.back();
        stack.pop_back();
        unsigned long* row = b.At(0, s.y);
        if (row[s.x] != seed) continue;
        int l = s.x, r = s.x;
        while (l > b.left && row[l - 1] == seed) --l;
        while (r < b.right && row[r + 1] == seed) ++r;
        for (int x = l; x <= r; ++x) row[x] |= FillMark;
        for (int dy = -1; dy <= 1; dy += 2) {
            int y = s.y + dy;
            if (y < b.top || y > b.bottom) continue;
            unsigned long* next = b.At(0, y);
            for (int x = l; x <= r; ++x) {
                if (next[x] != seed) continue;
                stack.push_back(Span{x, y});
                while (x < r && next[x + 1] == seed) ++x;
            }
        }
        if (stack.size() > deepest) deepest = stack.size();
    }
    return deepest;
}

// A perfect maze on cells two pixels apart, carved depth first.
static void Maze(Buffer& b)
{
    b.Box(b.GetRect(), Wall);
    const int cells = Side / 2;
    std::vector<int> stack = {0};
    std::vector<unsigned char> seen(size_t(cells) * cells, 0);
    seen[0] = 1;
    *b.At(0, 0) = Floor;
    unsigned state = 12345;
    while (!stack.empty()) {
        int c = stack.back(), cx = c % cells, cy = c / cells;
        int options[4], n = 0;
        const int dx[4] = {1, -1, 0, 0}, dy[4] = {0, 0, 1, -1};
        for (int d = 0; d < 4; ++d) {
            int nx = cx + dx[d], ny = cy + dy[d];
            if (nx >= 0 && nx < cells && ny >= 0 && ny < cells && !seen[size_t(ny * cells + nx)]) options[n++] = d;
        }
        if (n == 0) {
            stack.pop_back();
            continue;
        }
        state = state * 1103515245u + 12345u;
        int d = options[(state >> 16) % unsigned(n)];
        int nx = cx + dx[d], ny = cy + dy[d];
        seen[size_t(ny * cells + nx)] = 1;
        *b.At(cx * 2 + dx[d], cy * 2 + dy[d]) = Floor;
        *b.At(nx * 2, ny * 2) = Floor;
        stack.push_back(ny * cells + nx);
    }
}

static long Marked(const Buffer& b)
{
    long n = 0;
    for (int y = b.top; y <= b.bottom; ++y)
        for (int x = b.left; x <= b.right; ++x) n += (*b.At(x, y) & FillMark) != 0;
    return n;
}

// Seconds for one fill on a fresh copy of the picture.
template <class Fill> static double TimeFill(const Buffer& original, Buffer& work, Fill fill)
{
    memcpy(work.pixels, original.pixels, size_t(Side) * Side * 4);
    double start = Now();
    fill(work);
    return Now() - start;
}

// The two fills take turns, round by round, so that both meet the same
// load on a shared machine; each keeps its best round.
static void Compare(const char* name, const Buffer& original, int rounds)
{
    Buffer work;
    work.Alloc({Side, Side});
    size_t deepest = 0;
    double tBase = 1e9, tSeed = 1e9;
    long baseMarked = 0, seedMarked = 0;
    for (int i = 0; i < rounds; ++i) {
        tBase = std::min(tBase, TimeFill(original, work, [&](Buffer& b) { deepest = ScanlineFill(b, 0, 0); }));
        baseMarked = Marked(work);
        tSeed = std::min(tSeed, TimeFill(original, work, [](Buffer& b) { SeedFill(b, 0, 0, 0, false); }));
        seedMarked = Marked(work);
        if (seedMarked != baseMarked) Mismatch("the seed fill and the scanline fill marked different pixels");
    }
    double px = double(seedMarked);
    printf("%-6s %9ld px  seed fill %7.1f Mpx/s  scanline stack %7.1f Mpx/s (stack %zu spans, %zu KB)  ratio %.2fx\n",
           name, seedMarked, px / tSeed / 1e6, px / tBase / 1e6, deepest, deepest * 8 / 1024, tBase / tSeed);
    char operation[64];
    snprintf(operation, sizeof operation, "seed fill, %s 4096x4096", name);
    Ratio(operation, "scanline fill with a span stack", tSeed, tBase);
}

int main()
{
    Buffer original;
    original.Alloc({Side, Side});
    printf("Seed fill, %dx%d, 4-connected, tolerance 0 (ratio: baseline time / seed fill time)\n", Side, Side);
    original.Box(original.GetRect(), Floor);
    Compare("flat", original, 7);
    Maze(original);
    Compare("maze", original, 9);
    return 0;
}
