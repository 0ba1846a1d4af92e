// TFont: a font described by name, height and style; its HFONT is made on
// demand and remade after any change.
//
// Height is in pixels (negative: character height, as LOGFONT), Size in
// points at PixelsPerInch; setting one sets the other.
#ifndef CLASSLIB_FONT_H
#define CLASSLIB_FONT_H

#include "winapi.h"
#include "ansistring.h"
#include "graphics.h"

// Font styles, or-ed into a set.
typedef unsigned TFontStyles;
enum : unsigned {
    fsBold = 1,
    fsItalic = 2,
    fsUnderline = 4,
    fsStrikeOut = 8,
};

enum TFontPitch { fpDefault, fpVariable, fpFixed };

class TFont : public TGraphicsObject {
public:
    // "MS Sans Serif", 8 points, clWindowText, DEFAULT_CHARSET.
    TFont();
    ~TFont() override;

    AnsiString GetName() const { return name_; }
    void SetName(const AnsiString& name);
    int GetHeight() const { return height_; }
    void SetHeight(int height);
    int GetSize() const;
    void SetSize(int points);
    TFontStyles GetStyle() const { return style_; }
    void SetStyle(TFontStyles style);
    TColor GetColor() const { return color_; }
    void SetColor(TColor color);
    BYTE GetCharset() const { return charset_; }
    void SetCharset(BYTE charset);
    TFontPitch GetPitch() const { return pitch_; }
    void SetPitch(TFontPitch pitch);
    // LOGFONT quality: NONANTIALIASED_QUALITY gives exact pixels (tests).
    BYTE GetQuality() const { return quality_; }
    void SetQuality(BYTE quality);
    int GetPixelsPerInch() const { return pixelsPerInch_; }
    // Keeps Height; Size follows.
    void SetPixelsPerInch(int ppi);

    // Made on first use; the font owns it.
    HFONT GetHandle();
    // Takes ownership of font and reads its description from it.
    void SetHandle(HFONT font);
    bool HandleAllocated() const { return handle_ != nullptr; }

    // Copies every setting (not the handle, not OnChange).
    void Assign(const TFont* source);
    // Another TFont, or EConvertError.
    void Assign(TPersistent* Source) override;
    bool SameAs(const TFont* other) const;

private:
    void DestroyHandle() override;
    template <class T> void Set(T& field, const T& value);

    AnsiString name_;
    int height_;
    TFontStyles style_ = 0;
    TColor color_ = clWindowText;
    BYTE charset_ = DEFAULT_CHARSET;
    TFontPitch pitch_ = fpDefault;
    BYTE quality_ = DEFAULT_QUALITY;
    int pixelsPerInch_;
    HFONT handle_ = nullptr;
};

#endif
