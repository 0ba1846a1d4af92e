// TSpeedButton: a windowless button with a glyph and a caption, used alone
// or in groups where one button stays down (tool palettes).
// TCustomSpeedButton: what it shares with the program's other glyph buttons.
#ifndef CLASSLIB_BUTTONS_H
#define CLASSLIB_BUTTONS_H

#include <memory>

#include "bitmap.h"
#include "buttonface.h"
#include "controls.h"

// The looks a glyph image exists for, in the order of the images.
enum TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };

// Where the glyph and the caption go on a button face.
struct TGlyphPlacement {
    POINT GlyphPos;
    RECT TextBounds;
};

// PlaceButtonFace without an arrow. Client: the face; Offset: the pressed
// shift. Margin is the space from the edge to the glyph (-1 centres the
// pair); Spacing is between glyph and text (-1 spreads them evenly).
TGlyphPlacement CalcButtonLayout(const RECT& Client, POINT Offset, SIZE TextSize, SIZE GlyphSize,
                                 TButtonLayout Layout, int Margin, int Spacing);

// Size x Size of Strip from column Left at At, the strip's transparent colour
// left out. Engraved: the opaque shape in shadow over a highlight copy one
// pixel down and right (the disabled look of a glyph without its own).
void DrawButtonGlyph(HDC DC, POINT At, TBitmap* Strip, int Left, SIZE Size, bool Engraved);
// A caption on a button face; disabled, in shadow over a highlight copy one
// pixel down and right.
void DrawButtonText(HDC DC, const AnsiString& Text, RECT Bounds, UINT Flags, bool Enabled, TColor FontColor);

// Glyph, layout, groups (buttons of one parent with the same non-zero
// GroupIndex: at most one is down), the look a mouse press gives and the
// frame. Which image means which look, and the painting, are the subclass's.
class TCustomSpeedButton : public TGraphicControl {
public:
    ~TCustomSpeedButton() override;

    TBitmap* GetGlyph() const { return glyph_.get(); }
    int GetNumGlyphs() const { return numGlyphs_; }
    TButtonLayout GetLayout() const { return layout_; }
    void SetLayout(TButtonLayout Value);
    int GetMargin() const { return margin_; }
    int GetSpacing() const { return spacing_; }
    int GetGroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int Value);
    bool GetDown() const { return down_; }
    // Ignored with GroupIndex 0; refused (kept down) without AllowAllUp.
    void SetDown(bool Value);
    // Lets the down one be clicked up; shared by the group.
    bool GetAllowAllUp() const { return allowAllUp_; }
    void SetAllowAllUp(bool Value);
    // A frame only while the mouse is over the button.
    bool GetFlat() const { return flat_; }
    void SetFlat(bool Value);
    void SetText(const AnsiString& Value) override;
    void SetEnabled(bool Value) override;

    TButtonState GetState() const { return state_; }

    void MouseEnter() override;
    void MouseLeave() override;

protected:
    // GroupSync: the group agrees on AllowAllUp whenever it changes (a
    // button joins, goes down), not only when AllowAllUp is set.
    TCustomSpeedButton(TComponent* AOwner, int Width, int Height, TButtonLayout Layout, int Spacing,
                       bool GroupSync);

    virtual void GlyphChanged() { Invalidate(); }
    // The raised (or flat) frame, pressed or not; Face shrinks to inside it.
    virtual void DrawFrame(HDC DC, RECT& Face, bool Pressed);

    // The mouse press: BeginPress on the left button of an enabled button,
    // TrackPress while it moves, EndPress (while dragging) on release; true
    // when released over the button, which then clicks.
    void BeginPress();
    void TrackPress(int X, int Y);
    bool EndPress(int X, int Y);
    bool PressedLook() const { return state_ == bsDown || state_ == bsExclusive; }
    SIZE GlyphSize() const;
    // Glyph and Caption (measured in the control's font, selected into DC)
    // on Face.
    TGlyphPlacement PlaceFace(HDC DC, const RECT& Face, POINT Offset, const AnsiString& Caption);
    bool Inside(int X, int Y) const { return X >= 0 && X < width_ && Y >= 0 && Y < height_; }

    std::unique_ptr<TBitmap> glyph_;
    int numGlyphs_ = 1;
    TButtonLayout layout_;
    int margin_ = -1;
    int spacing_;
    int groupIndex_ = 0;
    bool down_ = false;
    bool allowAllUp_ = false;
    bool flat_ = false;
    bool dragging_ = false;
    TButtonState state_ = bsUp;

private:
    void SyncGroup(bool ShareAllowAllUp);

    const bool groupSync_;
};

class TSpeedButton : public TCustomSpeedButton {
public:
    // 23 x 22, glyph left, centred, spacing 4.
    explicit TSpeedButton(TComponent* AOwner);

    // One to four images side by side: up, disabled, down, stay-down. The
    // bottom-left pixel's colour is transparent.
    void SetGlyph(TBitmap* Value);
    // 1..4, else EInvalidOperation.
    void SetNumGlyphs(int Value);
    // Below -1 counts as -1.
    void SetMargin(int Value);
    void SetSpacing(int Value);

    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

protected:
    void Paint() override;
};

#endif
