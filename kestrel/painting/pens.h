// The freehand pens: they stamp the brush into the current picture along the
// mouse path. The framework records a whole-picture step at the press; a
// stroke ends by cropping it to what the stroke touched.
#ifndef KESTREL_PENS_H
#define KESTREL_PENS_H

#include "tool.h"

class P_pen : public P_icon {
public:
    int lastX = 0, lastY = 0;        // where the previous segment ended
    unsigned char firstDab = 0;      // what the press's stamp answered

    P_pen();
    void DrawOutline() override;
    void EraseOutline() override;
    void Click() override;
    void Activate() override;
    // Stamps one piece of the stroke; true when the stroke is complete.
    virtual bool StampSegment(int x1, int y1, int x2, int y2) = 0;

private:
    // The preview dab that follows the pointer, and where it was drawn:
    // taking it back twice would restore a stale area over newer paint.
    bool previewShown = false;
    int previewX = 0, previewY = 0;
    void ShowPreview(int x, int y);
    void FinishStroke();
};

// A line of dabs from point to point.
class P_pen_cont : public P_pen {
public:
    P_pen_cont() { iconKey = "ContFhandIcon"; }
    bool StampSegment(int x1, int y1, int x2, int y2) override;
};

// One dab at each point the pointer reaches.
class P_pen_disc : public P_pen {
public:
    P_pen_disc() { iconKey = "DotFhandIcon"; }
    bool StampSegment(int x1, int y1, int x2, int y2) override;
};

// One dab per press.
class P_pen_one : public P_pen {
public:
    P_pen_one() { iconKey = "SingleFhandIcon"; }
    bool StampSegment(int x1, int y1, int x2, int y2) override;
};

#endif
