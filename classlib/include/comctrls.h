// Common controls: status bar with panels, track bar, up-down, progress bar,
// and the page control with its tab sheets. Each is a superclass of the
// comctl32 class; properties set before the window exists are applied when
// it is made.
#ifndef CLASSLIB_COMCTRLS_H
#define CLASSLIB_COMCTRLS_H

#include <algorithm>
#include <memory>
#include <vector>

#include "list.h"
#include "stdctrls.h"

// ---- status bar

class TStatusBar;

enum TStatusPanelBevel { pbNone, pbLowered, pbRaised };

class TStatusPanel : public TPersistent {
public:
    int GetWidth() const { return width_; }
    void SetWidth(int Value);
    TAlignment GetAlignment() const { return alignment_; }
    void SetAlignment(TAlignment Value);
    AnsiString GetText() const { return text_; }
    void SetText(const AnsiString& Value);
    TStatusPanelBevel GetBevel() const { return bevel_; }
    void SetBevel(TStatusPanelBevel Value);
    int GetIndex() const;

private:
    friend class TStatusPanels;
    explicit TStatusPanel(TStatusBar* bar) : bar_(bar) {}
    void Changed(bool sizes);

    TStatusBar* bar_;
    int width_ = 50;
    TAlignment alignment_ = taLeftJustify;
    AnsiString text_;
    TStatusPanelBevel bevel_ = pbLowered;
};

class TStatusPanels : public TPersistent {
public:
    ~TStatusPanels() override;

    TStatusPanel* Add();
    // Raises EListError for a bad index.
    TStatusPanel* GetItems(int Index) const;
    int GetCount() const { return static_cast<int>(panels_.size()); }
    void Delete(int Index);
    void Clear();
    int IndexOf(const TStatusPanel* Panel) const;

private:
    friend class TStatusBar;
    explicit TStatusPanels(TStatusBar* bar) : bar_(bar) {}

    TStatusBar* bar_;
    std::vector<std::unique_ptr<TStatusPanel>> panels_;
};

class TStatusBar : public TWinControl {
public:
    // Aligned to the bottom, 19 high, clBtnFace, with a size grip; holds
    // other controls.
    explicit TStatusBar(TComponent* AOwner);
    ~TStatusBar() override;

    TStatusPanels* GetPanels() const { return panels_.get(); }
    // One panel across the whole bar showing SimpleText.
    bool GetSimplePanel() const { return simplePanel_; }
    void SetSimplePanel(bool Value);
    AnsiString GetSimpleText() const { return simpleText_; }
    void SetSimpleText(const AnsiString& Value);
    bool GetSizeGrip() const { return sizeGrip_; }
    void SetSizeGrip(bool Value);

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;

private:
    friend class TStatusPanel;
    friend class TStatusPanels;
    void UpdateParts();
    void UpdatePanel(int Index);

    std::unique_ptr<TStatusPanels> panels_;
    bool simplePanel_ = false;
    AnsiString simpleText_;
    bool sizeGrip_ = true;
};

// ---- track bar, up-down, progress bar

enum TTrackBarOrientation { trHorizontal, trVertical };
enum TTickStyle { tsNone, tsAuto, tsManual };
enum TTickMark { tmBottomRight, tmTopLeft, tmBoth };

class TTrackBar : public TWinControl {
public:
    // Horizontal, 150 x 45, 0..10, ticks below, a tab stop.
    explicit TTrackBar(TComponent* AOwner);

    int GetMin() const { return min_; }
    void SetMin(int Value) { SetRange(Value, max_); }
    int GetMax() const { return max_; }
    void SetMax(int Value) { SetRange(min_, Value); }
    // Max < Min raises EInvalidOperation; Position is kept inside.
    void SetRange(int AMin, int AMax);
    int GetPosition() const { return position_; }
    // Clamped to the range; fires OnChange when it changes.
    void SetPosition(int Value);
    int GetFrequency() const { return frequency_; }
    void SetFrequency(int Value);
    int GetLineSize() const { return lineSize_; }
    void SetLineSize(int Value);
    int GetPageSize() const { return pageSize_; }
    void SetPageSize(int Value);
    TTrackBarOrientation GetOrientation() const { return orientation_; }
    void SetOrientation(TTrackBarOrientation Value);
    TTickStyle GetTickStyle() const { return tickStyle_; }
    void SetTickStyle(TTickStyle Value);
    TTickMark GetTickMarks() const { return tickMarks_; }
    void SetTickMarks(TTickMark Value);

    void WndProc(TMessage& Message) override;

    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    virtual void Change();

private:
    int min_ = 0;
    int max_ = 10;
    int position_ = 0;
    int frequency_ = 1;
    int lineSize_ = 1;
    int pageSize_ = 2;
    TTrackBarOrientation orientation_ = trHorizontal;
    TTickStyle tickStyle_ = tsAuto;
    TTickMark tickMarks_ = tmBottomRight;
};

enum TUDOrientation { udHorizontal, udVertical };
enum TUDBtnType { btNext, btPrev };
using TUDClickEvent = std::function<void(TObject* Sender, TUDBtnType Button)>;
using TUDChangingEvent = std::function<void(TObject* Sender, bool& AllowChange)>;

class TUpDown : public TWinControl {
public:
    // Vertical, 15 x 22 (the arrows), 0..100 by 1, arrow keys on.
    explicit TUpDown(TComponent* AOwner);

    int GetMin() const { return min_; }
    void SetMin(int Value);
    int GetMax() const { return max_; }
    void SetMax(int Value);
    int GetPosition();
    // Clamped to the range (no events).
    void SetPosition(int Value);
    int GetIncrement() const { return increment_; }
    void SetIncrement(int Value);
    bool GetWrap() const { return wrap_; }
    void SetWrap(bool Value);
    bool GetArrowKeys() const { return arrowKeys_; }
    void SetArrowKeys(bool Value);
    TUDOrientation GetOrientation() const { return orientation_; }
    void SetOrientation(TUDOrientation Value);

    void WndProc(TMessage& Message) override;

    // Before a click moves the position: a handler may refuse.
    TUDChangingEvent OnChanging;
    // After: btNext for up (or right), btPrev for down (or left).
    TUDClickEvent OnClick;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    virtual void Click(TUDBtnType Button);
    virtual bool CanChange();

private:
    void ApplyRange();

    int min_ = 0;
    int max_ = 100;
    int position_ = 0;
    int increment_ = 1;
    bool wrap_ = false;
    bool arrowKeys_ = true;
    TUDOrientation orientation_ = udVertical;
    TUDBtnType pending_ = btNext;
};

class TProgressBar : public TWinControl {
public:
    // 150 x 16, 0..100, Step 10.
    explicit TProgressBar(TComponent* AOwner);

    int GetMin() const { return min_; }
    void SetMin(int Value);
    int GetMax() const { return max_; }
    void SetMax(int Value);
    int GetPosition() const { return position_; }
    // Clamped to the range.
    void SetPosition(int Value);
    int GetStep() const { return step_; }
    void SetStep(int Value) { step_ = Value; }
    // Position + Step; past Max it starts again from Min.
    void StepIt();
    void StepBy(int Delta);

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;

private:
    void ApplyRange();

    int min_ = 0;
    int max_ = 100;
    int position_ = 0;
    int step_ = 10;
};

// ---- page control

using TTabChangingEvent = std::function<void(TObject* Sender, bool& AllowChange)>;

// The system tab control under the page controls (this one and the
// program's floating one): a tab stop whose tab changes a handler may refuse.
class TCustomTabControl : public TWinControl {
public:
    // The area the pages fill, in client coordinates.
    virtual RECT GetDisplayRect();

    void WndProc(TMessage& Message) override;

    // A tab was chosen by the user (not when set in code).
    TNotifyEvent OnChange;
    TTabChangingEvent OnChanging;

protected:
    // 289 x 193, a tab stop.
    explicit TCustomTabControl(TComponent* AOwner);
    void CreateParams(TCreateParams& Params) override;
    virtual bool CanChange();
    virtual void Change();
};

template <class TBase, class TSheet>
class TCustomPageControl;

// A page: its Caption is the tab's text. Make it with an owner, then
// SetPageControl; controls placed on it show with its page. TSheet is the
// class deriving from this one, TPageCtl its page control.
template <class TSheet, class TPageCtl>
class TCustomTabSheet : public TWinControl {
public:
    TPageCtl* GetPageControl() const { return pageControl_; }
    void SetPageControl(TPageCtl* Value)
    {
        if (Value == pageControl_) return;
        if (pageControl_) pageControl_->RemovePage(Self());
        pageControl_ = Value;
        // Hidden until chosen, so that adding a page does not flash it.
        SetVisible(false);
        SetParent(Value);
        if (Value) Value->InsertPage(Self());
    }
    // Position among the pages, -1 without a control.
    int GetPageIndex() const { return pageControl_ ? pageControl_->IndexOfPage(Self()) : -1; }

    TNotifyEvent OnShow;
    TNotifyEvent OnHide;

protected:
    explicit TCustomTabSheet(TComponent* AOwner) : TWinControl(AOwner)
    {
        controlStyle_ = csAcceptsControls | csCaptureMouse | csClickEvents | csDoubleClicks | csSetCaption;
        visible_ = false;
        SetColor(clBtnFace);
    }
    TSheet* Self() { return static_cast<TSheet*>(this); }
    const TSheet* Self() const { return static_cast<const TSheet*>(this); }

    template <class, class>
    friend class TCustomPageControl;
    TPageCtl* pageControl_ = nullptr;
};

// The list of pages over a tab control (TBase): one page shows at a time,
// filling the display area. What the tabs do when the list changes is the
// derived class's.
template <class TBase, class TSheet>
class TCustomPageControl : public TBase {
public:
    int GetPageCount() const { return static_cast<int>(pages_.size()); }
    // Raises EListError.
    TSheet* GetPages(int Index) const
    {
        if (Index < 0 || Index >= GetPageCount()) ListIndexError(Index);
        return pages_[Index];
    }
    TSheet* GetActivePage() const { return activePage_; }
    int GetActivePageIndex() const { return activePage_ ? activePage_->GetPageIndex() : -1; }

protected:
    using TBase::TBase;
    // The sheets are freed with the other children by the base class; they
    // must not call back into this object once it is going.
    ~TCustomPageControl() override
    {
        for (TSheet* page : pages_) page->pageControl_ = nullptr;
        pages_.clear();
        activePage_ = nullptr;
    }

    // The tab strip follows the list: the tab at Removed went, one came at
    // Inserted (-1 for none).
    virtual void PagesChanged(int Removed, int Inserted) = 0;
    // The active page's tab (or none) is selected.
    virtual void SelectActiveTab() = 0;
    // The page shown after the active one at Index was taken out.
    virtual int PageAfterRemoval(int Index) const { return std::min(Index, GetPageCount() - 1); }
    virtual void HidePage(TSheet* Page) { Page->SetVisible(false); }

    int IndexOfPage(const TSheet* Page) const
    {
        return static_cast<int>(std::find(pages_.begin(), pages_.end(), Page) - pages_.begin());
    }
    void InsertPage(TSheet* Page)
    {
        pages_.push_back(Page);
        PagesChanged(-1, GetPageCount() - 1);
        this->Realign();
        if (!activePage_) ShowPage(Page);
    }
    void RemovePage(TSheet* Page)
    {
        int index = IndexOfPage(Page);
        if (index == GetPageCount()) return;
        pages_.erase(pages_.begin() + index);
        Page->pageControl_ = nullptr;
        bool wasActive = activePage_ == Page;
        if (wasActive) activePage_ = nullptr;
        PagesChanged(index, -1);
        if (wasActive && !pages_.empty() && !this->IsDestroying()) ShowPage(pages_[PageAfterRemoval(index)]);
    }
    void MovePage(TSheet* Page, int NewIndex)
    {
        int old = IndexOfPage(Page);
        if (old == NewIndex) return;
        pages_.erase(pages_.begin() + old);
        pages_.insert(pages_.begin() + NewIndex, Page);
        PagesChanged(old, NewIndex);
    }
    void ShowPage(TSheet* Page)
    {
        if (Page == activePage_) return;
        TSheet* old = activePage_;
        activePage_ = Page;
        if (Page) {
            RECT r = this->GetDisplayRect();
            Page->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
            Page->SetVisible(true);
            Page->BringToFront();
            if (Page->OnShow) Page->OnShow(Page);
        }
        SelectActiveTab();
        if (!old) return;
        HidePage(old);
        if (old->OnHide) old->OnHide(old);
    }
    void AlignControls(RECT& Rect) override
    {
        Rect = this->GetDisplayRect();
        for (TSheet* page : pages_) page->SetBounds(Rect.left, Rect.top, Rect.right - Rect.left, Rect.bottom - Rect.top);
        TBase::AlignControls(Rect);
    }

    template <class, class>
    friend class TCustomTabSheet;
    std::vector<TSheet*> pages_;
    TSheet* activePage_ = nullptr;
};

class TPageControl;

class TTabSheet : public TCustomTabSheet<TTabSheet, TPageControl> {
public:
    explicit TTabSheet(TComponent* AOwner) : TCustomTabSheet(AOwner) {}
    ~TTabSheet() override;

    // Raises EListError.
    void SetPageIndex(int Value);
    void SetText(const AnsiString& Value) override;
};

class TPageControl : public TCustomPageControl<TCustomTabControl, TTabSheet> {
public:
    explicit TPageControl(TComponent* AOwner) : TCustomPageControl(AOwner) {}

    // A page of another control raises EInvalidOperation.
    void SetActivePage(TTabSheet* Page);
    // -1 shows no page; others outside the pages raise EListError.
    void SetActivePageIndex(int Value);
    // The next (or previous) page after the active one, wrapping round.
    void SelectNextPage(bool GoForward);

protected:
    void CreateWnd() override;
    void Change() override;
    void PagesChanged(int Removed, int Inserted) override;
    void SelectActiveTab() override;

private:
    friend class TTabSheet;
    void UpdateTab(TTabSheet* Page);
    void InsertTab(int Index);
};

#endif
