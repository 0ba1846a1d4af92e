#include "selection_trace.h"

#include "outline_path.h"

#include <new>

namespace {

struct Tracer {
    Buffer& pic;
    Rect r;
    OutlinePathWriter out;

    bool Inside(int x, int y) const
    {
        if (x < r.left || x > r.right || y < r.top || y > r.bottom) return false;
        unsigned long v = *pic.At(x, y) & (SelectedBit | TraceMark);
        return v == SelectedBit || v == TraceMark;
    }

    // The pixels ahead of a corner, to the right and to the left of the
    // direction of travel.
    void Ahead(int X, int Y, OutlineDir d, bool& right, bool& left) const
    {
        switch (d) {
        case DirRight: right = Inside(X, Y); left = Inside(X, Y - 1); break;
        case DirDown: right = Inside(X - 1, Y); left = Inside(X, Y); break;
        case DirLeft: right = Inside(X - 1, Y - 1); left = Inside(X - 1, Y); break;
        default: right = Inside(X, Y - 1); left = Inside(X - 1, Y - 1); break;
        }
    }

    static OutlineDir TurnLeft(OutlineDir d) { return OutlineDir((d + 6) % 8); }
    static OutlineDir TurnRight(OutlineDir d) { return OutlineDir((d + 2) % 8); }

    // Flips the marks left of every vertical edge of the contour just walked:
    // pixels it encloses flip an odd number of times.
    void MarkEnclosed(const std::vector<OutlineRun>& runs, int x, int y)
    {
        for (const OutlineRun& run : runs) {
            for (int i = 0; i < run.steps; ++i) {
                if (run.dir == DirDown) FlipRowLeftOf(x, y), ++y;
                else if (run.dir == DirUp) --y, FlipRowLeftOf(x, y);
                else x += run.dir == DirRight ? 1 : -1;
            }
        }
    }

    void FlipRowLeftOf(int edgeX, int y)
    {
        for (int x = r.left; x < edgeX; ++x) *pic.At(x, y) ^= TraceMark;
    }

    // Walks one contour from the top-left corner of (sx, sy), heading right.
    // Returns false when the path could not grow.
    bool Walk(int sx, int sy)
    {
        std::vector<OutlineRun> runs;
        out.BeginContour(sx, sy);
        int X = sx, Y = sy;
        OutlineDir d = DirRight;
        try {
            do {
            out.Move(d, 1);
            if (!runs.empty() && runs.back().dir == d) ++runs.back().steps;
            else runs.push_back(OutlineRun{d, 1});
            X += d == DirRight ? 1 : d == DirLeft ? -1 : 0;
            Y += d == DirDown ? 1 : d == DirUp ? -1 : 0;
            bool right, left;
            Ahead(X, Y, d, right, left);
            if (!right) d = TurnRight(d);
            else if (left) d = TurnLeft(d);
            } while (X != sx || Y != sy);
        } catch (const std::bad_alloc&) {
            out.EndContour();
            return false;
        }
        out.EndContour();
        if (out.Failed()) return false;
        MarkEnclosed(runs, sx, sy);
        return true;
    }

    void ClearMarks()
    {
        for (int y = r.top; y <= r.bottom; ++y)
            for (int x = r.left; x <= r.right; ++x) *pic.At(x, y) &= ~TraceMark;
    }
};

}  // namespace

unsigned char* TraceOutline(Buffer& pic, Rect rect)
{
    Rect r{rect.left > pic.left ? rect.left : pic.left, rect.top > pic.top ? rect.top : pic.top,
           rect.right < pic.right ? rect.right : pic.right, rect.bottom < pic.bottom ? rect.bottom : pic.bottom};
    if (!pic.pixels || r.right < r.left || r.bottom < r.top) return nullptr;
    Tracer t{pic, r, {}};
    // Every pixel before the scan position is outside by now: a contour only
    // flips pixels on or below its start row, right of its start on that row.
    bool growing = true;
    for (int y = r.top; y <= r.bottom && growing; ++y)
        for (int x = r.left; x <= r.right && growing; ++x)
            if (t.Inside(x, y)) growing = t.Walk(x, y);
    unsigned char* path = t.out.Finish();
    if (path) t.ClearMarks();
    return path;
}
