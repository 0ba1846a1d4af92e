#include "langassign.h"

#include "sysutils.h"

bool SplitComponentPath(AnsiString& path, AnsiString& component)
{
    int dot = path.Pos(".");
    if (dot == 0) return false;
    component = path.SubString(1, dot - 1).Trim();
    path = path.SubString(dot + 1, path.Length() - dot).Trim();
    return true;
}

std::vector<AnsiString> SplitListValue(const AnsiString& value)
{
    std::vector<AnsiString> items;
    AnsiString rest = value;
    for (int bar; (bar = rest.Pos("|")) != 0;) {
        items.push_back(rest.SubString(1, bar - 1));
        rest = rest.SubString(bar + 1, rest.Length() - bar);
    }
    if (!rest.IsEmpty()) items.push_back(rest);
    return items;
}

bool ParseIntegerValue(const AnsiString& value, int& result) { return TryStrToInt(value.Trim(), result); }
