// Circles and ellipses by press at the centre, drag and release: outlined
// with the brush along a polyline from the sine table, or filled through
// the fill tool the fill button shows.
#ifndef KESTREL_ELLIPSES_H
#define KESTREL_ELLIPSES_H

#include <functional>
#include <vector>

#include "tool.h"
#include "toolmanager.h"

class P_elpse : public P_icon {
public:
    int centreX = 0, centreY = 0;
    int radiusX = 0, radiusY = 0;
    int lineMode = 0;
    int lineValue = 2;

    P_elpse(bool circle, bool filled);
    void DrawOutline() override;
    void EraseOutline() override;
    void Click() override;
    void Activate() override;
    void Deactivate(P_icon* next) override;
    // Draws the shape for the pointer at (x, y) into the picture.
    virtual void DrawFinal(int x, int y);

private:
    const bool circle_, filled_;
    bool bandShown = false;
    void SetRadii(int x, int y);
    void XorBand();
    void DrawOutlineFinal();
    void DrawFilledFinal();
    bool SaveShapeUndo();
};

class P_circle : public P_elpse {
public:
    P_circle();
};
class P_circlef : public P_elpse {
public:
    P_circlef();
};
class P_ellipse : public P_elpse {
public:
    P_ellipse();
};
class P_ellipsef : public P_elpse {
public:
    P_ellipsef();
};

// 16 segments up to radius 31, doubling every 32 pixels, at most 1024.
int EllipseSegments(int radiusX, int radiusY);
// The polyline: the top point, then the end of each segment (the last is
// the top point again).
std::vector<TPoint> EllipseVertices(int cx, int cy, int rx, int ry);
// The rows of the filled ellipse on the same table: span(x1, x2, y) once
// per row, x1 <= x2.
void EllipseSpans(int cx, int cy, int rx, int ry, const std::function<void(int, int, int)>& span);

#endif
