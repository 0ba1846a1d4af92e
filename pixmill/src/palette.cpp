// Palette creation by median cut: the pixels are cut into boxes, each step
// splitting the box and channel whose cut lowers the squared error most, and
// every box gives its mean colour as a palette entry.
#include <stdint.h>
#include <string.h>

#include "palette_argument.h"
#include "quantize.h"
#include "quantize_exclude.h"
#include "scratch_block.h"

namespace {

const int MaxEntries = 256;

// Channels are numbered by pixel byte: 0 blue, 1 green, 2 red.
struct Channel {
    int lo, hi;   // every pixel of the box lies in lo..hi on this channel
    int mean;
    int split;    // a cut keeps the pixels <= split
    double gain;  // how much that cut lowers the squared error; 0 when none helps
};

// The pixels of a box are one contiguous stretch of the work array.
struct Box {
    unsigned long* first;
    size_t count;
    Channel ch[3];
};

typedef size_t Histogram[256];

inline int ChannelValue(unsigned long p, int c)
{
    return int((p >> (8 * c)) & 0xFF);
}

// Integer part of the mean rounded half up; count is never 0 here.
inline int RoundedMean(double sum, size_t count)
{
    return int((sum + double(count / 2)) / double(count));
}

// Sums are kept in doubles: with at most 2^30 pixels every term stays an
// integer well below 2^53, so the gains are exact and ties are real ties.
void Measure(Channel& c, const size_t* hist)
{
    size_t n = 0;
    double s = 0, q = 0;
    for (int v = c.lo; v <= c.hi; v++) {
        n += hist[v];
        s += double(hist[v]) * v;
        q += double(hist[v]) * v * v;
    }
    c.mean = 0;
    c.split = c.lo;
    c.gain = 0;
    if (n == 0) return;
    c.mean = RoundedMean(s, n);
    const double e0 = q - 2.0 * c.mean * s + double(n) * c.mean * c.mean;
    size_t m = 0;
    double s1 = 0;
    for (int j = c.lo; j < c.hi; j++) {
        m += hist[j];
        s1 += double(hist[j]) * j;
        if (m == n) break;
        if (m == 0) continue;
        const int w = RoundedMean(s1, m), v = RoundedMean(s - s1, n - m);
        const double e1 =
            q - 2.0 * w * s1 + double(m) * w * w - 2.0 * v * (s - s1) + double(n - m) * v * v;
        if (e0 - e1 > c.gain) {
            c.gain = e0 - e1;
            // Between the two means, but never below j (the left side would
            // lose pixels) nor above hi - 1 (the right side would be empty).
            int split = (v + w) / 2;
            if (split < j) split = j;
            if (split > c.hi - 1) split = c.hi - 1;
            c.split = split;
        }
    }
}

void MeasureAll(Box& box, const Histogram* hist)
{
    for (int c = 0; c < 3; c++) Measure(box.ch[c], hist[c]);
}

inline void Count(Histogram* hist, unsigned long p)
{
    hist[0][p & 0xFF]++;
    hist[1][(p >> 8) & 0xFF]++;
    hist[2][(p >> 16) & 0xFF]++;
}

void FirstBox(Box& box, unsigned long* pixels, size_t count)
{
    Histogram hist[3];
    memset(hist, 0, sizeof hist);
    for (size_t i = 0; i < count; i++) Count(hist, pixels[i]);
    box.first = pixels;
    box.count = count;
    for (Channel& c : box.ch) {
        c.lo = 0;
        c.hi = 255;
    }
    MeasureAll(box, hist);
}

// Cuts box along channel c at its split value: box keeps the low side, fresh
// takes the high side. The pixels are exchanged in place from both ends.
void Cut(Box& box, Box& fresh, int c)
{
    const int s = box.ch[c].split;
    Histogram low[3], high[3];
    memset(low, 0, sizeof low);
    memset(high, 0, sizeof high);
    unsigned long* a = box.first;
    unsigned long* b = box.first + box.count;
    for (;;) {
        while (a < b && ChannelValue(*a, c) <= s) Count(low, *a++);
        while (a < b && ChannelValue(b[-1], c) > s) Count(high, *--b);
        if (a == b) break;
        --b;
        unsigned long p = *a;
        *a = *b;
        *b = p;
        Count(low, *a++);
        Count(high, *b);
    }
    fresh = box;
    fresh.first = a;
    fresh.count = box.count - size_t(a - box.first);
    box.count = size_t(a - box.first);
    box.ch[c].hi = s;
    fresh.ch[c].lo = s + 1;
    MeasureAll(box, low);
    MeasureAll(fresh, high);
}

// Splits until there are wanted boxes or no cut lowers the error; the first
// box and channel in creation order win ties. Returns the number of boxes.
int MedianCut(unsigned long* pixels, size_t count, Box* boxes, int wanted)
{
    FirstBox(boxes[0], pixels, count);
    int made = 1;
    while (made < wanted) {
        int bestBox = -1, bestChannel = 0;
        double best = 0;
        for (int i = 0; i < made; i++)
            for (int c = 0; c < 3; c++)
                if (boxes[i].ch[c].gain > best) {
                    best = boxes[i].ch[c].gain;
                    bestBox = i;
                    bestChannel = c;
                }
        if (bestBox < 0) break;
        Cut(boxes[bestBox], boxes[made], bestChannel);
        made++;
    }
    return made;
}

// The pixels that take part, packed into one array: work's block when it is
// contiguous and large enough (it may be src's own), else a scratch copy.
class WorkPixels {
public:
    WorkPixels(Buffer& src, unsigned long t, Buffer* work)
    {
        const int64_t w = int64_t(src.right) - src.left + 1, h = int64_t(src.bottom) - src.top + 1;
        if (!src.pixels || w < 1 || h < 1) return;
        unsigned long* dst = Usable(work, uint64_t(w) * uint64_t(h));
        if (!dst) {
            scratch.Take(uint64_t(w) * uint64_t(h));
            dst = scratch.Get();
        }
        first = dst;
        // Forward order, so a work block that starts at src's pixels is safe.
        for (int64_t y = 0; y < h; y++) {
            const unsigned long* row = src.pixels + ptrdiff_t(y) * src.stride;
            for (int64_t x = 0; x < w; x++)
                if (!Excluded(row[x], t)) dst[count++] = row[x];
        }
    }

    unsigned long* first = nullptr;
    size_t count = 0;

private:
    static unsigned long* Usable(Buffer* work, uint64_t needed)
    {
        if (!work || !work->pixels) return nullptr;
        const int64_t w = int64_t(work->right) - work->left + 1, h = int64_t(work->bottom) - work->top + 1;
        if (w < 1 || h < 1) return nullptr;
        if (h > 1 && work->stride != w) return nullptr;  // rows with gaps are not one array
        return uint64_t(w) * uint64_t(h) >= needed ? work->pixels : nullptr;
    }

    ScratchBlock<unsigned long> scratch;
};

}  // namespace

// n above 256 is taken as 256: nothing is written past entry 255.
int CreatePalette(Buffer& src, unsigned char* pal, int n, unsigned long t, Buffer* work)
{
    if (n <= 0) return 0;
    RequirePalette(pal);
    if (n > MaxEntries) n = MaxEntries;
    int made = 0;
    if (IsTransparentColour(t)) {
        pal[0] = (unsigned char)(t >> 16);
        pal[1] = (unsigned char)(t >> 8);
        pal[2] = (unsigned char)t;
        made = 1;
    }
    const int wanted = n - made;
    if (wanted > 0) {
        WorkPixels px(src, t, work);
        if (px.count > 0) {
            Box boxes[MaxEntries];
            const int boxCount = MedianCut(px.first, px.count, boxes, wanted);
            for (int i = 0; i < boxCount; i++, made++) {
                pal[3 * made] = (unsigned char)boxes[i].ch[2].mean;
                pal[3 * made + 1] = (unsigned char)boxes[i].ch[1].mean;
                pal[3 * made + 2] = (unsigned char)boxes[i].ch[0].mean;
            }
        }
    }
    memset(pal + 3 * made, 0, size_t(3 * (n - made)));
    return made;
}
