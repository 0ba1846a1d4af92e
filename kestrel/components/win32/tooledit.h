// Unit ToolEdit: an edit with a button at its right end.
//
// TEditButton: the glyph button used inside the edit (no pressed frame on
// its left side).
// TCustomComboEdit / TComboEdit: a single-line edit (made multi-line so that
// its formatting rectangle keeps the text off the button) whose button, in a
// child window of its own, fires OnButtonClick; ClickKey (Alt+Down) does the
// same from the keyboard. ReadOnly, or DirectInput off, makes the text
// read-only (paste and cut ignored too). Enter and Escape go to the form as
// dialog keys; Enter is then discarded so that no line break is typed.
#ifndef KESTREL_TOOLEDIT_H
#define KESTREL_TOOLEDIT_H

#include "editbutton_place.h"
#include "listctls_glyph.h"
#include "menus.h"

enum TGlyphKind { gkCustom, gkDefault, gkDropDown, gkEllipsis };

class TEditButton : public TGlyphButton {
public:
    explicit TEditButton(TComponent* AOwner);

protected:
    void DrawFrame(HDC DC, RECT& Face, bool Pressed) override;
};

class TCustomComboEdit : public TEditWithButton {
public:
    // 121 x 21, button 21 wide, Alt+Down clicks it.
    explicit TCustomComboEdit(TComponent* AOwner);
    ~TCustomComboEdit() override;

    // A copy is kept; setting it makes GlyphKind gkCustom.
    TBitmap* GetGlyph() const;
    void SetGlyph(TBitmap* Value);
    int GetNumGlyphs() const;
    void SetNumGlyphs(int Value);
    TGlyphKind GetGlyphKind() const { return glyphKind_; }
    void SetGlyphKind(TGlyphKind Value);
    int GetButtonWidth() const { return buttonWidth_; }
    // Ignored when not smaller than the client width (taken as is while
    // loading).
    void SetButtonWidth(int Value);
    AnsiString GetButtonHint() const;
    void SetButtonHint(const AnsiString& Value);
    TShortCut GetClickKey() const { return clickKey_; }
    void SetClickKey(TShortCut Value) { clickKey_ = Value; }
    bool GetDirectInput() const { return directInput_; }
    void SetDirectInput(bool Value);
    bool GetReadOnly() const { return readOnly_; }
    void SetReadOnly(bool Value);
    // The edit's 3-D look (a sunken edge); off gives a flat single border.
    bool GetCtl3D() const { return ctl3D_; }
    void SetCtl3D(bool Value);

    TEditButton* GetButton() const { return button_; }
    // Clicks the button as the user would.
    void DoClick();

    void KeyDown(unsigned short& Key, TShiftState Shift) override;

    TNotifyEvent OnButtonClick;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    virtual void ButtonClick();
    // The glyph of gkDefault (none here).
    virtual TBitmap* DefaultGlyph() { return nullptr; }
    TControl* ButtonControl() const override { return button_; }
    int MinHeightFor(int SystemFontHeight, int FontHeight, int BorderHeight) const override;
    void LayoutButton() override;

private:
    void UpdateReadOnly();
    void RecreateGlyph();

    TGlyphKind glyphKind_ = gkCustom;
    int buttonWidth_ = 21;
    TShortCut clickKey_;
    bool directInput_ = true;
    bool readOnly_ = false;
    bool ctl3D_ = true;
    TEditButton* button_ = nullptr;
};

class TComboEdit : public TCustomComboEdit {
public:
    explicit TComboEdit(TComponent* AOwner) : TCustomComboEdit(AOwner) {}
};

#endif
