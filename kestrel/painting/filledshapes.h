// The filled freehand shape and the filled polygon: their outline is drawn
// into the picture as it grows, each row it crosses toggles the fill mark of
// the pixels to its right (so the inside ends up marked by the even-odd
// rule), and closing hands the marked pixels to the fill tool the fill
// button shows.
#ifndef KESTREL_FILLEDSHAPES_H
#define KESTREL_FILLEDSHAPES_H

#include "tool.h"

const int UnknownDirection = -5;

class P_filled : public P_icon {
public:
    int firstX = 0, firstY = 0;
    int lastX = 0, lastY = 0;
    int firstDirection = UnknownDirection;
    int lastDirection = 0;

    P_filled();
    // A shape still open when the tool is parked (another image window, a
    // command) is taken back: its outline and marks must not stay in the
    // picture for the next fill to paint.
    void Deactivate(P_icon* next) override;

protected:
    void BeginShape(int x, int y);
    void AddEdge(int x, int y);
    void CloseShape();
    // What becomes of the marked inside once the shape is closed: the fill
    // tool the fill button shows paints it, and the step is cropped.
    virtual void FillShape();
};

class P_fill_draw : public P_filled {
public:
    P_fill_draw();
    void DrawOutline() override;
    void EraseOutline() override;
    void Click() override;
    void Activate() override;

private:
    bool pixelShown = false;
    int pixelX = 0, pixelY = 0;
};

class P_fill_poly : public P_filled {
public:
    P_fill_poly();
    void DrawOutline() override;
    void EraseOutline() override;
    void Click() override;
    void Activate() override;
    // Within 10 screen pixels of the first vertex at the current zoom.
    bool NearFirstVertex() const;

private:
    bool bandShown = false;
    int bandX = 0, bandY = 0;
    void XorBand(int x, int y);
};

// The main window's activity timer: while the polygon fill waits for its
// next corner, the views show the closing cursor where a click would close
// the polygon.
void ShowPolygonCloseCursor();

#endif
