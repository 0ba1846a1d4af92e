#include "control_support_model.h"

#include "exceptions.h"
#include "sysutils.h"

TRect StripCellRect(int Width, int Height, int Cols, int Rows, int Index)
{
    if (Cols <= 0 || Rows <= 0 || Index < 0 || Index >= Cols * Rows)
        throw EListError(Format("Image strip cell out of bounds (%d)", Index));
    const int cellW = Width / Cols;
    const int cellH = Height / Rows;
    if (cellW <= 0 || cellH <= 0)
        throw EInvalidOperation(Format("Image of %d x %d too small for %d x %d cells", Width, Height, Cols, Rows));
    int left = (Index % Cols) * cellW;
    int top = (Index / Cols) * cellH;
    return TRect{left, top, left + cellW, top + cellH};
}

AnsiString ShortenText(const AnsiString& Text, int MaxWidth,
                       const std::function<int(const AnsiString&)>& TextWidth)
{
    if (TextWidth(Text) <= MaxWidth) return Text;
    // Binary search over the kept length: width grows with length, and a
    // long text would otherwise cost one measurement per character.
    int lo = 0;
    int hi = Text.Length() - 1;
    while (lo < hi) {
        int mid = (lo + hi + 1) / 2;
        if (TextWidth(Text.SubString(1, mid) + "...") <= MaxWidth)
            lo = mid;
        else
            hi = mid - 1;
    }
    return Text.SubString(1, lo) + "...";
}
