// Common controls: status bar with panels, track bar, up-down, progress bar,
// and the page control with its tab sheets. Each is a superclass of the
// comctl32 class; properties set before the window exists are applied when
// it is made.
#ifndef CLASSLIB_COMCTRLS_H
#define CLASSLIB_COMCTRLS_H

#include <memory>
#include <vector>

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

class TPageControl;

// A page of a page control; its Caption is the tab's text. Make it with an
// owner, then SetPageControl; controls placed on it show with its page.
class TTabSheet : public TWinControl {
public:
    explicit TTabSheet(TComponent* AOwner);
    ~TTabSheet() override;

    TPageControl* GetPageControl() const { return pageControl_; }
    void SetPageControl(TPageControl* Value);
    // Position among the pages; raises EListError.
    int GetPageIndex() const;
    void SetPageIndex(int Value);
    void SetText(const AnsiString& Value) override;

    TNotifyEvent OnShow;
    TNotifyEvent OnHide;

private:
    friend class TPageControl;
    TPageControl* pageControl_ = nullptr;
};

using TTabChangingEvent = std::function<void(TObject* Sender, bool& AllowChange)>;

class TPageControl : public TWinControl {
public:
    // 289 x 193, a tab stop.
    explicit TPageControl(TComponent* AOwner);
    ~TPageControl() override;

    int GetPageCount() const { return static_cast<int>(pages_.size()); }
    // Raises EListError.
    TTabSheet* GetPages(int Index) const;
    TTabSheet* GetActivePage() const { return activePage_; }
    // A page of another control raises EInvalidOperation.
    void SetActivePage(TTabSheet* Page);
    int GetActivePageIndex() const;
    // -1 shows no page; others outside the pages raise EListError.
    void SetActivePageIndex(int Value);
    // The next (or previous) page after the active one, wrapping round.
    void SelectNextPage(bool GoForward);
    // The area the pages fill, in client coordinates.
    RECT GetDisplayRect();

    void WndProc(TMessage& Message) override;

    // A tab was chosen by the user (not when set in code).
    TNotifyEvent OnChange;
    TTabChangingEvent OnChanging;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void AlignControls(RECT& Rect) override;
    virtual void Change();
    virtual bool CanChange();

private:
    friend class TTabSheet;
    void InsertPage(TTabSheet* Page);
    void RemovePage(TTabSheet* Page);
    void MovePage(TTabSheet* Page, int NewIndex);
    void UpdateTab(TTabSheet* Page);
    void ShowPage(TTabSheet* Page);
    void InsertTab(int Index);

    std::vector<TTabSheet*> pages_;
    TTabSheet* activePage_ = nullptr;
};

#endif
