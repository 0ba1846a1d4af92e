#include "seedfill.h"

#include <algorithm>
#include <cstdlib>

namespace {

// Each run of the fill (a row's stretch of pixels within tolerance) is found
// from a pixel of the run before it, its parent, one row up or down. The
// pixel where it was found keeps the way back until the run is done.
const unsigned long FoundHere = 0x04000000;     // this pixel found its run
const unsigned long ParentBelow = 0x08000000;   // else above
const unsigned long ParentShift = 0x30000000;   // parent column - this column + 1
const unsigned long ParentFirstSide = 0x40000000;  // found on the parent's first side
const unsigned long LinkBits = FoundHere | ParentBelow | ParentShift | ParentFirstSide;
const int ShiftPos = 28;

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
    // The ends of the marked run through (x, y).
    void FindRun(int x, int y, int& l, int& r) const
    {
        const unsigned long* row = Row(y);
        for (l = x; l > v.left && near.Marked(row[l - 1]); --l) {
        }
        for (r = x; r < v.right && near.Marked(row[r + 1]); ++r) {
        }
    }
    // The first column of from..to in row y the fill can take; -1: none.
    int Scan(int y, int from, int to) const
    {
        const unsigned long* row = Row(y);
        for (int i = from; i <= to; ++i)
            if (near.Takes(row[i])) return i;
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
// on with that one. A finished run goes back to its parent, whose ends it
// finds again from the marks, and the parent scans on past the finished run.
template <class Near> static Rect Fill(Walk<Near> w, int x, int y)
{
    Buffer& view = w.v;
    int l, r;
    w.MarkRun(x, y, l, r);
    *view.At(x, y) |= FoundHere;
    Rect box = {l, y, r, y};
    const int rootX = x, rootY = y;
    int side = 0;            // 0 scanning the row above, 1 the row below
    bool firstSide = true;   // the run has the other row still to scan
    int next = l - w.reach;  // the next column to look at there
    bool skipParent = false;
    int parentL = 0, parentR = -1;
    for (;;) {
        int ny = side ? y + 1 : y - 1;
        int from = std::max(next, view.left), to = std::min(r + w.reach, view.right);
        int found = -1;
        if (ny >= view.top && ny <= view.bottom) {
            if (skipParent) {
                found = w.Scan(ny, from, std::min(to, parentL - 1));
                if (found < 0) found = w.Scan(ny, std::max(from, parentR + 1), to);
            } else {
                found = w.Scan(ny, from, to);
            }
        }
        if (found >= 0) {
            int parentX = std::min(std::max(found, l), r);
            parentL = l;
            parentR = r;
            w.MarkRun(found, ny, l, r);
            *view.At(found, ny) |= FoundHere | (side ? 0 : ParentBelow) | (firstSide ? ParentFirstSide : 0) |
                                   (unsigned long)(parentX - found + 1) << ShiftPos;
            y = ny;
            box.left = std::min(box.left, l);
            box.right = std::max(box.right, r);
            box.top = std::min(box.top, y);
            box.bottom = std::max(box.bottom, y);
            side = side ? 0 : 1;
            firstSide = true;
            skipParent = true;
            next = l - w.reach;
            continue;
        }
        skipParent = false;
        if (firstSide) {
            side = side ? 0 : 1;
            firstSide = false;
            next = l - w.reach;
            continue;
        }
        // Done: back to the parent from the pixel that found this run.
        unsigned long* row = w.Row(y);
        int here = l;
        while (here < r && !(row[here] & FoundHere)) ++here;
        unsigned long link = row[here];
        row[here] &= ~LinkBits;
        if (here == rootX && y == rootY) break;
        int doneRight = r;
        y += (link & ParentBelow) ? 1 : -1;
        side = (link & ParentBelow) ? 0 : 1;
        firstSide = (link & ParentFirstSide) != 0;
        w.FindRun(here + int((link & ParentShift) >> ShiftPos) - 1, y, l, r);
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
