// Toolbar controls: TToolbarButton, a windowless push button (flat or
// raised, glyph strip or image list, caption, dropdown menu, auto-repeat,
// radio groups); TFlatEdit, an edit drawn flat that shows a sunken frame
// while it has the focus or the mouse; TDropdownList, the program-wide
// window that receives the menu messages of the buttons' dropdown menus.
//
// Hot tracking: one button in the program is "hot" (the mouse is over it and
// the program is active, or the button shows its border when inactive). A
// shared 125 ms timer notices when the mouse has left it.
#ifndef KESTREL_TOOLBAR_BUTTON_H
#define KESTREL_TOOLBAR_BUTTON_H

#include <memory>

#include "bitmap.h"
#include "buttons.h"
#include "controls.h"
#include "menus.h"
#include "stdctrls.h"
#include "toolbar_button_model.h"
#include "timer.h"

class TImageList;
class TButtonGlyph;

enum TButtonDisplayMode { dmBoth, dmGlyphOnly, dmTextOnly };

// ShowMenu: pop the menu up (starts true when a menu is assigned);
// RemoveClicks: drop the clicks queued on the button meanwhile (true).
using TDropdownEvent = std::function<void(TObject* Sender, bool& ShowMenu, bool& RemoveClicks)>;

class TToolbarButton : public TGraphicControl {
public:
    // 23 x 22, flat, opaque, glyph left, centred, spacing 4.
    explicit TToolbarButton(TComponent* AOwner);
    ~TToolbarButton() override;

    // Buttons of one parent with the same non-zero GroupIndex: at most one
    // is down. Without AllowAllUp the down one cannot be clicked up.
    bool GetAllowAllUp() const { return allowAllUp_; }
    void SetAllowAllUp(bool Value);
    int GetGroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int Value);
    bool GetDown() const { return down_; }
    // Stays false with GroupIndex 0. True releases the group mates and
    // gives them this button's AllowAllUp.
    void SetDown(bool Value);

    bool GetFlat() const { return flat_; }
    void SetFlat(bool Value);
    // A flat button that is not Opaque lets its parent show through.
    bool GetOpaque() const { return opaque_; }
    void SetOpaque(bool Value);
    bool GetNoBorder() const { return noBorder_; }
    void SetNoBorder(bool Value);
    bool GetShowBorderWhenInactive() const { return showBorderWhenInactive_; }
    void SetShowBorderWhenInactive(bool Value) { showBorderWhenInactive_ = Value; }
    TButtonDisplayMode GetDisplayMode() const { return displayMode_; }
    void SetDisplayMode(TButtonDisplayMode Value);
    TButtonLayout GetLayout() const { return layout_; }
    void SetLayout(TButtonLayout Value);
    TAlignment GetAlignment() const { return alignment_; }
    void SetAlignment(TAlignment Value);
    // -1 centres; values below -1 are ignored.
    int GetMargin() const { return margin_; }
    void SetMargin(int Value);
    int GetSpacing() const { return spacing_; }
    void SetSpacing(int Value);
    bool GetWordWrap() const { return wordWrap_; }
    void SetWordWrap(bool Value);

    // Up to five images side by side: up, disabled, down, exclusive, hot.
    // Transparent where the bottom-left pixel's colour is, unless GlyphMask
    // (same size, white = transparent) says otherwise. Assigning sets
    // NumGlyphs from the strip's shape (1 with a mask).
    TBitmap* GetGlyph() const { return glyph_.get(); }
    void SetGlyph(TBitmap* Value);
    TBitmap* GetGlyphMask() const { return glyphMask_.get(); }
    void SetGlyphMask(TBitmap* Value);
    int GetNumGlyphs() const { return numGlyphs_; }
    // Clamped to 1..5.
    void SetNumGlyphs(int Value);
    // Images come before Glyph when set; the caller keeps the list alive.
    TImageList* GetImages() const { return images_; }
    void SetImages(TImageList* Value);
    int GetImageIndex() const { return imageIndex_; }
    void SetImageIndex(int Value);
    // Disabled images generated from the up image: embossed (old style) or
    // in highlight and shadow tones (new style).
    bool GetOldDisabledStyle() const { return oldDisabledStyle_; }
    void SetOldDisabledStyle(bool Value);

    TPopupMenu* GetDropdownMenu() const { return dropdownMenu_; }
    void SetDropdownMenu(TPopupMenu* Value);
    bool GetDropdownAlways() const { return dropdownAlways_; }
    void SetDropdownAlways(bool Value);
    bool GetDropdownArrow() const { return dropdownArrow_; }
    void SetDropdownArrow(bool Value);
    // A separate 11-pixel arrow part opens the menu; the rest clicks.
    // Switching it widens (narrows) the button by 11 pixels.
    bool GetDropdownCombo() const { return dropdownCombo_; }
    void SetDropdownCombo(bool Value);

    bool GetRepeating() const { return repeating_; }
    void SetRepeating(bool Value) { repeating_ = Value; }
    unsigned GetRepeatDelay() const { return repeatDelay_; }
    void SetRepeatDelay(unsigned Value) { repeatDelay_ = Value; }
    unsigned GetRepeatInterval() const { return repeatInterval_; }
    void SetRepeatInterval(unsigned Value) { repeatInterval_ = Value; }

    bool GetCancel() const { return cancel_; }
    void SetCancel(bool Value) { cancel_ = Value; }
    bool GetDefault() const { return default_; }
    void SetDefault(bool Value) { default_ = Value; }
    int GetModalResult() const { return modalResult_; }
    void SetModalResult(int Value) { modalResult_ = Value; }

    TToolbarButtonState GetState() const { return state_; }
    // The mouse is over the button and it shows the hot look.
    bool IsHot() const;

    void SetText(const AnsiString& Value) override;
    void SetEnabled(bool Value) override;

    // Toggles a grouped button, sets the form's ModalResult, fires OnClick
    // and opens the dropdown menu as a press on the button would.
    void Click() override;
    // The caption's accelerator character: clicks and answers true when
    // Key is it and the button can be clicked by keyboard.
    bool DialogChar(char Key);

    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void WndProc(TMessage& Message) override;

    // Paints the button at 0,0 of DC (what Paint puts on the parent).
    void PaintTo(HDC DC);

    TDropdownEvent OnDropdown;
    TNotifyEvent OnMouseExit;

protected:
    void Paint() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    friend class THotTracker;
    bool HasDropdown() const { return dropdownMenu_ || dropdownAlways_; }
    bool InMainPart(int X, int Y) const;
    bool Pressed() const { return state_ == tbsDown || state_ == tbsExclusive; }
    TToolbarButtonState RestingState() const;
    void SetState(TToolbarButtonState Value);
    void ReleaseGroupMates();
    void StartHot();
    void EndHot();
    void RepeatTick();
    void StopRepeat();
    void Dropdown();
    void PopupAt(TPopupMenu* Menu, POINT At, bool AlignRight);
    void RemoveQueuedClicks();
    void EndParentCapture();
    void GlyphChanged();
    void UpdateOpaqueStyle();
    TButtonGlyph* PreparedGlyph();
    void DrawFace(HDC DC);
    void DrawBorder(HDC DC, RECT& R);
    void DrawCaption(HDC DC, const RECT& Bounds, bool Enabled);
    void DrawArrow(HDC DC, int X, int Y, bool Enabled);

    std::unique_ptr<TBitmap> glyph_;
    std::unique_ptr<TBitmap> glyphMask_;
    std::unique_ptr<TButtonGlyph> prepared_;
    std::unique_ptr<TTimer> repeatTimer_;
    TImageList* images_ = nullptr;
    TPopupMenu* dropdownMenu_ = nullptr;
    int imageIndex_ = -1;
    int numGlyphs_ = 1;
    bool allowAllUp_ = false;
    int groupIndex_ = 0;
    bool down_ = false;
    bool flat_ = true;
    bool opaque_ = true;
    bool noBorder_ = false;
    bool showBorderWhenInactive_ = false;
    TButtonDisplayMode displayMode_ = dmBoth;
    TButtonLayout layout_ = blGlyphLeft;
    TAlignment alignment_ = taCenter;
    int margin_ = -1;
    int spacing_ = 4;
    bool wordWrap_ = false;
    bool oldDisabledStyle_ = false;
    bool dropdownAlways_ = false;
    bool dropdownArrow_ = true;
    bool dropdownCombo_ = false;
    bool repeating_ = false;
    unsigned repeatDelay_ = 400;
    unsigned repeatInterval_ = 100;
    bool cancel_ = false;
    bool default_ = false;
    int modalResult_ = 0;

    TToolbarButtonState state_ = tbsUp;
    bool dragging_ = false;      // left button held after a press on the main part
    bool heldInside_ = false;    // while dragging: the mouse is on the main part
    bool dropPressed_ = false;   // the press was on the dropdown part
    bool endingCapture_ = false; // the button-up we send ourselves after a menu
};

// The hidden window that hears the menu messages of every button's dropdown
// menu: commands, popup initialisation, hints on selection and help (F1).
class TDropdownList : public TComponent {
public:
    TDropdownList();
    ~TDropdownList() override;

    // Registers Menu once (freed with a free notification); the window is
    // made with the first menu and destroyed with the last.
    void AddMenu(TPopupMenu* Menu);
    void RemoveMenu(TPopupMenu* Menu);
    int GetMenuCount() const { return static_cast<int>(menus_.size()); }
    // Null while no menu is registered.
    HWND GetWindow() const { return window_; }

    // What the window does with a message; true when one of the menus took it.
    bool HandleMessage(TMessage& Message);

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    bool ShowItemHelp(const HELPINFO* Info);
    TMenuItem* FindItem(UINT_PTR Value, TFindItemKind Kind);

    std::vector<TPopupMenu*> menus_;
    HWND window_ = nullptr;
};

// The program's one list (made on first use).
TDropdownList* DropdownList();

class TFlatEdit : public TCustomEdit {
public:
    // 19 high, no border of its own: it paints a flat one in a 3-pixel frame.
    explicit TFlatEdit(TComponent* AOwner);

    // The frame shows the sunken "active" look now.
    bool IsActiveLook();
    void WndProc(TMessage& Message) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void FontChanged() override;
    void MouseEnter() override;
    void MouseLeave() override;

private:
    void FollowFont();
    void PaintFrame();
};

#endif
