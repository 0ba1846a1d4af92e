// Stretching the brush by dragging its bottom-right corner (both ways,
// across only, up and down only; past the opposite edge it mirrors), and
// stretching the whole picture to a size or percentage typed into its
// option bar.
#ifndef KESTREL_STRETCH_TOOLS_H
#define KESTREL_STRETCH_TOOLS_H

#include "geometry.h"
#include "picture_filter.h"

class P_stretch_brush : public P_icon {
public:
    int anchorX = 0, anchorY = 0;  // the brush's top-left at the press

    P_stretch_brush();
    void DrawOutline() override;
    void EraseOutline() override;
    void Click() override;
    void Activate() override;
    // The signed width and height a pointer at x or y gives.
    virtual int NewWidth(int x);
    virtual int NewHeight(int y);

private:
    bool previewSaved_ = false;
    bool stampShown_ = false;
    TPoint stampAt_{0, 0};
    Rect previewArea_{0, 0, -1, -1};
};

class P_stretch_brush_X : public P_stretch_brush {
public:
    P_stretch_brush_X();
    int NewHeight(int y) override;
};

class P_stretch_brush_Y : public P_stretch_brush {
public:
    P_stretch_brush_Y();
    int NewWidth(int x) override;
};

class P_stretch_picture : public P_filter {
public:
    unsigned char keepProportions = 1;  // option 4
    double percentX = 100, percentY = 100;  // options 2 and 3

    P_stretch_picture();
    bool Render(bool recordUndo) override;
    bool UpToDate() override;
    void MarkRendered() override;

    // The bar's width, height and percentages kept in step with each other
    // against the saved picture's size; with the proportions kept, a
    // changed percentage is copied to the other one.
    void WidthChanged();
    void HeightChanged();
    void PercentXChanged();
    void PercentYChanged();

protected:
    void SetUpOptions() override;
    void KeepOptions() override;

private:
    bool Enter(unsigned bit);
    void Leave();
    unsigned guards_ = 0;  // one bit per handler that ran
    int depth_ = 0;        // handlers running inside each other
    int lastW_ = 0, lastH_ = 0;
    bool lastSmooth_ = false;
};

struct StretchToolSet {
    P_stretch_brush both;
    P_stretch_brush_X x;
    P_stretch_brush_Y y;
    P_stretch_picture picture;
};
StretchToolSet& StretchTools();

#endif
