#include "text_tool_font.h"

#include <memory>

namespace {
const int MaxFaceName = 31;  // LOGFONT's face name, less its terminator
}  // namespace

void TFontGlyphs::SetFont(const TextFontSpec& spec)
{
    AnsiString name = spec.name;
    if (name.Length() > MaxFaceName) name = name.SubString(1, MaxFaceName);
    if (!name.IsEmpty()) font_->SetName(name);
    font_->SetSize(spec.size);
    font_->SetStyle(TFontStyles(spec.style & (fsBold | fsItalic | fsUnderline)));
    font_->SetCharset(BYTE(spec.charset));
}

Pair<int> TFontGlyphs::Extent(AnsiString& s)
{
    Buffer measure;
    return measure.GetTextExtent(font_, s);
}

void TFontGlyphs::Draw(Buffer& dest, Pair<int> pos, AnsiString& s, unsigned long colour)
{
    dest.OutText(font_, pos, s, colour);
}

namespace {
std::unique_ptr<TFontGlyphs>& InstalledGlyphs()
{
    static std::unique_ptr<TFontGlyphs> glyphs;
    return glyphs;
}
}  // namespace

void InstallTextFont(TFont* font)
{
    TextTool().SetGlyphs(nullptr);
    InstalledGlyphs().reset(font ? new TFontGlyphs(font) : nullptr);
    TextTool().SetGlyphs(InstalledGlyphs().get());
}

TFont* InstalledTextFont() { return InstalledGlyphs() ? InstalledGlyphs()->Font() : nullptr; }
