#include "axislock.h"

#include <cstdlib>

void AxisLock::Arm(TPoint anchor)
{
    if (axis_ != Undecided) return;
    armed_ = true;
    anchor_ = anchor;
}

void AxisLock::Disarm()
{
    armed_ = false;
    axis_ = Undecided;
}

TPoint AxisLock::Apply(TPoint p, bool shiftHeld)
{
    if (!shiftHeld) {
        Disarm();
        return p;
    }
    if (!armed_) return p;
    if (axis_ == Undecided) {
        int dx = std::abs(p.x - anchor_.x), dy = std::abs(p.y - anchor_.y);
        if (dx > 4 && dx > dy)
            axis_ = Horizontal;
        else if (dy > 4 && dy > dx)
            axis_ = Vertical;
    }
    if (axis_ == Horizontal) p.y = anchor_.y;
    if (axis_ == Vertical) p.x = anchor_.x;
    return p;
}
