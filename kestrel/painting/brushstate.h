// The brush's state beside its pixels; every undo step keeps a copy so that
// undoing a brush command brings the brush back as it was.
#ifndef KESTREL_BRUSHSTATE_H
#define KESTREL_BRUSHSTATE_H

#include <functional>

struct TBrushState {
    short originX = 0, originY = 0;    // where the brush was last taken from
    unsigned long colour = 0;          // colour kept with the brush for saving
    unsigned long keyColour = 0;       // stands for the key while transforming
    unsigned char paintMode = 0;       // 0 P, 1 C, 2 R
    unsigned char pictureBrush = 0;    // cut from a picture
    short size = 1;                    // radius of a built-in brush
    unsigned char hotSpot = 0;         // 0 centre, 1 left-top, 2 right-top, 3 right-bottom, 4 left-bottom
};

extern TBrushState BrushState;

// After undo or redo changed the brush: StampBuffer becomes a copy of the
// brush, then StampRecolourHook (the paint kit's recolouring) runs when set.
// False when memory ran out: the stamp is then empty and the caller resets
// the brush (ResetBrushHook).
bool RebuildStampFromBrush();

extern std::function<void()> StampRecolourHook;
extern std::function<void()> ResetBrushHook;

#endif
