#include "drop_shadow.h"

#include "brush_commands.h"
#include "exceptions.h"
#include "messages.h"
#include "paintkit.h"
#include "paintkit_host.h"
#include "programpictures.h"

namespace {
bool Widens(int direction) { return direction != ShadowSouth; }
bool Deepens(int direction) { return direction != ShadowEast; }
}  // namespace

Pair<int> ShadowedSize(int w, int h, int depth, int direction)
{
    return Pair<int>{Widens(direction) ? w + depth : w, Deepens(direction) ? h + depth : h};
}

void ShadowedBrush(Buffer& src, int depth, int direction, unsigned long colour, Buffer& out)
{
    Pair<int> size = ShadowedSize(src.Width(), src.Height(), depth, direction);
    Buffer shadowed;
    shadowed.Alloc(size);
    shadowed.Box(shadowed.GetRect(), KeyPixel);
    int sx = direction == ShadowEast || direction == ShadowSouthEast ? depth : 0;
    int sy = Deepens(direction) ? depth : 0;
    shadowed.Copy(src, Pair<int>{sx - src.left, sy - src.top}, KeyPixel);
    for (int y = 0; y < size.y; ++y) {
        unsigned long* p = shadowed.At(0, y);
        for (int x = 0; x < size.x; ++x)
            if (p[x] != KeyPixel) p[x] = colour;
    }
    int bx = direction == ShadowSouthWest ? depth : 0;
    shadowed.Copy(src, Pair<int>{bx - src.left, -src.top}, KeyPixel);
    out = shadowed;
}

bool DropShadowBrush(int depth, int direction)
{
    if (!CurrentBrush.pixels) return false;
    if (depth < MinShadowDepth || depth > MaxShadowDepth || direction < ShadowEast || direction > ShadowSouthWest) {
        TranslatedMessageBox("BadShadow", "Err", MsgIconWarning);
        return false;
    }
    Pair<int> size = ShadowedSize(CurrentBrush.Width(), CurrentBrush.Height(), depth, direction);
    if (!BrushSizeAllowed(size.x, size.y)) return false;
    try {
        Buffer shadowed;
        ShadowedBrush(CurrentBrush, depth, direction, ForeColour(), shadowed);
        if (!ReplaceBrush(shadowed, "ShadBr")) return false;
        OptimiseBrush();
        RecolorBrush(false);
    } catch (const EOutOfMemory&) {
        // Built aside: the brush is as it was with no step, or it was replaced
        // together with its step and only its stamp is behind.
        TranslatedMessageBox("BrTooBig", "Err", MsgIconWarning);
        SelectDefaultTool(true);
        return false;
    }
    return true;
}
