// TGlyphButton (unit listctls): a windowless push button with up to five
// glyph cells (up, disabled, down, held down, inactive = flat and not under
// the mouse), a flat look, a drop-down menu, auto-repeat and grouping.
//
// Grouping: buttons of one parent with the same non-zero GroupIndex keep at
// most one down; the news goes to the siblings as CM_GLYPHBUTTONPRESSED
// (WParam the group, LParam the button), so the group also agrees on
// AllowAllUp.
//
// Glyph and caption are placed by the class library's CalcButtonLayout, the
// one layout rule the program's speed buttons share.
#ifndef KESTREL_LISTCTLS_GLYPH_H
#define KESTREL_LISTCTLS_GLYPH_H

#include <memory>

#include "bitmap.h"
#include "buttons.h"
#include "glyphcalc.h"
#include "menus.h"
#include "stdctrls.h"
#include "timer.h"

enum : UINT { CM_GLYPHBUTTONPRESSED = CM_BASE + 0x3A1 };

enum TGlyphButtonStyle { bsAutoDetect, bsWin31, bsNew };
enum TMenuPosition { dmpBottom, dmpRight };

class TGlyphButton : public TGraphicControl {
public:
    // 25 x 25, glyph on top, centred, spacing 1.
    explicit TGlyphButton(TComponent* AOwner);
    ~TGlyphButton() override;

    // A copy is kept. Setting it sets NumGlyphs from its shape when its width
    // is a multiple (below 6) of its height.
    TBitmap* GetGlyph() const { return glyph_.get(); }
    void SetGlyph(TBitmap* Value);
    int GetNumGlyphs() const { return numGlyphs_; }
    // 1..5, else EPropertyError.
    void SetNumGlyphs(int Value);
    TButtonLayout GetLayout() const { return layout_; }
    void SetLayout(TButtonLayout Value);
    int GetMargin() const { return margin_; }
    // -1 centres; below -1 raises EPropertyError.
    void SetMargin(int Value);
    int GetSpacing() const { return spacing_; }
    void SetSpacing(int Value);
    int GetGroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int Value);
    bool GetDown() const { return down_; }
    // Ignored without a group; up refused while AllowAllUp is off.
    void SetDown(bool Value);
    bool GetAllowAllUp() const { return allowAllUp_; }
    void SetAllowAllUp(bool Value);
    bool GetFlat() const { return flat_; }
    void SetFlat(bool Value);
    bool GetTransparent() const { return transparent_; }
    void SetTransparent(bool Value);
    TGlyphButtonStyle GetStyle() const { return style_; }
    void SetStyle(TGlyphButtonStyle Value);
    bool GetGrayedInactive() const { return grayedInactive_; }
    void SetGrayedInactive(bool Value);
    bool GetMarkDropDown() const { return markDropDown_; }
    void SetMarkDropDown(bool Value);
    TPopupMenu* GetDropDownMenu() const { return dropDownMenu_; }
    void SetDropDownMenu(TPopupMenu* Value);
    TMenuPosition GetMenuPosition() const { return menuPosition_; }
    void SetMenuPosition(TMenuPosition Value) { menuPosition_ = Value; }
    bool GetAllowTimer() const { return allowTimer_; }
    void SetAllowTimer(bool Value);
    unsigned GetInitPause() const { return initPause_; }
    void SetInitPause(unsigned Value) { initPause_ = Value; }
    unsigned GetRepeatInterval() const { return repeatInterval_; }
    void SetRepeatInterval(unsigned Value) { repeatInterval_ = Value; }
    int GetModalResult() const { return modalResult_; }
    void SetModalResult(int Value) { modalResult_ = Value; }
    bool GetWordWrap() const { return wordWrap_; }
    void SetWordWrap(bool Value);
    TAlignment GetAlignment() const { return alignment_; }
    void SetAlignment(TAlignment Value);
    void SetText(const AnsiString& Value) override;
    void SetEnabled(bool Value) override;

    TButtonState GetState() const { return state_; }
    bool GetDragging() const { return dragging_; }
    bool GetMenuShowing() const { return inMenu_; }
    // The repeat timer (made at the first press with AllowTimer), for tests.
    TTimer* GetRepeatTimer() const { return repeatTimer_; }
    // The look it would be drawn in now.
    TGlyphLook CurrentLook() const;
    // The cell image for a look (generated cells are cached), or nullptr
    // without a glyph.
    TBitmap* GetCellBitmap(TGlyphLook Look);
    // Paints the whole face into DC at (0,0), as on screen.
    void PaintTo(HDC DC);

    void Click() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void WndProc(TMessage& Message) override;

protected:
    void Paint() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // Whether the pressed frame is drawn (TEditButton draws none on its left).
    virtual void DrawFrame(HDC DC, RECT& Face, bool Pressed);
    // Shows DropDownMenu below (or right of) the button and waits; virtual
    // so that a test can stand in for the modal menu.
    virtual void PopupDropDown(int ScreenX, int ScreenY);
    void InvalidateCells();

private:
    void GroupChanged();
    void ButtonPressed(int Group, TGlyphButton* Sender);
    void TimerTick();
    void DrawGlyphAndText(HDC DC, const RECT& Face, POINT Offset, TGlyphLook Look);
    void DrawMark(HDC DC, const RECT& Face, POINT Offset);
    SIZE CellSize() const;
    bool Inside(int X, int Y) const { return X >= 0 && X < width_ && Y >= 0 && Y < height_; }

    std::unique_ptr<TBitmap> glyph_;
    std::unique_ptr<TBitmap> cells_[5];
    int numGlyphs_ = 1;
    TButtonLayout layout_ = blGlyphTop;
    int margin_ = -1;
    int spacing_ = 1;
    int groupIndex_ = 0;
    bool down_ = false;
    bool allowAllUp_ = false;
    bool flat_ = false;
    bool transparent_ = false;
    TGlyphButtonStyle style_ = bsAutoDetect;
    bool grayedInactive_ = true;
    bool markDropDown_ = true;
    TPopupMenu* dropDownMenu_ = nullptr;
    TMenuPosition menuPosition_ = dmpBottom;
    bool allowTimer_ = false;
    unsigned initPause_ = 500;
    unsigned repeatInterval_ = 100;
    int modalResult_ = 0;
    bool wordWrap_ = false;
    TAlignment alignment_ = taCenter;
    TButtonState state_ = bsUp;
    bool dragging_ = false;
    bool inMenu_ = false;
    TTimer* repeatTimer_ = nullptr;
};

#endif
