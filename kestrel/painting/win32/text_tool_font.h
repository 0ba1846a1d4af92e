// The text tool's glyphs from a system font, drawn and measured by Pixmill
// in exactly one colour.
#ifndef KESTREL_TEXT_TOOL_FONT_H
#define KESTREL_TEXT_TOOL_FONT_H

#include "font.h"
#include "text_tool.h"

class TFontGlyphs : public TextGlyphs {
public:
    // The font stays the caller's; it is changed by SetFont.
    explicit TFontGlyphs(TFont* font) : font_(font) {}

    void SetFont(const TextFontSpec& spec) override;
    Pair<int> Extent(AnsiString& s) override;
    void Draw(Buffer& dest, Pair<int> pos, AnsiString& s, unsigned long colour) override;

    TFont* Font() const { return font_; }

private:
    TFont* font_;
};

// The text tool draws with font (the program's shared font) from now on.
void InstallTextFont(TFont* font);
// The font installed, or null.
TFont* InstalledTextFont();

#endif
