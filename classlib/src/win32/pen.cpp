// TPen: settings and the HPEN made from them.
#include "pen.h"

TPen::~TPen()
{
    DestroyHandle();
}

void TPen::DestroyHandle()
{
    if (handle_) DeleteObject(handle_);
    handle_ = nullptr;
}

void TPen::SetColor(TColor color)
{
    if (color == color_) return;
    Changing();
    color_ = color;
    Changed();
}

void TPen::SetWidth(int width)
{
    if (width < 1) width = 1;
    if (width == width_) return;
    Changing();
    width_ = width;
    Changed();
}

void TPen::SetStyle(TPenStyle style)
{
    if (style == style_) return;
    Changing();
    style_ = style;
    Changed();
}

void TPen::SetMode(TPenMode mode)
{
    if (mode == mode_) return;
    Changing();
    mode_ = mode;
    Changed();
}

HPEN TPen::GetHandle()
{
    if (!handle_) {
        static const int styles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL, PS_INSIDEFRAME};
        handle_ = CreatePen(styles[style_], width_, COLORREF(ColorToRGB(color_)));
        if (!handle_) throw EOutOfResources("Out of system resources");
    }
    return handle_;
}

void TPen::Assign(const TPen* source)
{
    if (!source || source == this) return;
    Changing();
    color_ = source->color_;
    width_ = source->width_;
    style_ = source->style_;
    mode_ = source->mode_;
    Changed();
}

void TPen::Assign(TPersistent* Source)
{
    if (auto* source = dynamic_cast<TPen*>(Source)) {
        Assign(static_cast<const TPen*>(source));
    } else {
        TPersistent::Assign(Source);
    }
}
