// The image window's keyboard: one code per key and modifiers, which keys
// a focused option-bar control keeps for itself, and what each shortcut
// does.
#ifndef KESTREL_IMAGEKEYS_H
#define KESTREL_IMAGEKEYS_H

enum : int { KeyShift = 0x100, KeyCtrl = 0x200, KeyAlt = 0x400 };

// Virtual key + 0x100 with Shift + 0x200 with Ctrl + 0x400 with Alt.
int HotKeyCode(unsigned short vk, bool shift, bool ctrl, bool alt);

// Bits of an option-bar control's tag: what it types.
enum : int { TagNumber = 1, TagText = 2, TagUpDown = 4 };
// True when the focused control with this tag needs the key, so it is no
// shortcut.
bool KeyLeftToControl(int code, int tag);

enum class ImageKey {
    None,
    NextHotSpot,
    ClearActiveControl,
    Escape,
    ScrollTop,
    ScrollBottom,
    ScrollLeftEdge,
    ScrollRightEdge,
    ScrollLeft,
    ScrollRight,
    ScrollUp,
    ScrollDown,
    ToggleFitZoom,
    ZoomIn,
    ZoomOut,
    ResetBrush,
    RedUp,
    RedDown,
    GreenUp,
    GreenDown,
    BlueUp,
    BlueDown,
    SwapColours,
    SwitchReadout,
    Paste,
    Cut,
    Copy,
    DeleteSelected,
    CutRectLarger,
    CutRectSmaller,
    CutRectNarrower,
    CutRectWider,
    CutRectLower,
    CutRectHigher,
    ToggleClipping,
    ToggleAntiAlias,
    Undo,
    BackgroundSelector,
    DrawingSelector,
    SwallowAlt,
    CloseMainWindow,
};

ImageKey ImageKeyFor(int code);
// The keys that act on the colour swatches: channel steps, swap, readout
// model and the colour selectors.
bool IsColourKey(ImageKey key);
// Alt+1 .. Alt+9 and Alt+0: the window index 0 .. 9; -1 for other codes.
int AltWindowIndex(int code);

#endif
