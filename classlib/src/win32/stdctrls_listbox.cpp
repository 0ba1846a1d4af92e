// TCustomListBox: the LISTBOX class with Items kept by the object.
#include "stdctrls.h"

#include <algorithm>

#include "list.h"
#include "listitems.h"

TCustomListBox::TCustomListBox(TComponent* AOwner)
    : TWinControl(AOwner), items_(new TListItems(this, ListBoxMessages))
{
    // A click is a change of selection (LBN_SELCHANGE), a double click
    // LBN_DBLCLK; the mouse capture belongs to the system's procedure.
    controlStyle_ = csSetCaption;
    width_ = 121;
    height_ = 97;
    SetTabStop(true);
}

TCustomListBox::~TCustomListBox() {}

TStrings* TCustomListBox::GetItems() const
{
    return items_.get();
}

void TCustomListBox::SetItems(TStrings* Value)
{
    items_->Assign(Value);
}

void TCustomListBox::CheckIndex(int Index) const
{
    if (Index < 0 || Index >= items_->GetCount()) ListIndexError(Index);
}

int TCustomListBox::GetItemIndex()
{
    if (multiSelect_ && HandleAllocated()) {
        if (items_->GetCount() == 0) return -1;
        return static_cast<int>(SendMessageA(handle_, LB_GETCARETINDEX, 0, 0));
    }
    return items_->GetItemIndex();
}

void TCustomListBox::SetItemIndex(int Value)
{
    if (multiSelect_ && HandleAllocated()) {
        if (Value < -1 || Value >= items_->GetCount()) ListIndexError(Value);
        SendMessageA(handle_, LB_SETCARETINDEX, Value, FALSE);
        return;
    }
    items_->SetItemIndex(Value);
}

bool TCustomListBox::GetSorted() const
{
    return items_->GetSorted();
}

void TCustomListBox::SetSorted(bool Value)
{
    items_->SetSorted(Value);
}

void TCustomListBox::SetMultiSelect(bool Value)
{
    if (Value == multiSelect_) return;
    multiSelect_ = Value;
    RecreateWnd();
}

bool TCustomListBox::GetSelected(int Index)
{
    CheckIndex(Index);
    if (!multiSelect_) return GetItemIndex() == Index;
    if (!HandleAllocated())
        return std::find(savedSelection_.begin(), savedSelection_.end(), Index) != savedSelection_.end();
    return SendMessageA(handle_, LB_GETSEL, Index, 0) > 0;
}

void TCustomListBox::SetSelected(int Index, bool Value)
{
    CheckIndex(Index);
    if (!multiSelect_) {
        if (Value)
            SetItemIndex(Index);
        else if (GetItemIndex() == Index)
            SetItemIndex(-1);
        return;
    }
    if (HandleAllocated()) {
        SendMessageA(handle_, LB_SETSEL, Value, Index);
        return;
    }
    savedSelection_.erase(std::remove(savedSelection_.begin(), savedSelection_.end(), Index), savedSelection_.end());
    if (Value) savedSelection_.push_back(Index);
}

int TCustomListBox::GetSelCount()
{
    if (!multiSelect_) return GetItemIndex() >= 0 ? 1 : 0;
    if (!HandleAllocated()) return static_cast<int>(savedSelection_.size());
    return static_cast<int>(SendMessageA(handle_, LB_GETSELCOUNT, 0, 0));
}

int TCustomListBox::GetItemHeight()
{
    if (!HandleAllocated()) {
        if (itemHeight_ > 0) return itemHeight_;
        HandleNeeded();
    }
    return static_cast<int>(SendMessageA(handle_, LB_GETITEMHEIGHT, 0, 0));
}

void TCustomListBox::SetItemHeight(int Value)
{
    if (Value <= 0 || Value > 255) throw EInvalidOperation("Item height must be between 1 and 255");
    itemHeight_ = Value;
    if (HandleAllocated()) {
        SendMessageA(handle_, LB_SETITEMHEIGHT, 0, Value);
        Invalidate();
    }
}

int TCustomListBox::GetTopIndex()
{
    if (!HandleAllocated()) return topIndex_;
    return static_cast<int>(SendMessageA(handle_, LB_GETTOPINDEX, 0, 0));
}

void TCustomListBox::SetTopIndex(int Value)
{
    topIndex_ = Value;
    if (HandleAllocated()) SendMessageA(handle_, LB_SETTOPINDEX, Value, 0);
}

RECT TCustomListBox::ItemRect(int Index)
{
    RECT r = {0, 0, 0, 0};
    int count = items_->GetCount();
    if (Index < 0 || Index > count) ListIndexError(Index);
    if (Index < count) {
        SendMessageA(GetHandle(), LB_GETITEMRECT, Index, reinterpret_cast<LPARAM>(&r));
        return r;
    }
    // One past the last item: where the next would go.
    if (count > 0) {
        SendMessageA(GetHandle(), LB_GETITEMRECT, count - 1, reinterpret_cast<LPARAM>(&r));
        OffsetRect(&r, 0, r.bottom - r.top);
    } else {
        ::GetClientRect(GetHandle(), &r);
        r.bottom = r.top + GetItemHeight();
    }
    return r;
}

int TCustomListBox::ItemAtPos(POINT Pos, bool Existing)
{
    int count = items_->GetCount();
    for (int i = GetTopIndex(); i < count; ++i) {
        RECT r = ItemRect(i);
        if (r.top > GetClientRect().bottom) break;
        if (PtInRect(&r, Pos)) return i;
    }
    return Existing ? -1 : count;
}

void TCustomListBox::Clear()
{
    items_->Clear();
    savedSelection_.clear();
}

void TCustomListBox::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    CreateSubClass(Params, "LISTBOX");
    Params.Style |= LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL;
    if (multiSelect_) Params.Style |= LBS_EXTENDEDSEL;
    Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomListBox::CreateWnd()
{
    TWinControl::CreateWnd();
    if (itemHeight_ > 0) SendMessageA(handle_, LB_SETITEMHEIGHT, 0, itemHeight_);
    items_->WindowCreated();
    if (multiSelect_)
        for (int i : savedSelection_)
            if (i < items_->GetCount()) SendMessageA(handle_, LB_SETSEL, TRUE, i);
    savedSelection_.clear();
    SendMessageA(handle_, LB_SETTOPINDEX, topIndex_, 0);
}

void TCustomListBox::DestroyWnd()
{
    items_->WindowDestroying();
    topIndex_ = GetTopIndex();
    savedSelection_.clear();
    if (multiSelect_) {
        for (int i = 0; i < items_->GetCount(); ++i)
            if (SendMessageA(handle_, LB_GETSEL, i, 0) > 0) savedSelection_.push_back(i);
    }
    TWinControl::DestroyWnd();
}

void TCustomListBox::WndProc(TMessage& Message)
{
    if (Message.Msg == CN_COMMAND) {
        switch (HIWORD(Message.WParam)) {
        case LBN_SELCHANGE: Click(); break;
        case LBN_DBLCLK: DblClick(); break;
        default: break;
        }
        return;
    }
    TWinControl::WndProc(Message);
}
