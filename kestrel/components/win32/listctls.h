// The program's own list controls and label:
// - TCustomScrollListBox: a list box whose items live in the window, with an
//   automatic horizontal extent, tab stops, columns and owner drawing; its
//   contents survive re-creation of the window;
// - TStateCheckListBox: items with a check box or radio button in three
//   states (unchecked, checked, grayed) and an enabled flag;
// - TCustomShadowLabel / TShadowLabel: a label drawn with a one-colour
//   shadow, an engraved look when disabled and an optional focus frame.
#ifndef KESTREL_LISTCTLS_H
#define KESTREL_LISTCTLS_H

#include <memory>
#include <vector>

#include "listctls_model.h"
#include "stdctrls.h"

enum TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable };

using TDrawItemEvent = std::function<void(TWinControl* Control, int Index, const RECT& Rect, UINT State)>;
using TMeasureItemEvent = std::function<void(TWinControl* Control, int Index, int& Height)>;
using TGetItemWidthEvent = std::function<void(TWinControl* Control, int Index, int& Width)>;

class TScrollListStrings;

class TCustomScrollListBox : public TWinControl {
public:
    // 121 x 97, a tab stop, single border, item height 16, extended select.
    explicit TCustomScrollListBox(TComponent* AOwner);
    ~TCustomScrollListBox() override;

    // Bound to the window (made on first use): a bad index raises EListError
    // "List index out of bounds: i", a refused insert EOutOfResources.
    TStrings* GetItems() const;
    void SetItems(TStrings* Value);

    bool GetAutoScroll() const { return autoScroll_; }
    void SetAutoScroll(bool Value);
    int GetColumns() const { return columns_; }
    void SetColumns(int Value);
    bool GetIntegralHeight() const { return integralHeight_; }
    void SetIntegralHeight(bool Value);
    bool GetMultiSelect() const { return multiSelect_; }
    void SetMultiSelect(bool Value);
    bool GetExtendedSelect() const { return extendedSelect_; }
    void SetExtendedSelect(bool Value);
    bool GetSorted() const { return sorted_; }
    void SetSorted(bool Value);
    TListBoxStyle GetStyle() const { return style_; }
    void SetStyle(TListBoxStyle Value);
    int GetTabWidth() const { return tabWidth_; }
    void SetTabWidth(int Value);
    TBorderStyle GetBorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle Value);
    virtual int GetItemHeight() const { return itemHeight_; }
    void SetItemHeight(int Value);

    int GetItemIndex();
    void SetItemIndex(int Value);
    int GetTopIndex();
    void SetTopIndex(int Value);
    bool GetSelected(int Index);
    void SetSelected(int Index, bool Value);
    int ItemAtPos(POINT Pos, bool Existing);
    RECT ItemRect(int Index);
    // The widest item in pixels, as the horizontal extent follows it.
    int GetMaxItemWidth() const { return maxItemWidth_; }
    void Clear();

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void WndProc(TMessage& Message) override;

    TDrawItemEvent OnDrawItem;
    TMeasureItemEvent OnMeasureItem;
    TGetItemWidthEvent OnGetItemWidth;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void FontChanged() override;

    // Width of one item (text + "x", tabs expanded, or OnGetItemWidth).
    virtual int ItemWidth(int Index);
    virtual void DrawItem(int Index, RECT Rect, UINT State, HDC DC);
    // Draws the text the way a plain item does, from Rect.left + 2.
    void DrawItemText(HDC DC, int Index, RECT Rect);
    // The object stored with an item; subclasses may keep it elsewhere.
    virtual TObject* GetItemObject(int Index);
    virtual void SetItemObject(int Index, TObject* Object);
    // An item or all items leave the list (their data may need freeing).
    virtual void ItemDeleting(int Index) { (void)Index; }
    virtual void ItemsClearing() {}
    void CheckIndex(int Index);
    int TextWidthOf(const AnsiString& Text);
    int TabStop() const { return tabStopPixels_; }

private:
    friend class TScrollListStrings;
    bool ExtentFollowsItems() const { return autoScroll_ && columns_ == 0; }
    void SetExtent(int Width);
    void RecalcExtent();
    void ApplyTabStops();
    void ApplyColumnWidth();

    std::unique_ptr<TScrollListStrings> items_;
    bool autoScroll_ = false;
    int columns_ = 0;
    bool integralHeight_ = false;
    bool multiSelect_ = false;
    bool extendedSelect_ = true;
    bool sorted_ = false;
    TListBoxStyle style_ = lbStandard;
    int tabWidth_ = 0;
    int tabStopPixels_ = 0;
    TBorderStyle borderStyle_ = bsSingle;
    int itemHeight_ = 16;
    int maxItemWidth_ = 0;
    // Kept while the window is re-created.
    std::vector<AnsiString> savedStrings_;
    std::vector<LPARAM> savedData_;
    std::vector<int> savedSelection_;
    int savedTop_ = 0;
    int savedIndex_ = -1;
    bool restoring_ = false;
};

using TCheckListStateEvent = std::function<void(TObject* Sender, int Index)>;

class TStateCheckListBox : public TCustomScrollListBox {
public:
    // Owner drawn, AutoScroll on, check boxes.
    explicit TStateCheckListBox(TComponent* AOwner);
    ~TStateCheckListBox() override;

    TCheckKind GetCheckKind() const { return checkKind_; }
    // Becoming radio buttons leaves exactly one item checked.
    void SetCheckKind(TCheckKind Value);
    bool GetAllowGrayed() const { return allowGrayed_; }
    void SetAllowGrayed(bool Value);
    // Radio mode: the first checked item; -1 when none or not radio mode.
    int GetCheckedIndex();
    void SetCheckedIndex(int Value);

    // Per item; a bad index raises EListError. In radio mode grayed reads as
    // unchecked, and the checked item cannot be unchecked directly.
    TCheckBoxState GetState(int Index);
    void SetState(int Index, TCheckBoxState Value);
    bool GetChecked(int Index) { return GetState(Index) == cbChecked; }
    void SetChecked(int Index, bool Value) { SetState(Index, Value ? cbChecked : cbUnchecked); }
    bool GetItemEnabled(int Index);
    void SetItemEnabled(int Index, bool Value);
    // Check width in pixels: glyph cell + 2.
    int GetCheckWidth() const { return cellWidth_ + 2; }
    int GetItemHeight() const override;

    // Checks (or unchecks) every enabled item; nothing in radio mode.
    void CheckAll(bool Checked);
    // A user toggle of one item, as a click or Space makes it.
    void ToggleClickCheck(int Index);
    // While loading, state changes fire no OnStateChange.
    void BeginLoading() { ++loading_; }
    void EndLoading();

    void WndProc(TMessage& Message) override;

    TNotifyEvent OnClickCheck;
    TCheckListStateEvent OnStateChange;

protected:
    void CreateWnd() override;
    int ItemWidth(int Index) override;
    void DrawItem(int Index, RECT Rect, UINT State, HDC DC) override;
    TObject* GetItemObject(int Index) override;
    void SetItemObject(int Index, TObject* Object) override;
    void ItemDeleting(int Index) override;
    void ItemsClearing() override;

private:
    struct TItemRecord {
        unsigned char State = cbUnchecked;
        unsigned char Enabled = 1;
        TObject* Object = nullptr;
    };
    // nullptr when the item has none yet (unchecked, enabled, no object).
    TItemRecord* FindRecord(int Index);
    TItemRecord* RecordOf(int Index);
    void FreeRecord(TItemRecord* Record);
    void InvalidateItem(int Index);
    void MakeOneChecked();
    void CreateCheckImages();

    TCheckKind checkKind_ = ckCheckBoxes;
    bool allowGrayed_ = false;
    int loading_ = 0;
    std::vector<std::unique_ptr<TItemRecord>> records_;
    HBITMAP checkImages_ = nullptr;
    int cellWidth_ = 13;
    int cellHeight_ = 13;
};

enum TShadowPosition { spLeftTop, spLeftBottom, spRightBottom, spRightTop };

class TCustomShadowLabel : public TCustomLabel {
public:
    // 65 x 17, AutoSize, ShowAccelChar, opaque, ParentColor, shadow of 1
    // pixel in button highlight toward the left and top. The caption's
    // accelerator focuses FocusControl (TCustomLabel::DialogChar).
    explicit TCustomShadowLabel(TComponent* AOwner);

    void SetText(const AnsiString& Value) override;
    bool GetShowFocus() const { return showFocus_; }
    void SetShowFocus(bool Value);
    TColor GetShadowColor() const { return shadowColor_; }
    void SetShadowColor(TColor Value);
    int GetShadowSize() const { return shadowSize_; }
    // Negative sizes count as 0.
    void SetShadowSize(int Value);
    TShadowPosition GetShadowPos() const { return shadowPos_; }
    void SetShadowPos(TShadowPosition Value);

    // Draws the label as it looks into a DC, at (0, 0).
    void PaintTo(HDC DC);

protected:
    void Paint() override;
    void MouseEnter() override;
    void MouseLeave() override;
    // Room for the shadow and a pixel of margin round the text.
    void AdjustBounds() override;

private:
    AnsiString DrawnText() const;
    void DrawShadowed(HDC DC, RECT Rect, unsigned Flags);

    bool showFocus_ = false;
    TColor shadowColor_ = clBtnHighlight;
    int shadowSize_ = 1;
    TShadowPosition shadowPos_ = spLeftTop;
    bool mouseOver_ = false;
};

class TShadowLabel : public TCustomShadowLabel {
public:
    explicit TShadowLabel(TComponent* AOwner) : TCustomShadowLabel(AOwner) {}
};

#endif
