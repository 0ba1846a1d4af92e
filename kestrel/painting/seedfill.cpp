#include "seedfill.h"

#include <algorithm>
#include <cstdlib>

namespace {

// Each run of the fill (a row's stretch of pixels within tolerance) is found
// from a pixel of the run before it, its parent, one row up or down. The
// pixel where it was found keeps the way back until the run is done, as a
// code in the flag bits below the mark: none (0), else 1 + the link's fields.
const unsigned long LinkBits = 0x7C000000;
const int LinkShift = 26;

struct Link {
    bool parentBelow;     // else above
    bool parentFirstSide; // found on the parent's first side
    bool sameRight;       // the parent's run ends in the same column
    int shift;            // parent column - this column + 1: 0..2
};

unsigned long Encode(const Link& k)
{
    unsigned code = 1 + (k.parentBelow ? 1 : 0) + (k.parentFirstSide ? 2 : 0) + (k.sameRight ? 4 : 0) + 8 * unsigned(k.shift);
    return (unsigned long)code << LinkShift;
}

Link Decode(unsigned long pixel)
{
    unsigned k = unsigned((pixel & LinkBits) >> LinkShift) - 1;
    return Link{(k & 1) != 0, (k & 2) != 0, (k & 4) != 0, int(k >> 3)};
}

// Whether a pixel is near the seed: exactly its colour, or within a
// tolerance. Takes: not marked yet, and near. Marked: marked by this fill.
struct ExactColour {
    unsigned long seed;
    bool Takes(unsigned long p) const { return (p & (FillMark | 0x00FFFFFF)) == seed; }
    bool Marked(unsigned long p) const { return (p & (FillMark | 0x00FFFFFF)) == (seed | FillMark); }
};

struct NearColour {
    unsigned long seed;
    int tolerance;
    bool Takes(unsigned long p) const { return !(p & FillMark) && FillDistance(p, seed) <= tolerance; }
    bool Marked(unsigned long p) const { return (p & FillMark) && FillDistance(p & 0x00FFFFFF, seed) <= tolerance; }
};

template <class Near> struct Walk {
    Buffer& v;
    Near near;
    int reach;  // 1 when diagonal neighbours count

    unsigned long* Row(int y) const { return v.At(v.left, y) - v.left; }

    // Marks the run through (x, y): answers its ends.
    void MarkRun(int x, int y, int& l, int& r) const
    {
        unsigned long* row = Row(y);
        for (l = x; l > v.left && near.Takes(row[l - 1]); --l) {
        }
        for (r = x; r < v.right && near.Takes(row[r + 1]); ++r) {
        }
        for (int i = l; i <= r; ++i) row[i] = (row[i] & ~LinkBits) | FillMark;
    }
    // The ends of the marked run through (x, y), each found on its own.
    int RunLeft(int y, int x) const
    {
        const unsigned long* row = Row(y);
        while (x > v.left && near.Marked(row[x - 1])) --x;
        return x;
    }
    int RunRight(int y, int x) const
    {
        const unsigned long* row = Row(y);
        while (x < v.right && near.Marked(row[x + 1])) ++x;
        return x;
    }
    // The first column of from..to in row y the fill can take; -1: none.
    int Scan(int y, int from, int to) const
    {
        const unsigned long* row = Row(y);
        for (int i = from; i <= to; ++i)
            if (near.Takes(row[i])) return i;
        return -1;
    }
    // Scan of row ny from column x on, for a run of row y whose right end is
    // not known yet, only that it holds column anchor: goes on while the run
    // is within reach. Answers the column found, or -1 and the run's end.
    int ScanOn(int y, int ny, int x, int anchor, int& r) const
    {
        const unsigned long* row = Row(y);
        const unsigned long* nrow = Row(ny);
        int inRun = anchor;  // the run holds anchor..inRun
        while (inRun < x - reach - 1 && inRun < v.right && near.Marked(row[inRun + 1])) ++inRun;
        if (inRun < x - reach - 1) {
            r = inRun;
            return -1;
        }
        for (; x <= v.right; ++x) {
            if (x - reach > inRun) {
                if (!near.Marked(row[x - reach])) {
                    r = inRun;
                    return -1;
                }
                inRun = x - reach;
            }
            if (near.Takes(nrow[x])) return x;
        }
        r = RunRight(y, inRun);
        return -1;
    }
};

}  // namespace

int FillDistance(unsigned long pixel, unsigned long seed)
{
    if (pixel & FillMark) return 1024;
    int r = int((pixel >> 16) & 0xFF) - int((seed >> 16) & 0xFF);
    int g = int((pixel >> 8) & 0xFF) - int((seed >> 8) & 0xFF);
    int b = int(pixel & 0xFF) - int(seed & 0xFF);
    return std::abs(r) + std::abs(g) + std::abs(b);
}

// A depth-first walk over runs. A run scans the row toward its parent
// first, passing over the parent's columns (they are marked), then the row
// away from it, for a pixel it can take; there it marks the new run and goes
// on with that one. A finished run goes back to its parent, which scans on
// past the finished run. Coming back, the parent knows only its column next
// to the pixel that found the run, and its right end when the link says it
// is the finished run's: its other ends are found from the marks as they are
// needed, so that a run under a run of the same width (a flat area) costs
// nothing on the way back.
template <class Near> static Rect Fill(Walk<Near> w, int x, int y)
{
    Buffer& view = w.v;
    int l, r;
    w.MarkRun(x, y, l, r);
    *view.At(x, y) |= Encode(Link{false, false, false, 0});
    Rect box = {l, y, r, y};
    const int rootX = x, rootY = y;
    int side = 0;            // 0 scanning the row above, 1 the row below
    bool firstSide = true;   // the run has the other row still to scan
    int next = l - w.reach;  // the next column to look at there
    bool leftKnown = true, rightKnown = true;  // l and r hold the run's ends
    int anchor = x;                            // a column of the run
    int skipL = view.left, skipR = view.left - 1;  // columns there known to be marked
    for (;;) {
        int ny = side ? y + 1 : y - 1;
        int found = -1;
        if (ny < view.top || ny > view.bottom) {
            if (!rightKnown) r = w.RunRight(y, anchor);
        } else if (rightKnown) {
            int from = std::max(next, view.left), to = std::min(r + w.reach, view.right);
            if (skipL > skipR) {
                found = w.Scan(ny, from, to);
            } else {
                found = w.Scan(ny, from, std::min(to, skipL - 1));
                if (found < 0) found = w.Scan(ny, std::max(from, skipR + 1), to);
            }
        } else {
            found = w.ScanOn(y, ny, next, anchor, r);
        }
        rightKnown = rightKnown || found < 0;
        if (found >= 0) {
            int parentX = !rightKnown ? std::max(found - w.reach, anchor)
                                      : std::min(std::max(found, leftKnown ? l : anchor), r);
            int parentR = rightKnown ? r : -1;
            skipL = leftKnown && rightKnown ? l : parentX;
            skipR = leftKnown && rightKnown ? r : parentX;
            w.MarkRun(found, ny, l, r);
            *view.At(found, ny) |= Encode(Link{side == 0, firstSide, parentR == r, parentX - found + 1});
            y = ny;
            box.left = std::min(box.left, l);
            box.right = std::max(box.right, r);
            box.top = std::min(box.top, y);
            box.bottom = std::max(box.bottom, y);
            side = side ? 0 : 1;
            firstSide = true;
            leftKnown = rightKnown = true;
            next = l - w.reach;
            continue;
        }
        skipL = view.left;
        skipR = view.left - 1;
        if (!leftKnown) l = w.RunLeft(y, anchor);
        leftKnown = true;
        if (firstSide) {
            side = side ? 0 : 1;
            firstSide = false;
            next = l - w.reach;
            continue;
        }
        // Done: back to the parent from the pixel that found this run.
        unsigned long* row = w.Row(y);
        int here = l;
        while (here < r && !(row[here] & LinkBits)) ++here;
        unsigned long code = row[here];
        row[here] &= ~LinkBits;
        if ((here == rootX && y == rootY) || !(code & LinkBits)) break;
        Link link = Decode(code);
        int doneRight = r;
        y += link.parentBelow ? 1 : -1;
        if (y < view.top || y > view.bottom) break;  // only a picture marked before the fill gets here
        side = link.parentBelow ? 0 : 1;
        firstSide = link.parentFirstSide;
        anchor = std::min(std::max(here + link.shift - 1, view.left), view.right);
        leftKnown = false;
        rightKnown = link.sameRight;
        next = doneRight + 1;
    }
    return box;
}

Rect SeedFill(Buffer& view, int x, int y, int tolerance, bool eightConnected)
{
    if (!view.pixels || x < view.left || x > view.right || y < view.top || y > view.bottom) return Rect{0, 0, -1, -1};
    unsigned long p = *view.At(x, y);
    if (p & FillMark) return Rect{0, 0, -1, -1};
    int reach = eightConnected ? 1 : 0;
    if (tolerance <= 0) return Fill(Walk<ExactColour>{view, ExactColour{p & 0x00FFFFFF}, reach}, x, y);
    return Fill(Walk<NearColour>{view, NearColour{p & 0x00FFFFFF, tolerance}, reach}, x, y);
}
