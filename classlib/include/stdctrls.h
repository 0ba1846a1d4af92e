// The standard controls: label, button, check box, radio button, group box,
// edit, memo, combo box, list box and scroll bar.
//
// Each windowed one is a superclass of the system control (BUTTON, EDIT, ...)
// whose notifications come back reflected (CN_COMMAND, CN_HSCROLL, ...).
// Properties set before the window exists are kept and applied when it is
// made, and survive RecreateWnd; so do the strings of Items and Lines, which
// are kept by the object and mirrored into the window.
//
// Events follow the class library: OnClick of a check box, radio button or
// radio group also fires when Checked / ItemIndex is changed in code (only
// when the value changes); OnChange of an edit fires for every change of its
// text, typed or set.
#ifndef CLASSLIB_STDCTRLS_H
#define CLASSLIB_STDCTRLS_H

#include <memory>

#include "controls.h"
#include "stringlist.h"

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TTextLayout { tlTop, tlCenter, tlBottom };

// ---- label

class TCustomLabel : public TGraphicControl {
public:
    // AutoSize on, ParentColor, left-aligned, accelerator characters shown.
    explicit TCustomLabel(TComponent* AOwner);
    ~TCustomLabel() override;

    void SetText(const AnsiString& Value) override;
    bool GetAutoSize() const { return autoSize_; }
    void SetAutoSize(bool Value);
    TAlignment GetAlignment() const { return alignment_; }
    void SetAlignment(TAlignment Value);
    TTextLayout GetLayout() const { return layout_; }
    void SetLayout(TTextLayout Value);
    bool GetWordWrap() const { return wordWrap_; }
    void SetWordWrap(bool Value);
    bool GetTransparent() const { return transparent_; }
    void SetTransparent(bool Value);
    bool GetShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool Value);
    // The control its accelerator focuses; cleared when that control goes.
    TWinControl* GetFocusControl() const { return focusControl_; }
    void SetFocusControl(TWinControl* Value);
    // Key is the caption's accelerator: FocusControl takes the focus and
    // true is returned (CM_DIALOGCHAR comes here).
    bool DialogChar(char Key);
    void WndProc(TMessage& Message) override;

protected:
    void Paint() override;
    void FontChanged() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // The size waits while loading; it is fitted once the caption and font
    // are all set.
    void Loaded() override;
    // Fits the bounds to the caption (AutoSize); the right edge stays for
    // right-aligned labels.
    virtual void AdjustBounds();
    unsigned TextFlags() const;

private:
    bool autoSize_ = true;
    TAlignment alignment_ = taLeftJustify;
    TTextLayout layout_ = tlTop;
    bool wordWrap_ = false;
    bool transparent_ = false;
    bool showAccelChar_ = true;
    TWinControl* focusControl_ = nullptr;
};

class TLabel : public TCustomLabel {
public:
    explicit TLabel(TComponent* AOwner) : TCustomLabel(AOwner) {}
};

// ---- buttons

class TButton : public TWinControl {
public:
    // 75 x 25, a tab stop.
    explicit TButton(TComponent* AOwner);

    // Enter clicks the default button (unless another button has the focus),
    // Escape the cancel button.
    bool GetDefault() const { return default_; }
    void SetDefault(bool Value);
    bool GetCancel() const { return cancel_; }
    void SetCancel(bool Value) { cancel_ = Value; }
    // Given to the form by a click; a modal form then closes.
    int GetModalResult() const { return modalResult_; }
    void SetModalResult(int Value) { modalResult_ = Value; }

    void Click() override;
    void WndProc(TMessage& Message) override;

protected:
    void CreateParams(TCreateParams& Params) override;

private:
    bool IsActiveForEnter();

    bool default_ = false;
    bool cancel_ = false;
    int modalResult_ = 0;
};

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

class TCheckBox : public TWinControl {
public:
    // 97 x 17, a tab stop, ParentColor, the box left of the caption.
    explicit TCheckBox(TComponent* AOwner);

    bool GetChecked() const { return state_ == cbChecked; }
    void SetChecked(bool Value) { SetState(Value ? cbChecked : cbUnchecked); }
    TCheckBoxState GetState() const { return state_; }
    // Fires OnClick when the state changes.
    void SetState(TCheckBoxState Value);
    // A click then goes unchecked -> checked -> grayed.
    bool GetAllowGrayed() const { return allowGrayed_; }
    void SetAllowGrayed(bool Value) { allowGrayed_ = Value; }
    // taLeftJustify puts the caption left of the box.
    TAlignment GetAlignment() const { return alignment_; }
    void SetAlignment(TAlignment Value);

    void WndProc(TMessage& Message) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    virtual void Toggle();

private:
    TCheckBoxState state_ = cbUnchecked;
    bool allowGrayed_ = false;
    TAlignment alignment_ = taRightJustify;
};

class TRadioButton : public TWinControl {
public:
    // 113 x 17, ParentColor.
    explicit TRadioButton(TComponent* AOwner);

    bool GetChecked() const { return checked_; }
    // Checking one turns off the other radio buttons of the same parent and
    // fires OnClick.
    void SetChecked(bool Value);
    TAlignment GetAlignment() const { return alignment_; }
    void SetAlignment(TAlignment Value);

    void WndProc(TMessage& Message) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;

private:
    bool checked_ = false;
    TAlignment alignment_ = taRightJustify;
};

// A captioned frame that holds other controls.
class TCustomGroupBox : public TCustomControl {
public:
    // 185 x 105, ParentColor.
    explicit TCustomGroupBox(TComponent* AOwner);
    void SetText(const AnsiString& Value) override;

protected:
    void Paint() override;
    // Children align inside the frame, below the caption.
    void AlignControls(RECT& Rect) override;
    int CaptionHeight();
};

class TGroupBox : public TCustomGroupBox {
public:
    explicit TGroupBox(TComponent* AOwner) : TCustomGroupBox(AOwner) {}
};

// ---- edit and memo

enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };

class TCustomEdit : public TWinControl {
public:
    // 121 x 25, a tab stop, a sunken border, AutoSize and AutoSelect on.
    explicit TCustomEdit(TComponent* AOwner);

    // 0 = no limit beyond the system's.
    int GetMaxLength() const { return maxLength_; }
    void SetMaxLength(int Value);
    bool GetReadOnly() const { return readOnly_; }
    void SetReadOnly(bool Value);
    // Select all text when the edit gets the focus.
    bool GetAutoSelect() const { return autoSelect_; }
    void SetAutoSelect(bool Value) { autoSelect_ = Value; }
    // Height follows the font (single-line edits).
    bool GetAutoSize() const { return autoSize_; }
    void SetAutoSize(bool Value);
    TEditCharCase GetCharCase() const { return charCase_; }
    void SetCharCase(TEditCharCase Value);
    bool GetHideSelection() const { return hideSelection_; }
    void SetHideSelection(bool Value);
    bool GetOEMConvert() const { return oemConvert_; }
    void SetOEMConvert(bool Value);
    char GetPasswordChar() const { return passwordChar_; }
    void SetPasswordChar(char Value);
    TBorderStyle GetBorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle Value);
    TAlignment GetAlignment() const { return alignment_; }
    void SetAlignment(TAlignment Value);
    // The user changed the text since Modified was last cleared.
    bool GetModified();
    void SetModified(bool Value);

    // Selection in characters from the start of the text.
    int GetSelStart();
    void SetSelStart(int Value);
    int GetSelLength();
    void SetSelLength(int Value);
    AnsiString GetSelText();
    void SetSelText(const AnsiString& Value);
    void SelectAll();
    void ClearSelection();
    void Clear() { SetText(""); }
    void CutToClipboard();
    void CopyToClipboard();
    void PasteFromClipboard();
    void Undo();

    // Subclasses that intercept paste or cut override WndProc for WM_PASTE
    // and WM_CUT.
    void WndProc(TMessage& Message) override;

    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void FontChanged() override;
    // The text changed; fires OnChange.
    virtual void Change();
    virtual bool IsMultiLine() const { return false; }
    void AdjustHeight();

private:
    int maxLength_ = 0;
    bool readOnly_ = false;
    bool autoSelect_ = true;
    bool autoSize_ = true;
    TEditCharCase charCase_ = ecNormal;
    bool hideSelection_ = true;
    bool oemConvert_ = false;
    char passwordChar_ = 0;
    TBorderStyle borderStyle_ = bsSingle;
    TAlignment alignment_ = taLeftJustify;
    bool modified_ = false;
    int selStart_ = 0;
    int selLength_ = 0;
};

class TEdit : public TCustomEdit {
public:
    explicit TEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}
};

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

class TMemoStrings;

class TCustomMemo : public TCustomEdit {
public:
    // 185 x 89, word wrap, Enter makes a new line, Tab moves the focus.
    explicit TCustomMemo(TComponent* AOwner);
    ~TCustomMemo() override;

    // The text's lines (a last line break adds no empty line).
    TStrings* GetLines() const;
    void SetLines(TStrings* Value);
    TScrollStyle GetScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle Value);
    bool GetWordWrap() const { return wordWrap_; }
    void SetWordWrap(bool Value);
    bool GetWantReturns() const { return wantReturns_; }
    void SetWantReturns(bool Value) { wantReturns_ = Value; }
    bool GetWantTabs() const { return wantTabs_; }
    void SetWantTabs(bool Value) { wantTabs_ = Value; }

    void WndProc(TMessage& Message) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    bool IsMultiLine() const override { return true; }

private:
    std::unique_ptr<TMemoStrings> lines_;
    TScrollStyle scrollBars_ = ssNone;
    bool wordWrap_ = true;
    bool wantReturns_ = true;
    bool wantTabs_ = false;
};

class TMemo : public TCustomMemo {
public:
    explicit TMemo(TComponent* AOwner) : TCustomMemo(AOwner) {}
};

// ---- list box and combo box

class TListItems;

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList };

class TCustomComboBox : public TWinControl {
public:
    // 145 wide, drop-down, 8 items tall when dropped.
    explicit TCustomComboBox(TComponent* AOwner);
    ~TCustomComboBox() override;

    TStrings* GetItems() const;
    void SetItems(TStrings* Value);
    // -1 = none; outside -1..Count-1 raises EListError.
    int GetItemIndex();
    void SetItemIndex(int Value);
    TComboBoxStyle GetStyle() const { return style_; }
    void SetStyle(TComboBoxStyle Value);
    bool GetSorted() const;
    void SetSorted(bool Value);
    int GetDropDownCount() const { return dropDownCount_; }
    void SetDropDownCount(int Value);
    int GetMaxLength() const { return maxLength_; }
    void SetMaxLength(int Value);
    bool GetDroppedDown();
    void SetDroppedDown(bool Value);
    void Clear();

    // The height is the system's (from the font); only the width is set.
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void WndProc(TMessage& Message) override;

    // A selection from the list, or text typed in the edit part.
    TNotifyEvent OnChange;
    TNotifyEvent OnDropDown;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    virtual void Change();

private:
    int DroppedHeight() const;

    std::unique_ptr<TListItems> items_;
    TComboBoxStyle style_ = csDropDown;
    int dropDownCount_ = 8;
    int maxLength_ = 0;
};

class TComboBox : public TCustomComboBox {
public:
    explicit TComboBox(TComponent* AOwner) : TCustomComboBox(AOwner) {}
};

class TCustomListBox : public TWinControl {
public:
    // 121 x 97, a tab stop, a sunken border, vertical scroll bar.
    explicit TCustomListBox(TComponent* AOwner);
    ~TCustomListBox() override;

    TStrings* GetItems() const;
    void SetItems(TStrings* Value);
    // -1 = none (the focused item in a multi-select list); outside
    // -1..Count-1 raises EListError.
    int GetItemIndex();
    void SetItemIndex(int Value);
    bool GetSorted() const;
    void SetSorted(bool Value);
    bool GetMultiSelect() const { return multiSelect_; }
    void SetMultiSelect(bool Value);
    // Multi-select lists: raises EListError for a bad index.
    bool GetSelected(int Index);
    void SetSelected(int Index, bool Value);
    int GetSelCount();
    int GetItemHeight();
    void SetItemHeight(int Value);
    int GetTopIndex();
    void SetTopIndex(int Value);
    // The item at a client point; with Existing false, a point below the
    // last item gives Count. -1 when there is none.
    int ItemAtPos(POINT Pos, bool Existing);
    RECT ItemRect(int Index);
    void Clear();

    void WndProc(TMessage& Message) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DestroyWnd() override;

private:
    void CheckIndex(int Index) const;

    std::unique_ptr<TListItems> items_;
    bool multiSelect_ = false;
    int itemHeight_ = 0;  // 0 = the font's
    int topIndex_ = 0;
    std::vector<int> savedSelection_;
};

class TListBox : public TCustomListBox {
public:
    explicit TListBox(TComponent* AOwner) : TCustomListBox(AOwner) {}
};

// ---- scroll bar

enum TScrollBarKind { sbHorizontal, sbVertical };
enum TScrollCode { scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom, scEndScroll };
using TScrollEvent = std::function<void(TObject* Sender, TScrollCode ScrollCode, int& ScrollPos)>;

// The scroll code a WM_HSCROLL/WM_VSCROLL request carries (SB_xxx).
TScrollCode ScrollCodeOf(int sbCode);

class TScrollBar : public TWinControl {
public:
    // Horizontal, 121 long, 0..100, a tab stop.
    explicit TScrollBar(TComponent* AOwner);

    TScrollBarKind GetKind() const { return kind_; }
    // Swaps width and height when the kind changes.
    void SetKind(TScrollBarKind Value);
    int GetMin() const { return min_; }
    void SetMin(int Value) { SetParams(position_, Value, max_); }
    int GetMax() const { return max_; }
    void SetMax(int Value) { SetParams(position_, min_, Value); }
    int GetPosition() const { return position_; }
    void SetPosition(int Value) { SetParams(Value, min_, max_); }
    // Max < Min raises EInvalidOperation; Position is clamped to the range.
    // Fires OnChange when Position changes.
    void SetParams(int APosition, int AMin, int AMax);
    int GetSmallChange() const { return smallChange_; }
    void SetSmallChange(int Value) { smallChange_ = Value; }
    int GetLargeChange() const { return largeChange_; }
    void SetLargeChange(int Value) { largeChange_ = Value; }
    // The thumb's size (0 = a square thumb).
    int GetPageSize() const { return pageSize_; }
    void SetPageSize(int Value);

    void WndProc(TMessage& Message) override;

    TNotifyEvent OnChange;
    // Before the move: the handler may change ScrollPos.
    TScrollEvent OnScroll;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    virtual void Change();
    virtual void Scroll(TScrollCode ScrollCode, int& ScrollPos);

private:
    void ApplyScrollInfo();
    void DoScroll(int sbCode);

    TScrollBarKind kind_ = sbHorizontal;
    int min_ = 0;
    int max_ = 100;
    int position_ = 0;
    int smallChange_ = 1;
    int largeChange_ = 1;
    int pageSize_ = 0;
};

#endif
