// TSpeedButton: a windowless button with a glyph and a caption, used alone
// or in groups where one button stays down (tool palettes).
#ifndef CLASSLIB_BUTTONS_H
#define CLASSLIB_BUTTONS_H

#include <memory>

#include "bitmap.h"
#include "controls.h"

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
// The looks a glyph image exists for, in the order of the images.
enum TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };

// Where the glyph and the caption go on a button face.
struct TGlyphPlacement {
    POINT GlyphPos;
    RECT TextBounds;
};

// Client: the face; Offset: the pressed shift. Margin is the space from the
// edge to the glyph (-1 centres the pair); Spacing is between glyph and text
// (-1 spreads them evenly). An empty glyph or caption means no spacing.
TGlyphPlacement CalcButtonLayout(const RECT& Client, POINT Offset, SIZE TextSize, SIZE GlyphSize,
                                 TButtonLayout Layout, int Margin, int Spacing);

class TSpeedButton : public TGraphicControl {
public:
    // 23 x 22, glyph left, centred, spacing 4.
    explicit TSpeedButton(TComponent* AOwner);
    ~TSpeedButton() override;

    // One to four images side by side: up, disabled, down, stay-down. The
    // bottom-left pixel's colour is transparent.
    TBitmap* GetGlyph() const { return glyph_.get(); }
    void SetGlyph(TBitmap* Value);
    int GetNumGlyphs() const { return numGlyphs_; }
    // 1..4, else EInvalidOperation.
    void SetNumGlyphs(int Value);
    TButtonLayout GetLayout() const { return layout_; }
    void SetLayout(TButtonLayout Value);
    int GetMargin() const { return margin_; }
    void SetMargin(int Value);
    int GetSpacing() const { return spacing_; }
    void SetSpacing(int Value);
    // Buttons of one parent with the same non-zero GroupIndex: at most one
    // is down. AllowAllUp lets the down one be clicked up (shared by the group).
    int GetGroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int Value);
    bool GetDown() const { return down_; }
    // Ignored with GroupIndex 0; refused (kept down) without AllowAllUp.
    void SetDown(bool Value);
    bool GetAllowAllUp() const { return allowAllUp_; }
    void SetAllowAllUp(bool Value);
    // A frame only while the mouse is over the button.
    bool GetFlat() const { return flat_; }
    void SetFlat(bool Value);
    void SetText(const AnsiString& Value) override;
    void SetEnabled(bool Value) override;

    TButtonState GetState() const { return state_; }

    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseEnter() override;
    void MouseLeave() override;

protected:
    void Paint() override;

private:
    void UpdateExclusive();
    template <class F> void ForGroup(F f);
    void DrawFrame(HDC dc, RECT& r);
    void DrawGlyph(HDC dc, POINT p, TButtonState look);
    SIZE GlyphSize();
    bool Inside(int X, int Y) const { return X >= 0 && X < width_ && Y >= 0 && Y < height_; }

    std::unique_ptr<TBitmap> glyph_;
    int numGlyphs_ = 1;
    TButtonLayout layout_ = blGlyphLeft;
    int margin_ = -1;
    int spacing_ = 4;
    int groupIndex_ = 0;
    bool down_ = false;
    bool allowAllUp_ = false;
    bool flat_ = false;
    bool dragging_ = false;
    TButtonState state_ = bsUp;
};

#endif
