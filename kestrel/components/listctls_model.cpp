#include "listctls_model.h"

#include <cmath>

int CheckImageCell(TCheckKind kind, bool enabled, int state)
{
    // [radio][enabled][state]
    static const int cells[2][2][3] = {
        {{2, 3, 11}, {0, 1, 10}},
        {{6, 7, 9}, {4, 5, 8}},
    };
    if (state < 0 || state > 2) state = CheckStateUnchecked;
    return cells[kind == ckRadioButtons][enabled ? 1 : 0][state];
}

int ToggledCheckState(int state, bool allowGrayed, TCheckKind kind)
{
    switch (state) {
    case CheckStateChecked: return CheckStateUnchecked;
    case CheckStateGrayed: return CheckStateChecked;
    default: return allowGrayed && kind == ckCheckBoxes ? CheckStateGrayed : CheckStateChecked;
    }
}

int ListColumnWidth(int width, int columns)
{
    if (columns <= 0) return 0;
    return (width + columns - 3) / columns;
}

int ListTabStopPixels(int zeroWidth, int tabWidth)
{
    if (tabWidth < 0) tabWidth = 0;
    return static_cast<int>(std::lround(zeroWidth * tabWidth * 0.25));
}
