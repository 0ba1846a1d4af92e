// Bending and shearing the brush by dragging: four one-shot tools that
// reshape CurrentBrush, up and down (its columns move) or left and right
// (its rows move). While dragging, the reshaped stamp is drawn into the
// picture over a saved area; the release replaces the brush, as one undo
// step of the brush named by the tool's key. The picture is not changed.
//
// The arithmetic is written once, for the up-and-down case: n columns of
// m pixels, the anchor (au, av) and the pointer (pu, pv) along and across
// them. The left-and-right tools hand rows in as columns.
#ifndef KESTREL_BEND_BRUSH_H
#define KESTREL_BEND_BRUSH_H

#include <vector>

#include "buffer.h"
#include "geometry.h"
#include "tool.h"

// Where one column goes: its offsets below the reshaped brush's top, first
// to last. A bent column has one; a steep shear draws a column again at
// every offset it spans, so that the slanted edges stay closed.
struct ColumnSpan {
    int first, last;
};

// The column the bend is pulled at: the pointer's column inside the brush,
// else 1 left of it and n - 2 right of it.
int BendColumn(int n, int au, int pu);
// Column k bent by e (positive: pulled towards smaller offsets). The other
// columns follow a quarter sine towards the left end and a quarter cosine
// towards the right end.
std::vector<ColumnSpan> BendSpans(int n, int k, int e);
// The columns along the line from (0, 0) to (n - 1, dy).
std::vector<ColumnSpan> ShearSpans(int n, int dy);
// Draws column (row, with rows) c of src at (left + c, top + offset) for
// every offset of its span, src's key skipped; clipped to dest.
void DrawColumns(Buffer& src, Buffer& dest, int left, int top, const std::vector<ColumnSpan>& spans, bool rows);

class P_bend_brush : public P_icon {
public:
    int anchorX = 0, anchorY = 0;        // the brush's top-left at the press
    int newOriginX = 0, newOriginY = 0;  // the reshaped brush's top-left at the release

    explicit P_bend_brush(const char* key);
    void DrawOutline() override;
    void EraseOutline() override;
    void Click() override;
    void Activate() override;

    virtual void WarpToStart() = 0;
    virtual void WarpToResult() = 0;
    // Draws the reshaped CurrentBrush for pointer (x, y) into dest, which
    // has the result's size.
    virtual void Build(int x, int y, Buffer& dest) = 0;
    virtual int ResultLeft(int x) = 0;
    virtual int ResultTop(int y) = 0;
    virtual int ResultWidth(int x) = 0;
    virtual int ResultHeight(int y) = 0;
    // The status texts before the press and from the press on.
    virtual const char* StatusKey() const = 0;
    virtual const char* DragStatusKey() const = 0;

private:
    // What the feedback is, and where it was drawn: erasing at the pointer
    // would restore the wrong area once the pointer has moved on.
    enum { NoFeedback, StampFeedback, ReshapedFeedback } shown_ = NoFeedback;
    Rect shownRect_ = Rect{0, 0, -1, -1};
    TPoint shownAt_ = TPoint{0, 0};
    virtual bool PreviewPossible() = 0;
    virtual void DrawPreview(int x, int y, int left, int top) = 0;
    void Commit(int x, int y);
};

// The four tools share one shape: bend or shear, along columns or rows.
class P_reshape_brush : public P_bend_brush {
public:
    P_reshape_brush(const char* key, bool shear, bool rows);
    void WarpToStart() override;
    void WarpToResult() override;
    void Build(int x, int y, Buffer& dest) override;
    int ResultLeft(int x) override;
    int ResultTop(int y) override;
    int ResultWidth(int x) override;
    int ResultHeight(int y) override;

private:
    bool shear_, rows_;
    // The brush in the up-and-down terms.
    int Columns() const;
    int ColumnLength() const;
    int AnchorAlong() const;
    int AnchorAcross() const;
    int AcrossStart(int pv) const;
    int AcrossLength(int pv) const;
    std::vector<ColumnSpan> Spans(int x, int y) const;
    bool PreviewPossible() override;
    void DrawPreview(int x, int y, int left, int top) override;
};

class P_bend_brush_UnD : public P_reshape_brush {
public:
    P_bend_brush_UnD() : P_reshape_brush("BendUDBr", false, false) {}
    const char* StatusKey() const override { return "BendBrush"; }
    const char* DragStatusKey() const override { return "BendBrush2"; }
};

class P_bend_brush_LnR : public P_reshape_brush {
public:
    P_bend_brush_LnR() : P_reshape_brush("BendLRBr", false, true) {}
    const char* StatusKey() const override { return "BendBrush"; }
    const char* DragStatusKey() const override { return "BendBrush2"; }
};

class P_shear_brush_UnD : public P_reshape_brush {
public:
    P_shear_brush_UnD() : P_reshape_brush("ShearUDBr", true, false) {}
    const char* StatusKey() const override { return "ShearBrush"; }
    const char* DragStatusKey() const override { return "ShearBrush2"; }
};

class P_shear_brush_LnR : public P_reshape_brush {
public:
    P_shear_brush_LnR() : P_reshape_brush("ShearLRBr", true, true) {}
    const char* StatusKey() const override { return "ShearBrush"; }
    const char* DragStatusKey() const override { return "ShearBrush2"; }
};

struct BendBrushToolSet {
    P_bend_brush_UnD bendUnD;
    P_bend_brush_LnR bendLnR;
    P_shear_brush_UnD shearUnD;
    P_shear_brush_LnR shearLnR;
};

BendBrushToolSet& BendBrushTools();

#endif
