// TFont: settings and the HFONT made from them.
#include "font.h"
#include <string.h>

namespace {

int ScreenPixelsPerInch()
{
    HDC screen = GetDC(nullptr);
    int ppi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen) ReleaseDC(nullptr, screen);
    return ppi > 0 ? ppi : 96;
}

}  // namespace

TFont::TFont() : name_("MS Sans Serif"), pixelsPerInch_(ScreenPixelsPerInch())
{
    height_ = -MulDiv(8, pixelsPerInch_, 72);
}

TFont::~TFont()
{
    DestroyHandle();
}

void TFont::DestroyHandle()
{
    if (handle_) DeleteObject(handle_);
    handle_ = nullptr;
}

template <class T> void TFont::Set(T& field, const T& value)
{
    if (field == value) return;
    Changing();
    field = value;
    Changed();
}

void TFont::SetName(const AnsiString& name)
{
    if (name.IsEmpty()) return;  // an empty face would pick an arbitrary font
    Set(name_, name);
}

void TFont::SetHeight(int height) { Set(height_, height); }
void TFont::SetStyle(TFontStyles style) { Set(style_, style & 15u); }
void TFont::SetColor(TColor color) { Set(color_, color); }
void TFont::SetCharset(BYTE charset) { Set(charset_, charset); }
void TFont::SetPitch(TFontPitch pitch) { Set(pitch_, pitch); }
void TFont::SetQuality(BYTE quality) { Set(quality_, quality); }

int TFont::GetSize() const
{
    return -MulDiv(height_, 72, pixelsPerInch_);
}

void TFont::SetSize(int points)
{
    SetHeight(-MulDiv(points, pixelsPerInch_, 72));
}

void TFont::SetPixelsPerInch(int ppi)
{
    if (ppi > 0) pixelsPerInch_ = ppi;
}

HFONT TFont::GetHandle()
{
    if (handle_) return handle_;
    LOGFONTA lf = {};
    lf.lfHeight = height_;
    lf.lfWeight = (style_ & fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (style_ & fsItalic) != 0;
    lf.lfUnderline = (style_ & fsUnderline) != 0;
    lf.lfStrikeOut = (style_ & fsStrikeOut) != 0;
    lf.lfCharSet = charset_;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = quality_;
    lf.lfPitchAndFamily = pitch_ == fpFixed ? FIXED_PITCH : pitch_ == fpVariable ? VARIABLE_PITCH : DEFAULT_PITCH;
    lstrcpynA(lf.lfFaceName, name_.c_str(), LF_FACESIZE);
    handle_ = CreateFontIndirectA(&lf);
    if (!handle_) throw EOutOfResources("Out of system resources");
    return handle_;
}

void TFont::SetHandle(HFONT font)
{
    LOGFONTA lf;
    if (!font || GetObjectA(font, sizeof lf, &lf) != sizeof lf)
        throw EInvalidGraphicOperation("Invalid font handle");
    Changing();
    DestroyHandle();
    name_ = AnsiString(lf.lfFaceName, int(strnlen(lf.lfFaceName, LF_FACESIZE)));
    height_ = lf.lfHeight;
    style_ = (lf.lfWeight >= FW_BOLD ? fsBold : 0u) | (lf.lfItalic ? fsItalic : 0u) |
             (lf.lfUnderline ? fsUnderline : 0u) | (lf.lfStrikeOut ? fsStrikeOut : 0u);
    charset_ = lf.lfCharSet;
    quality_ = lf.lfQuality;
    int pitch = lf.lfPitchAndFamily & 3;
    pitch_ = pitch == FIXED_PITCH ? fpFixed : pitch == VARIABLE_PITCH ? fpVariable : fpDefault;
    // Changed() would delete the handle we were given: notify by hand.
    handle_ = font;
    if (OnChange) OnChange(this);
}

void TFont::Assign(const TFont* source)
{
    if (!source || source == this || SameAs(source)) return;
    Changing();
    name_ = source->name_;
    height_ = source->height_;
    style_ = source->style_;
    color_ = source->color_;
    charset_ = source->charset_;
    pitch_ = source->pitch_;
    quality_ = source->quality_;
    pixelsPerInch_ = source->pixelsPerInch_;
    Changed();
}

bool TFont::SameAs(const TFont* other) const
{
    return name_.AnsiCompareIC(other->name_) == 0 && height_ == other->height_ && style_ == other->style_ &&
           color_ == other->color_ && charset_ == other->charset_ && pitch_ == other->pitch_ &&
           quality_ == other->quality_ && pixelsPerInch_ == other->pixelsPerInch_;
}

void TFont::Assign(TPersistent* Source)
{
    if (auto* source = dynamic_cast<TFont*>(Source)) {
        Assign(static_cast<const TFont*>(source));
    } else {
        TPersistent::Assign(Source);
    }
}
