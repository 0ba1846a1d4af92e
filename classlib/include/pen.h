// TPen: the outline tool of a canvas. Its HPEN is made on demand; Mode is
// not part of the pen but the canvas's raster operation, applied with it.
#ifndef CLASSLIB_PEN_H
#define CLASSLIB_PEN_H

#include "winapi.h"
#include "graphics.h"

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };

// In the order of the R2_ codes minus one.
enum TPenMode {
    pmBlack, pmNotMerge, pmMaskNotPen, pmNotCopy, pmMaskPenNot, pmNot, pmXor, pmNotMask,
    pmMask, pmNotXor, pmNop, pmMergeNotPen, pmCopy, pmMergePenNot, pmMerge, pmWhite,
};

class TPen : public TGraphicsObject {
public:
    TPen() = default;  // black, 1 pixel, solid, pmCopy
    ~TPen() override;

    TColor GetColor() const { return color_; }
    void SetColor(TColor color);
    int GetWidth() const { return width_; }
    void SetWidth(int width);  // below 1 counts as 1
    TPenStyle GetStyle() const { return style_; }
    void SetStyle(TPenStyle style);
    TPenMode GetMode() const { return mode_; }
    void SetMode(TPenMode mode);
    int GetRop2() const { return int(mode_) + 1; }

    HPEN GetHandle();
    void Assign(const TPen* source);
    // Another TPen, or EConvertError.
    void Assign(TPersistent* Source) override;

private:
    void DestroyHandle() override;

    TColor color_ = clBlack;
    int width_ = 1;
    TPenStyle style_ = psSolid;
    TPenMode mode_ = pmCopy;
    HPEN handle_ = nullptr;
};

#endif
