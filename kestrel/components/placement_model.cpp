#include "placement_model.h"

#include <cstdio>

#include "sysutils.h"

AnsiString FormatPosStr(int A, int B, int C, int D)
{
    return Format("%d,%d,%d,%d", A, B, C, D);
}

bool ParsePosStr(const AnsiString& Text, int& A, int& B, int& C, int& D)
{
    int v[4];
    int start = 1;
    for (int i = 0; i < 4; ++i) {
        int comma = Text.SubString(start, Text.Length() - start + 1).Pos(",");
        bool last = i == 3;
        if (last != (comma == 0)) return false;
        int len = last ? Text.Length() - start + 1 : comma - 1;
        if (!TryStrToInt(Text.SubString(start, len).Trim(), v[i])) return false;
        start += len + 1;
    }
    A = v[0];
    B = v[1];
    C = v[2];
    D = v[3];
    return true;
}

AnsiString ResolutionSuffix(int ScreenWidth, int ScreenHeight)
{
    return Format("(%dx%d)", ScreenWidth, ScreenHeight);
}

AnsiString DefaultSectionName(const AnsiString& FormName, const AnsiString& ComponentName, bool IsForm)
{
    if (IsForm) return FormName;
    return Format("%s.%s", FormName.c_str(), ComponentName.c_str());
}

AnsiString DefaultIniName(const AnsiString& ExeName)
{
    int dot = ExeName.LastDelimiter(".\\/:");
    if (dot > 0 && ExeName[dot] == '.') return ExeName.SubString(1, dot - 1) + ".INI";
    return ExeName + ".INI";
}

AnsiString DefaultRegKey(const AnsiString& Title, const AnsiString& ExeName)
{
    if (!Title.IsEmpty()) return "Software\\" + Title;
    int slash = ExeName.LastDelimiter("\\/:");
    AnsiString name = ExeName.SubString(slash + 1, ExeName.Length() - slash);
    int dot = name.LastDelimiter(".");
    if (dot > 0) name = name.SubString(1, dot - 1);
    return "Software\\" + name;
}

namespace {

// One axis: the span [lo, hi) kept inside [areaLo, areaHi).
void FitSpan(int& lo, int& hi, int areaLo, int areaHi)
{
    if (hi < lo) hi = lo;
    long long size = static_cast<long long>(hi) - lo;
    long long areaSize = static_cast<long long>(areaHi) - areaLo;
    if (areaSize < 0) areaSize = 0;
    if (size > areaSize) size = areaSize;
    long long start = lo;
    if (start + size > areaHi) start = areaHi - size;
    if (start < areaLo) start = areaLo;
    lo = static_cast<int>(start);
    hi = static_cast<int>(start + size);
}

}  // namespace

TRect FitRectToArea(const TRect& R, const TRect& Area)
{
    TRect r = R;
    FitSpan(r.Left, r.Right, Area.Left, Area.Right);
    FitSpan(r.Top, r.Bottom, Area.Top, Area.Bottom);
    return r;
}
