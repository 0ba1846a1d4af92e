#include "pageprinter_friendly.h"

#include <cstring>
#include <vector>
#include "sysutils.h"

namespace {

struct FriendlyColumn {
    TColumnAlign align;
    AnsiString text;
};

// What a code other than a column code puts into the text.
AnsiString CodeText(char code, const FriendlyValues& v)
{
    switch (code) {
    case '&': return "&";
    case 'd': return v.shortDate;
    case 'D': return v.longDate;
    case 't': return v.shortTime;
    case 'T': return v.longTime;
    case 'F': return v.fileName;
    case 'f': return ExtractFileName(v.fileName);
    case 'p': return "{$PAGE}";
    case 'i': return "{$TITLE}";
    default: return " ";
    }
}

bool ColumnCode(char code, TColumnAlign& align)
{
    if (code == 'l') align = caLeft;
    else if (code == 'c') align = caCenter;
    else if (code == 'r') align = caRight;
    else return false;
    return true;
}

std::vector<FriendlyColumn> ReadColumns(const AnsiString& friendly, const FriendlyValues& values)
{
    std::vector<FriendlyColumn> columns;
    FriendlyColumn lead{caLeft, ""};
    int n = friendly.Length();
    for (int i = 1; i <= n; i++) {
        AnsiString* target = columns.empty() ? &lead.text : &columns.back().text;
        char c = friendly[i];
        if (c != '&') {
            *target += c;
            continue;
        }
        // A lone ampersand at the end is an unknown code.
        char code = i < n ? friendly[++i] : '\0';
        TColumnAlign align;
        if (ColumnCode(code, align)) {
            if (columns.empty() && !lead.text.IsEmpty()) columns.push_back(lead);
            columns.push_back(FriendlyColumn{align, ""});
        } else {
            *target += CodeText(code, values);
        }
    }
    if (columns.empty() && !lead.text.IsEmpty()) columns.push_back(lead);
    return columns;
}

char AlignChar(TColumnAlign align)
{
    return align == caRight ? '>' : align == caCenter ? '^' : '<';
}

}  // namespace

FriendlyResult ReadFriendlyText(const AnsiString& friendly, const FriendlyValues& values, double width,
                                char separator)
{
    FriendlyResult result;
    std::vector<FriendlyColumn> columns = ReadColumns(friendly, values);
    if (columns.empty()) return result;
    AnsiString share = Trim(FloatToStrF(width / double(columns.size()), ffFixed, 8, 2));
    for (size_t i = 0; i < columns.size(); i++) {
        if (i > 0) {
            result.text += separator;
            result.format += separator;
        }
        result.text += columns[i].text;
        result.format += AnsiString(AlignChar(columns[i].align)) + share;
    }
    return result;
}

namespace {

struct Macro {
    const char* name;
    AnsiString (*value)(const MacroValues&);
};

const Macro Macros[] = {
    {"{$LINE}", [](const MacroValues& v) { return IntToStr(v.line); }},
    {"{$PAGE}", [](const MacroValues& v) { return IntToStr(v.page); }},
    {"{$DATE}", [](const MacroValues& v) { return v.date; }},
    {"{$TIME}", [](const MacroValues& v) { return v.time; }},
    {"{$TITLE}", [](const MacroValues& v) { return v.title; }},
};

}  // namespace

AnsiString ExpandMacros(const AnsiString& text, const MacroValues& values)
{
    if (text.Pos("{$") == 0) return text;
    AnsiString out;
    const char* p = text.c_str();
    while (*p) {
        const Macro* found = nullptr;
        if (p[0] == '{' && p[1] == '$') {
            for (const Macro& m : Macros)
                if (std::strncmp(p, m.name, std::strlen(m.name)) == 0) found = &m;
        }
        if (found) {
            out += found->value(values);
            p += std::strlen(found->name);
        } else {
            out += *p++;
        }
    }
    return out;
}
