// The Shift axis lock of the image window: Shift pressed while the feedback
// shows arms it at the pointer; the first mouse event more than 4 view
// pixels away, mostly along one axis, decides which coordinate stays at the
// anchor for the rest of the drag. Any mouse event without Shift ends it.
#ifndef KESTREL_AXISLOCK_H
#define KESTREL_AXISLOCK_H

#include "geometry.h"

class AxisLock {
public:
    enum Axis { Undecided, Horizontal, Vertical };

    // The Shift key went down; only an undecided lock takes the new anchor.
    void Arm(TPoint anchor);
    // The Shift key came up.
    void Disarm();
    // A mouse event at p: the point the tool is to see.
    TPoint Apply(TPoint p, bool shiftHeld);

    bool Armed() const { return armed_; }
    Axis Decided() const { return axis_; }
    TPoint Anchor() const { return anchor_; }

private:
    bool armed_ = false;
    Axis axis_ = Undecided;
    TPoint anchor_ = {0, 0};
};

#endif
