// TPageControl and TTabSheet: a tab control whose tabs show one page each.
//
// The pages are child windows of the tab control, laid over its display
// area; only the active one is visible.
#include "comctrls.h"

#include <commctrl.h>

#include <algorithm>

#include "list.h"

// ---- TTabSheet

TTabSheet::TTabSheet(TComponent* AOwner) : TWinControl(AOwner)
{
    controlStyle_ = csAcceptsControls | csCaptureMouse | csClickEvents | csDoubleClicks | csSetCaption;
    visible_ = false;
    SetColor(clBtnFace);
}

TTabSheet::~TTabSheet()
{
    if (pageControl_) pageControl_->RemovePage(this);
}

void TTabSheet::SetPageControl(TPageControl* Value)
{
    if (Value == pageControl_) return;
    if (pageControl_) pageControl_->RemovePage(this);
    pageControl_ = Value;
    // Hidden until chosen, so that adding a page does not flash it.
    SetVisible(false);
    SetParent(Value);
    if (Value) Value->InsertPage(this);
}

int TTabSheet::GetPageIndex() const
{
    if (!pageControl_) return -1;
    const auto& pages = pageControl_->pages_;
    return static_cast<int>(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TTabSheet::SetPageIndex(int Value)
{
    if (!pageControl_) throw EInvalidOperation("Tab sheet has no page control");
    if (Value < 0 || Value >= pageControl_->GetPageCount()) ListIndexError(Value);
    pageControl_->MovePage(this, Value);
}

void TTabSheet::SetText(const AnsiString& Value)
{
    TWinControl::SetText(Value);
    if (pageControl_) pageControl_->UpdateTab(this);
}

// ---- TPageControl

TPageControl::TPageControl(TComponent* AOwner) : TWinControl(AOwner)
{
    controlStyle_ = csAcceptsControls | csDoubleClicks;
    width_ = 289;
    height_ = 193;
    SetColor(clBtnFace);
    SetTabStop(true);
}

// The sheets are freed with the other children by the base class; they must
// not call back into this object once it is going.
TPageControl::~TPageControl()
{
    for (TTabSheet* page : pages_) page->pageControl_ = nullptr;
    pages_.clear();
    activePage_ = nullptr;
}

TTabSheet* TPageControl::GetPages(int Index) const
{
    if (Index < 0 || Index >= GetPageCount()) ListIndexError(Index);
    return pages_[Index];
}

int TPageControl::GetActivePageIndex() const
{
    return activePage_ ? activePage_->GetPageIndex() : -1;
}

void TPageControl::SetActivePageIndex(int Value)
{
    if (Value == -1) {
        ShowPage(nullptr);
        return;
    }
    ShowPage(GetPages(Value));
}

void TPageControl::SetActivePage(TTabSheet* Page)
{
    if (Page && Page->pageControl_ != this)
        throw EInvalidOperation("Tab sheet '" + Page->GetName() + "' is not a page of this page control");
    ShowPage(Page);
}

void TPageControl::SelectNextPage(bool GoForward)
{
    int n = GetPageCount();
    if (n == 0) return;
    int i = GetActivePageIndex();
    if (i < 0) i = GoForward ? n - 1 : 0;
    ShowPage(pages_[GoForward ? (i + 1) % n : (i + n - 1) % n]);
}

void TPageControl::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    CreateSubClass(Params, WC_TABCONTROLA);
    Params.Style |= TCS_TABS;
}

void TPageControl::CreateWnd()
{
    TWinControl::CreateWnd();
    for (int i = 0; i < GetPageCount(); ++i) InsertTab(i);
    SendMessageA(handle_, TCM_SETCURSEL, GetActivePageIndex(), 0);
    Realign();
}

void TPageControl::InsertTab(int Index)
{
    AnsiString caption = pages_[Index]->GetText();
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(caption.c_str());
    SendMessageA(handle_, TCM_INSERTITEMA, Index, reinterpret_cast<LPARAM>(&item));
}

void TPageControl::UpdateTab(TTabSheet* Page)
{
    if (!HandleAllocated()) return;
    AnsiString caption = Page->GetText();
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(caption.c_str());
    SendMessageA(handle_, TCM_SETITEMA, Page->GetPageIndex(), reinterpret_cast<LPARAM>(&item));
    // The tabs' height may change with the text: the pages follow.
    Realign();
}

void TPageControl::InsertPage(TTabSheet* Page)
{
    pages_.push_back(Page);
    if (HandleAllocated()) InsertTab(GetPageCount() - 1);
    Realign();
    if (!activePage_) ShowPage(Page);
}

void TPageControl::RemovePage(TTabSheet* Page)
{
    auto it = std::find(pages_.begin(), pages_.end(), Page);
    if (it == pages_.end()) return;
    int index = static_cast<int>(it - pages_.begin());
    pages_.erase(it);
    Page->pageControl_ = nullptr;
    if (HandleAllocated()) SendMessageA(handle_, TCM_DELETEITEM, index, 0);
    if (activePage_ != Page) {
        if (HandleAllocated()) SendMessageA(handle_, TCM_SETCURSEL, GetActivePageIndex(), 0);
        return;
    }
    activePage_ = nullptr;
    if (!pages_.empty() && !IsDestroying()) ShowPage(pages_[std::min(index, GetPageCount() - 1)]);
}

void TPageControl::MovePage(TTabSheet* Page, int NewIndex)
{
    int old = Page->GetPageIndex();
    if (old == NewIndex) return;
    pages_.erase(pages_.begin() + old);
    pages_.insert(pages_.begin() + NewIndex, Page);
    if (!HandleAllocated()) return;
    SendMessageA(handle_, TCM_DELETEITEM, old, 0);
    InsertTab(NewIndex);
    SendMessageA(handle_, TCM_SETCURSEL, GetActivePageIndex(), 0);
}

void TPageControl::ShowPage(TTabSheet* Page)
{
    if (Page == activePage_) return;
    TTabSheet* old = activePage_;
    activePage_ = Page;
    if (Page) {
        RECT r = GetDisplayRect();
        Page->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
        Page->SetVisible(true);
        Page->BringToFront();
        if (Page->OnShow) Page->OnShow(Page);
    }
    if (HandleAllocated()) SendMessageA(handle_, TCM_SETCURSEL, GetActivePageIndex(), 0);
    if (old) {
        old->SetVisible(false);
        if (old->OnHide) old->OnHide(old);
    }
}

RECT TPageControl::GetDisplayRect()
{
    RECT r = GetClientRect();
    if (HandleAllocated()) {
        SendMessageA(handle_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
    } else {
        // A guess until the window can tell: one row of tabs.
        r.top += 24;
        InflateRect(&r, -4, -4);
    }
    r.right = std::max(r.left, r.right);
    r.bottom = std::max(r.top, r.bottom);
    return r;
}

void TPageControl::AlignControls(RECT& Rect)
{
    Rect = GetDisplayRect();
    for (TTabSheet* page : pages_) page->SetBounds(Rect.left, Rect.top, Rect.right - Rect.left, Rect.bottom - Rect.top);
    TWinControl::AlignControls(Rect);
}

void TPageControl::Change()
{
    if (OnChange) OnChange(this);
}

bool TPageControl::CanChange()
{
    bool allow = true;
    if (OnChanging) OnChanging(this, allow);
    return allow;
}

void TPageControl::WndProc(TMessage& Message)
{
    if (Message.Msg == CN_NOTIFY) {
        auto* hdr = reinterpret_cast<NMHDR*>(Message.LParam);
        if (hdr->code == static_cast<UINT>(TCN_SELCHANGING)) {
            Message.Result = CanChange() ? FALSE : TRUE;
        } else if (hdr->code == static_cast<UINT>(TCN_SELCHANGE)) {
            int index = static_cast<int>(SendMessageA(handle_, TCM_GETCURSEL, 0, 0));
            if (index >= 0 && index < GetPageCount()) ShowPage(pages_[index]);
            Change();
        }
        return;
    }
    TWinControl::WndProc(Message);
}
