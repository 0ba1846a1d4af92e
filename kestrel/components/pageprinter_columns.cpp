#include "pageprinter_columns.h"

#include <cmath>
#include "sysutils.h"

std::vector<AnsiString> SplitColumns(const AnsiString& text, char separator)
{
    std::vector<AnsiString> parts;
    AnsiString part;
    for (int i = 1; i <= text.Length(); i++) {
        if (text[i] == separator) {
            parts.push_back(part);
            part = "";
        } else {
            part += text[i];
        }
    }
    parts.push_back(part);
    return parts;
}

namespace {

char AlignChar(TColumnAlign align)
{
    return align == caRight ? '>' : align == caCenter ? '^' : '<';
}

AnsiString SpecText(const ColumnSpec& spec)
{
    double width = spec.grid ? spec.width : -spec.width;
    return AnsiString(AlignChar(spec.align)) + Trim(FloatToStr(width));
}

}  // namespace

ColumnSpec ParseColumnSpec(const AnsiString& spec, double defaultWidth)
{
    ColumnSpec column;
    AnsiString rest = Trim(spec);
    if (!rest.IsEmpty()) {
        char first = rest[1];
        if (first == '<' || first == '>' || first == '^') {
            column.align = first == '>' ? caRight : first == '^' ? caCenter : caLeft;
            rest = Trim(rest.SubString(2, rest.Length() - 1));
        }
    }
    double width = defaultWidth;
    if (!rest.IsEmpty() && !TryStrToFloat(rest, width)) width = defaultWidth;
    if (width < 0) {
        column.grid = false;
        width = -width;
    }
    column.width = width;
    return column;
}

AnsiString NormalizeColumnFormat(const AnsiString& format, char separator, double defaultWidth)
{
    return ScaleColumnFormat(format, separator, 1.0, defaultWidth);
}

AnsiString ScaleColumnFormat(const AnsiString& format, char separator, double factor, double defaultWidth)
{
    if (format.IsEmpty()) return format;
    AnsiString result;
    std::vector<AnsiString> parts = SplitColumns(format, separator);
    for (size_t i = 0; i < parts.size(); i++) {
        ColumnSpec spec = ParseColumnSpec(parts[i], defaultWidth);
        spec.width *= factor;
        if (i > 0) result += separator;
        result += SpecText(spec);
    }
    return result;
}
