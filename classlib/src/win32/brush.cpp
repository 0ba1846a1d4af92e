// TBrush: settings and the HBRUSH made from them.
#include "brush.h"
#include "bitmap.h"

TBrush::~TBrush()
{
    DestroyHandle();
}

void TBrush::DestroyHandle()
{
    if (handle_) DeleteObject(handle_);
    handle_ = nullptr;
}

void TBrush::SetColor(TColor color)
{
    if (color == color_ && style_ != bsClear) return;
    Changing();
    color_ = color;
    if (style_ == bsClear) style_ = bsSolid;
    Changed();
}

void TBrush::SetStyle(TBrushStyle style)
{
    if (style == style_) return;
    Changing();
    style_ = style;
    Changed();
}

void TBrush::SetBitmap(TBitmap* bitmap)
{
    if (bitmap == bitmap_) return;
    Changing();
    bitmap_ = bitmap;
    Changed();
}

HBRUSH TBrush::GetHandle()
{
    if (handle_) return handle_;
    if (bitmap_ && !bitmap_->GetEmpty()) {
        handle_ = CreatePatternBrush(bitmap_->GetHandle());
    } else {
        LOGBRUSH lb = {};
        lb.lbColor = COLORREF(ColorToRGB(color_));
        if (style_ == bsSolid) {
            lb.lbStyle = BS_SOLID;
        } else if (style_ == bsClear) {
            lb.lbStyle = BS_NULL;
        } else {
            static const int hatches[] = {HS_HORIZONTAL, HS_VERTICAL, HS_FDIAGONAL, HS_BDIAGONAL, HS_CROSS, HS_DIAGCROSS};
            lb.lbStyle = BS_HATCHED;
            lb.lbHatch = hatches[style_ - bsHorizontal];
        }
        handle_ = CreateBrushIndirect(&lb);
    }
    if (!handle_) throw EOutOfResources("Out of system resources");
    return handle_;
}

void TBrush::Assign(const TBrush* source)
{
    if (!source || source == this) return;
    Changing();
    color_ = source->color_;
    style_ = source->style_;
    bitmap_ = source->bitmap_;
    Changed();
}

void TBrush::Assign(TPersistent* Source)
{
    if (auto* source = dynamic_cast<TBrush*>(Source)) {
        Assign(static_cast<const TBrush*>(source));
    } else {
        TPersistent::Assign(Source);
    }
}
