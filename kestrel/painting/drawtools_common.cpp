#include "drawtools_common.h"

#include <algorithm>
#include <cmath>

#include "optionbar.h"
#include "paintkit.h"
#include "paintkit_host.h"
#include "pictureview.h"
#include "tool_host.h"

std::function<void(int index, MainOptionHandler handler)> OptionHandlerBinder;

static const unsigned RightButtonBit = 16;  // ssRight of the shift state

bool RightButtonPressed() { return (MouseShift & RightButtonBit) != 0; }

unsigned long ButtonColour() { return RightButtonPressed() ? BackColour() : ForeColour(); }

int OptionInt(int index, int lo, int hi)
{
    double v = GetOptionValue(index);
    if (!(v == v)) return lo;
    v = std::floor(v + 0.5);
    if (v < lo) return lo;
    if (v > hi) return hi;
    return int(v);
}

void ShowSizeText(int dx, int dy) { SetImageStatusText(2, AnsiString().sprintf("[%d,%d]", dx, dy)); }

void ClearSizeText() { SetImageStatusText(2, AnsiString()); }

double DabSpacing(int mode, int value, double length)
{
    if (mode == 1) return std::max(value, 1);
    // Fewer than two dabs cannot put one at each end.
    if (mode == 2) return std::max(length, 0.0) / double(std::max(value, 2) - 1);
    return 1;
}

void CountDirtyChange()
{
    if (CurrentPicture && !DirtyRectIsEmpty()) ++CurrentPicture->modified;
}

void CropUndoToDirtyRect()
{
    UDBuffer* pic = CurrentPicture;
    if (!pic) return;
    if (DirtyRectIsEmpty()) {
        UDBuffer::DropUndo(pic);
        return;
    }
    UDBuffer::ShrinkUndo(pic, DirtyRect.left, DirtyRect.top, DirtyRect.right, DirtyRect.bottom);
}

void BindOptionHandler(int index, MainOptionHandler handler)
{
    if (OptionHandlerBinder) OptionHandlerBinder(index, handler);
}
