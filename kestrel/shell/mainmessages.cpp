#include "mainmessages.h"

ComponentRequest SplitComponentWParam(unsigned long wParam)
{
    return ComponentRequest{static_cast<int>(wParam & 0xFFFF), static_cast<int>((wParam >> 16) & 0xFFFF)};
}

bool ComponentResizeValid(int width, long height, int maxSide)
{
    return width >= 1 && width <= maxSide && height >= 1 && height <= maxSide;
}

bool ComponentParamValid(int index, int kind)
{
    return index >= 0 && index < ComponentParamSlots && kind != 0;
}
