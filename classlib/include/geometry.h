// A point and a rectangle on the screen, in a window or in view pixels.
// The rectangle's right and bottom edges are exclusive, as in RECT: the
// column Right and the row Bottom lie outside it, so Width is Right - Left.
// Pixmill's Rect, inclusive on all four sides, is the picture's own and
// stays apart from this one.
#ifndef CLASSLIB_GEOMETRY_H
#define CLASSLIB_GEOMETRY_H

struct TPoint {
    int x = 0;
    int y = 0;
};
inline bool operator==(TPoint a, TPoint b) { return a.x == b.x && a.y == b.y; }
inline bool operator!=(TPoint a, TPoint b) { return !(a == b); }

struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool Contains(int X, int Y) const { return X >= Left && X < Right && Y >= Top && Y < Bottom; }
    bool Intersects(const TRect& o) const
    {
        return Left < o.Right && o.Left < Right && Top < o.Bottom && o.Top < Bottom;
    }
};

#endif
