// The cut tools: a dragged rectangle, a rectangle of fixed size, a freehand
// shape, a polygon and the magic wand take a region of the current
// picture. With InstBrush on the region becomes the brush and the dotted
// pen takes over; with it off the region replaces the picture's selection,
// or is added to it (Ctrl held at the press) or taken from it (Alt).
#ifndef KESTREL_CUT_TOOLS_H
#define KESTREL_CUT_TOOLS_H

#include <functional>

#include "buffer.h"
#include "filledshapes.h"
#include "fills.h"
#include "tool.h"

// The rectangle tools; Click does the cut.
class P_cut : public P_icon {
public:
    int startX = 0, startY = 0;  // the first corner

    P_cut();
    void Click() override;
    void Activate() override;
    void Deactivate(P_icon* next) override;
    // At the press: true to wait for the release, false to cut at once.
    virtual bool BeginCut(int x, int y) = 0;

protected:
    AnsiString idleStatus;  // the status text while no cut runs (set by Activate)
    int endX = 0, endY = 0;   // the opposite corner
    unsigned pressShift = 0;  // modifiers and button of the press
    // What the overlay shows, kept to take it back where it was drawn.
    enum class Overlay { None, Crosshair, Rectangle } shown = Overlay::None;
    Rect shownRect = {0, 0, -1, -1};

    void ShowRectangle(int x1, int y1, int x2, int y2);
    void ShowCrosshair(int x, int y);
    void PaintOverlay() const;
    void EraseOverlay();
};

class P_cut_box : public P_cut {
public:
    P_cut_box();
    void Activate() override;
    bool BeginCut(int x, int y) override;
    void DrawOutline() override;
    void Paint() override { PaintOverlay(); }
    void EraseOutline() override { EraseOverlay(); }
};

class P_cut_resize : public P_cut {
public:
    double ratio = 0;  // height / width; 0 until first shown
    int width = 416, height = 312;

    P_cut_resize();
    bool BeginCut(int x, int y) override;
    void Activate() override;
    void Deactivate(P_icon* next) override;
    void DrawOutline() override;
    void Paint() override { PaintOverlay(); }
    void EraseOutline() override { EraseOverlay(); }
};

class P_cut_draw : public P_fill_draw {
public:
    P_cut_draw();
    void Activate() override;
    void Click() override;

protected:
    void FillShape() override;

private:
    unsigned pressShift = 0;
};

class P_cut_poly : public P_fill_poly {
public:
    P_cut_poly();
    void Activate() override;
    void Click() override;

protected:
    void FillShape() override;

private:
    unsigned pressShift = 0;
};

class P_cut_wand : public P_fill {
public:
    P_cut_wand();
    void Click() override;
    void Activate() override;
    void Deactivate(P_icon* next) override;
    // The marked region is cut; the wand paints nothing itself.
    void Apply(unsigned long colour) override;

private:
    unsigned pressShift = 0;
};

struct CutToolSet {
    P_cut_box box;
    P_cut_resize resize;
    P_cut_draw draw;
    P_cut_poly poly;
    P_cut_wand wand;

    CutToolSet() = default;
    CutToolSet(const CutToolSet&) = delete;
    CutToolSet& operator=(const CutToolSet&) = delete;
};

CutToolSet& CutTools();

// The tools' mode from InstBrush: one-shot brush makers recording their own
// steps, or selection tools whose press records the whole picture. Also
// tells the main window whether its Get Selection item may be used.
void ApplyCutMode();
// The main window installs this to enable its Get Selection item (true
// while InstBrush is off).
extern std::function<void(bool enabled)> GetSelectionEnabler;

// Start-up: the mode, and the fixed rectangle at 416 x 312.
void StartCutTools();

// The view cursor that hints at adding to (Ctrl) or taking from (Alt) the
// selection while a cut tool is current in selection mode; 0 for none.
short CutHintCursor(bool ctrl, bool alt);

#endif
