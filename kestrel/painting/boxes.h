// Rectangles and squares, outlined with the brush or filled through the fill
// tool the fill button shows, by press, drag and release.
#ifndef KESTREL_BOXES_H
#define KESTREL_BOXES_H

#include "tool.h"

class P_box : public P_icon {
public:
    int startX = 0, startY = 0;

    P_box();
    void DrawOutline() override;
    void EraseOutline() override;
    void Click() override;
    void Activate() override;

    // The guide lines through the pointer while no box is begun.
    virtual void EraseIdle(int x, int y);
    virtual void EraseBand(int x, int y);
    virtual void DrawIdle(int x, int y);
    virtual void DrawBand(int x, int y);
    virtual void DrawFinal(int x, int y) = 0;
    virtual void Constrain(int& x, int& y);

protected:
    enum Shown { NothingShown, IdleShown, BandShown };
    Shown shown = NothingShown;
    int shownX = 0, shownY = 0;
};

// The brush stamped along the four sides.
class P_box_rect : public P_box {
public:
    P_box_rect() { iconKey = "BoxRectIcon"; }
    void DrawBand(int x, int y) override;
    void EraseBand(int x, int y) override { DrawBand(x, y); }
    void DrawFinal(int x, int y) override;
};

// The inside marked and painted by the shown fill tool; the right button
// paints the background colour directly.
class P_box_rectf : public P_box {
public:
    P_box_rectf() { iconKey = "BoxRectfIcon"; }
    void DrawBand(int x, int y) override;
    void EraseBand(int x, int y) override { DrawBand(x, y); }
    void DrawFinal(int x, int y) override;
};

class P_box_sqr : public P_box_rect {
public:
    P_box_sqr() { iconKey = "BoxSqrIcon"; }
    void Constrain(int& x, int& y) override;
};

class P_box_sqrf : public P_box_rectf {
public:
    P_box_sqrf() { iconKey = "BoxSqrfIcon"; }
    void Constrain(int& x, int& y) override;
};

// The larger offset from the start wins; sign(0) is 0, so a drag straight
// down stays one pixel wide.
void ConstrainSquare(int startX, int startY, int& x, int& y);

#endif
