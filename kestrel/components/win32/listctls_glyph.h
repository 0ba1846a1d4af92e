// TGlyphButton (unit listctls): a windowless push button with up to five
// glyph cells (up, disabled, down, held down, inactive = flat and not under
// the mouse), a flat look, a drop-down menu, auto-repeat and grouping.
//
// Properties, grouping, the press and the frame are the class library's
// TCustomSpeedButton, as for TSpeedButton; here the group agrees on
// AllowAllUp whenever it changes.
#ifndef KESTREL_LISTCTLS_GLYPH_H
#define KESTREL_LISTCTLS_GLYPH_H

#include <memory>

#include "bitmap.h"
#include "buttons.h"
#include "glyph_button_model.h"
#include "menus.h"
#include "stdctrls.h"
#include "timer.h"

enum TGlyphButtonStyle { bsAutoDetect, bsWin31, bsNew };
enum TMenuPosition { dmpBottom, dmpRight };

class TGlyphButton : public TCustomSpeedButton {
public:
    // 25 x 25, glyph on top, centred, spacing 1.
    explicit TGlyphButton(TComponent* AOwner);
    ~TGlyphButton() override;

    // A copy is kept. Setting it sets NumGlyphs from its shape when its width
    // is a multiple (below 6) of its height.
    void SetGlyph(TBitmap* Value);
    // 1..5, else EPropertyError.
    void SetNumGlyphs(int Value);
    // -1 centres; below -1 raises EPropertyError.
    void SetMargin(int Value);
    void SetSpacing(int Value);
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
    void SetEnabled(bool Value) override;

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

protected:
    void Paint() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void GlyphChanged() override;
    // Shows DropDownMenu below (or right of) the button and waits; virtual
    // so that a test can stand in for the modal menu.
    virtual void PopupDropDown(int ScreenX, int ScreenY);
    void InvalidateCells();

private:
    void ShowDropDown();
    void TimerTick();
    void DrawGlyphAndText(HDC DC, const RECT& Face, POINT Offset, TGlyphLook Look);
    void DrawMark(HDC DC, const RECT& Face, POINT Offset);

    std::unique_ptr<TBitmap> cells_[5];
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
    bool inMenu_ = false;
    TTimer* repeatTimer_ = nullptr;
};

#endif
