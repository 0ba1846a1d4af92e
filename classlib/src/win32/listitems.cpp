// Items of list boxes and combo boxes, kept here and mirrored to the window.
#include "listitems.h"

#include <algorithm>

#include "list.h"

const TListMessages ListBoxMessages = {LB_INSERTSTRING, LB_DELETESTRING, LB_RESETCONTENT, LB_GETCURSEL,
                                       LB_SETCURSEL,    LB_ERR,          LB_ERRSPACE};
const TListMessages ComboBoxMessages = {CB_INSERTSTRING, CB_DELETESTRING, CB_RESETCONTENT, CB_GETCURSEL,
                                        CB_SETCURSEL,    CB_ERR,          CB_ERRSPACE};

TListItems::TListItems(TWinControl* control, const TListMessages& messages) : control_(control), msgs_(messages) {}

TListItems::~TListItems() {}

HWND TListItems::Window() const
{
    return control_->HandleAllocated() ? control_->GetHandle() : nullptr;
}

void TListItems::CheckIndex(int Index) const
{
    if (Index < 0 || Index >= GetCount()) ListIndexError(Index);
}

AnsiString TListItems::Get(int Index) const
{
    CheckIndex(Index);
    return items_[Index].String;
}

TObject* TListItems::GetObject(int Index) const
{
    CheckIndex(Index);
    return items_[Index].Object;
}

void TListItems::PutObject(int Index, TObject* AObject)
{
    CheckIndex(Index);
    items_[Index].Object = AObject;
}

// The system's sorted lists compare ignoring case, and so do we.
int TListItems::SortedPlace(const AnsiString& S) const
{
    auto it = std::upper_bound(items_.begin(), items_.end(), S,
                               [](const AnsiString& s, const Item& item) { return s.AnsiCompareIC(item.String) < 0; });
    return static_cast<int>(it - items_.begin());
}

int TListItems::Add(const AnsiString& S)
{
    return AddObject(S, nullptr);
}

int TListItems::AddObject(const AnsiString& S, TObject* AObject)
{
    int index = sorted_ ? SortedPlace(S) : GetCount();
    InsertItem(index, S, AObject);
    return index;
}

void TListItems::Insert(int Index, const AnsiString& S)
{
    if (Index < 0 || Index > GetCount()) ListIndexError(Index);
    InsertItem(Index, S, nullptr);
}

void TListItems::SendInsert(int Index, const AnsiString& S)
{
    HWND hwnd = Window();
    if (!hwnd) return;
    LRESULT r = SendMessageA(hwnd, msgs_.InsertString, Index, reinterpret_cast<LPARAM>(S.c_str()));
    if (r == msgs_.ErrorSpace || r == msgs_.Error) throw EOutOfResources("Not enough room for the list's items");
}

void TListItems::InsertItem(int Index, const AnsiString& S, TObject* AObject)
{
    // The window first: when it refuses, the list stays as it was.
    SendInsert(Index, S);
    items_.insert(items_.begin() + Index, Item{S, AObject});
    if (!Window() && itemIndex_ >= Index) ++itemIndex_;
}

void TListItems::Delete(int Index)
{
    CheckIndex(Index);
    if (HWND hwnd = Window()) SendMessageA(hwnd, msgs_.DeleteString, Index, 0);
    items_.erase(items_.begin() + Index);
    if (itemIndex_ == Index)
        itemIndex_ = -1;
    else if (itemIndex_ > Index)
        --itemIndex_;
}

void TListItems::Clear()
{
    if (HWND hwnd = Window()) SendMessageA(hwnd, msgs_.ResetContent, 0, 0);
    items_.clear();
    itemIndex_ = -1;
}

void TListItems::SetSorted(bool Value)
{
    if (Value == sorted_) return;
    sorted_ = Value;
    if (!Value) return;
    AnsiString selected = GetItemIndex() >= 0 ? items_[GetItemIndex()].String : AnsiString();
    bool hadSelection = GetItemIndex() >= 0;
    std::stable_sort(items_.begin(), items_.end(),
                     [](const Item& a, const Item& b) { return a.String.AnsiCompareIC(b.String) < 0; });
    int newIndex = -1;
    if (hadSelection)
        for (int i = 0; i < GetCount() && newIndex < 0; ++i)
            if (items_[i].String == selected) newIndex = i;
    itemIndex_ = newIndex;
    if (Window()) WindowCreated();
}

int TListItems::GetItemIndex() const
{
    HWND hwnd = Window();
    if (!hwnd) return itemIndex_;
    LRESULT r = SendMessageA(hwnd, msgs_.GetCurSel, 0, 0);
    return r == msgs_.Error ? -1 : static_cast<int>(r);
}

void TListItems::SetItemIndex(int Value)
{
    if (Value < -1 || Value >= GetCount()) ListIndexError(Value);
    itemIndex_ = Value;
    if (HWND hwnd = Window()) SendMessageA(hwnd, msgs_.SetCurSel, Value, 0);
}

void TListItems::WindowCreated()
{
    HWND hwnd = Window();
    SendMessageA(hwnd, WM_SETREDRAW, FALSE, 0);
    SendMessageA(hwnd, msgs_.ResetContent, 0, 0);
    try {
        for (int i = 0; i < GetCount(); ++i) SendInsert(i, items_[i].String);
    } catch (...) {
        SendMessageA(hwnd, WM_SETREDRAW, TRUE, 0);
        throw;
    }
    SendMessageA(hwnd, WM_SETREDRAW, TRUE, 0);
    SendMessageA(hwnd, msgs_.SetCurSel, itemIndex_, 0);
    InvalidateRect(hwnd, nullptr, TRUE);
}

void TListItems::WindowDestroying()
{
    itemIndex_ = GetItemIndex();
}
