#include "brushstate.h"

#include "exceptions.h"
#include "programpictures.h"

TBrushState BrushState;
std::function<void()> StampRecolourHook;
std::function<void()> ResetBrushHook;

bool RebuildStampFromBrush()
{
    try {
        StampBuffer.Alloc(Pair<int>{CurrentBrush.Width(), CurrentBrush.Height()});
        StampBuffer.Copy(CurrentBrush, Pair<int>{-CurrentBrush.left, -CurrentBrush.top}, 0xFFFFFFFF);
    } catch (const EOutOfMemory&) {
        StampBuffer.Free();
        return false;
    }
    if (StampRecolourHook) StampRecolourHook();
    return true;
}
