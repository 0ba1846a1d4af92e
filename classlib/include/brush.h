// TBrush: the fill tool of a canvas. Its HBRUSH is made on demand: solid,
// hatched, or a pattern from Bitmap (which the brush does not own).
#ifndef CLASSLIB_BRUSH_H
#define CLASSLIB_BRUSH_H

#include "winapi.h"
#include "graphics.h"

class TBitmap;

enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

class TBrush : public TGraphicsObject {
public:
    TBrush() = default;  // white, solid
    ~TBrush() override;

    TColor GetColor() const { return color_; }
    // A colour on a clear brush makes it solid.
    void SetColor(TColor color);
    TBrushStyle GetStyle() const { return style_; }
    void SetStyle(TBrushStyle style);
    TBitmap* GetBitmap() const { return bitmap_; }
    // The bitmap must outlive the brush's use of it; null removes it.
    void SetBitmap(TBitmap* bitmap);

    HBRUSH GetHandle();
    void Assign(const TBrush* source);
    // Another TBrush, or EConvertError.
    void Assign(TPersistent* Source) override;

private:
    void DestroyHandle() override;

    TColor color_ = clWhite;
    TBrushStyle style_ = bsSolid;
    TBitmap* bitmap_ = nullptr;
    HBRUSH handle_ = nullptr;
};

#endif
