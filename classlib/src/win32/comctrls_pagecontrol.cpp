// TPageControl and TTabSheet: a tab control whose tabs show one page each.
//
// The pages are child windows of the tab control, laid over its display
// area; only the active one is visible.
#include "comctrls.h"

#include <commctrl.h>

// ---- TCustomTabControl

TCustomTabControl::TCustomTabControl(TComponent* AOwner) : TWinControl(AOwner)
{
    controlStyle_ = csAcceptsControls | csDoubleClicks;
    width_ = 289;
    height_ = 193;
    SetColor(clBtnFace);
    SetTabStop(true);
}

void TCustomTabControl::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    CreateSubClass(Params, WC_TABCONTROLA);
}

RECT TCustomTabControl::GetDisplayRect()
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

bool TCustomTabControl::CanChange()
{
    bool allow = true;
    if (OnChanging) OnChanging(this, allow);
    return allow;
}

void TCustomTabControl::Change()
{
    if (OnChange) OnChange(this);
}

void TCustomTabControl::WndProc(TMessage& Message)
{
    if (Message.Msg == CN_NOTIFY) {
        auto* hdr = reinterpret_cast<NMHDR*>(Message.LParam);
        if (hdr->code == static_cast<UINT>(TCN_SELCHANGING))
            Message.Result = CanChange() ? FALSE : TRUE;
        else if (hdr->code == static_cast<UINT>(TCN_SELCHANGE))
            Change();
        return;
    }
    TWinControl::WndProc(Message);
}

// ---- TTabSheet

TTabSheet::~TTabSheet()
{
    if (pageControl_) pageControl_->RemovePage(this);
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

void TPageControl::SetActivePageIndex(int Value)
{
    ShowPage(Value == -1 ? nullptr : GetPages(Value));
}

void TPageControl::SetActivePage(TTabSheet* Page)
{
    if (Page && Page->GetPageControl() != this)
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

void TPageControl::CreateWnd()
{
    TCustomTabControl::CreateWnd();
    for (int i = 0; i < GetPageCount(); ++i) InsertTab(i);
    SelectActiveTab();
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

void TPageControl::PagesChanged(int Removed, int Inserted)
{
    if (!HandleAllocated()) return;
    if (Removed >= 0) SendMessageA(handle_, TCM_DELETEITEM, Removed, 0);
    if (Inserted >= 0) InsertTab(Inserted);
    SelectActiveTab();
}

void TPageControl::SelectActiveTab()
{
    if (HandleAllocated()) SendMessageA(handle_, TCM_SETCURSEL, GetActivePageIndex(), 0);
}

// The chosen tab's page shows before OnChange.
void TPageControl::Change()
{
    int index = static_cast<int>(SendMessageA(handle_, TCM_GETCURSEL, 0, 0));
    if (index >= 0 && index < GetPageCount()) ShowPage(pages_[index]);
    TCustomTabControl::Change();
}
