// TCustomScrollListBox and the string list bound to its window.
#include "listctls.h"

#include <algorithm>

#include "sysutils.h"

namespace {

// Longest item text read back from the window.
const int kMaxItemText = 4096;

[[noreturn]] void IndexError(int Index)
{
    throw EListError(Format("%s: %d", "List index out of bounds", Index));
}

}  // namespace

// ---- TScrollListStrings: every call goes to the window.

class TScrollListStrings : public TStrings {
public:
    explicit TScrollListStrings(TCustomScrollListBox* box) : box_(box) {}

    int GetCount() const override
    {
        return static_cast<int>(SendMessageA(box_->GetHandle(), LB_GETCOUNT, 0, 0));
    }
    int Add(const AnsiString& S) override
    {
        LRESULT i = SendMessageA(box_->GetHandle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(S.c_str()));
        if (i < 0) throw EOutOfResources("Unable to insert a line");
        return static_cast<int>(i);
    }
    void Insert(int Index, const AnsiString& S) override
    {
        if (Index < 0 || Index > GetCount()) IndexError(Index);
        LRESULT i = SendMessageA(box_->GetHandle(), LB_INSERTSTRING, Index, reinterpret_cast<LPARAM>(S.c_str()));
        if (i < 0) throw EOutOfResources("Unable to insert a line");
    }
    void Delete(int Index) override
    {
        box_->CheckIndex(Index);
        SendMessageA(box_->GetHandle(), LB_DELETESTRING, Index, 0);
    }
    void Clear() override { SendMessageA(box_->GetHandle(), LB_RESETCONTENT, 0, 0); }

protected:
    AnsiString Get(int Index) const override
    {
        box_->CheckIndex(Index);
        LRESULT len = SendMessageA(box_->GetHandle(), LB_GETTEXTLEN, Index, 0);
        if (len <= 0) return AnsiString();
        std::vector<char> buf(static_cast<size_t>(len) + 1, 0);
        SendMessageA(box_->GetHandle(), LB_GETTEXT, Index, reinterpret_cast<LPARAM>(buf.data()));
        // Texts are read up to kMaxItemText bytes.
        if (len > kMaxItemText) buf[kMaxItemText] = 0;
        return AnsiString(buf.data());
    }
    TObject* GetObject(int Index) const override
    {
        box_->CheckIndex(Index);
        return box_->GetItemObject(Index);
    }
    void PutObject(int Index, TObject* AObject) override
    {
        box_->CheckIndex(Index);
        box_->SetItemObject(Index, AObject);
    }
    void SetUpdateState(bool Updating) override
    {
        SendMessageA(box_->GetHandle(), WM_SETREDRAW, !Updating, 0);
        if (!Updating) box_->Invalidate();
    }

private:
    TCustomScrollListBox* box_;
};

// ---- TCustomScrollListBox

TCustomScrollListBox::TCustomScrollListBox(TComponent* AOwner)
    : TWinControl(AOwner), items_(new TScrollListStrings(this))
{
    width_ = 121;
    height_ = 97;
    SetTabStop(true);
    SetParentColor(false);
}

TCustomScrollListBox::~TCustomScrollListBox() {}

TStrings* TCustomScrollListBox::GetItems() const { return items_.get(); }

void TCustomScrollListBox::SetItems(TStrings* Value) { items_->Assign(Value); }

void TCustomScrollListBox::CheckIndex(int Index)
{
    if (Index < 0 || Index >= items_->GetCount()) IndexError(Index);
}

void TCustomScrollListBox::SetAutoScroll(bool Value)
{
    if (Value == autoScroll_) return;
    autoScroll_ = Value;
    RecalcExtent();
}

void TCustomScrollListBox::SetColumns(int Value)
{
    Value = std::max(0, Value);
    if (Value == columns_) return;
    // A list becomes multi-column (or stops being one) only at creation.
    bool recreate = (columns_ == 0) != (Value == 0);
    columns_ = Value;
    if (recreate && HandleAllocated())
        RecreateWnd();
    else
        ApplyColumnWidth();
    RecalcExtent();
}

void TCustomScrollListBox::SetIntegralHeight(bool Value)
{
    if (Value == integralHeight_) return;
    integralHeight_ = Value;
    if (HandleAllocated()) RecreateWnd();
}

void TCustomScrollListBox::SetMultiSelect(bool Value)
{
    if (Value == multiSelect_) return;
    multiSelect_ = Value;
    if (HandleAllocated()) RecreateWnd();
}

void TCustomScrollListBox::SetExtendedSelect(bool Value)
{
    if (Value == extendedSelect_) return;
    extendedSelect_ = Value;
    if (HandleAllocated()) RecreateWnd();
}

void TCustomScrollListBox::SetSorted(bool Value)
{
    if (Value == sorted_) return;
    sorted_ = Value;
    if (HandleAllocated()) RecreateWnd();
}

void TCustomScrollListBox::SetStyle(TListBoxStyle Value)
{
    if (Value == style_) return;
    style_ = Value;
    if (HandleAllocated()) RecreateWnd();
}

void TCustomScrollListBox::SetTabWidth(int Value)
{
    Value = std::max(0, Value);
    if (Value == tabWidth_) return;
    tabWidth_ = Value;
    if (HandleAllocated()) RecreateWnd();
}

void TCustomScrollListBox::SetBorderStyle(TBorderStyle Value)
{
    if (Value == borderStyle_) return;
    borderStyle_ = Value;
    if (HandleAllocated()) RecreateWnd();
}

void TCustomScrollListBox::SetItemHeight(int Value)
{
    if (Value <= 0 || Value == itemHeight_) return;
    itemHeight_ = Value;
    if (HandleAllocated() && style_ != lbStandard) RecreateWnd();
}

void TCustomScrollListBox::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    CreateSubClass(Params, "LISTBOX");
    static const DWORD styles[] = {0, LBS_OWNERDRAWFIXED, LBS_OWNERDRAWVARIABLE};
    Params.Style |= LBS_NOTIFY | LBS_HASSTRINGS | WS_HSCROLL | WS_VSCROLL | styles[style_];
    if (!integralHeight_) Params.Style |= LBS_NOINTEGRALHEIGHT;
    if (sorted_) Params.Style |= LBS_SORT;
    if (multiSelect_) Params.Style |= extendedSelect_ ? LBS_EXTENDEDSEL : LBS_MULTIPLESEL;
    if (columns_ > 0) Params.Style |= LBS_MULTICOLUMN;
    if (tabWidth_ > 0) Params.Style |= LBS_USETABSTOPS;
    if (borderStyle_ == bsSingle) Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomScrollListBox::CreateWnd()
{
    TWinControl::CreateWnd();
    if (style_ == lbOwnerDrawFixed) SendMessageA(handle_, LB_SETITEMHEIGHT, 0, GetItemHeight());
    ApplyTabStops();
    ApplyColumnWidth();
    if (savedStrings_.empty()) return;
    restoring_ = true;
    for (size_t i = 0; i < savedStrings_.size(); ++i) {
        LRESULT at = SendMessageA(handle_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(savedStrings_[i].c_str()));
        if (at >= 0) SendMessageA(handle_, LB_SETITEMDATA, at, savedData_[i]);
    }
    restoring_ = false;
    savedStrings_.clear();
    savedData_.clear();
    if (multiSelect_)
        for (int i : savedSelection_) SendMessageA(handle_, LB_SETSEL, TRUE, i);
    else
        SendMessageA(handle_, LB_SETCURSEL, savedIndex_, 0);
    SendMessageA(handle_, LB_SETTOPINDEX, savedTop_, 0);
    savedSelection_.clear();
    RecalcExtent();
}

void TCustomScrollListBox::DestroyWnd()
{
    if (HandleAllocated() && !IsDestroying()) {
        int count = items_->GetCount();
        for (int i = 0; i < count; ++i) {
            savedStrings_.push_back(items_->GetStrings(i));
            savedData_.push_back(SendMessageA(handle_, LB_GETITEMDATA, i, 0));
            if (multiSelect_ && SendMessageA(handle_, LB_GETSEL, i, 0) > 0) savedSelection_.push_back(i);
        }
        savedTop_ = static_cast<int>(SendMessageA(handle_, LB_GETTOPINDEX, 0, 0));
        savedIndex_ = static_cast<int>(SendMessageA(handle_, LB_GETCURSEL, 0, 0));
    }
    TWinControl::DestroyWnd();
}

void TCustomScrollListBox::FontChanged()
{
    TWinControl::FontChanged();
    RecalcExtent();
}

void TCustomScrollListBox::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    TWinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    ApplyColumnWidth();
}

void TCustomScrollListBox::ApplyTabStops()
{
    if (tabWidth_ <= 0) return;
    HDC dc = GetDC(handle_);
    HGDIOBJ old = SelectObject(dc, GetFont()->GetHandle());
    SIZE zero = {0, 0};
    GetTextExtentPoint32A(dc, "0", 1, &zero);
    SelectObject(dc, old);
    ReleaseDC(handle_, dc);
    tabStopPixels_ = ListTabStopPixels(zero.cx, tabWidth_);
    // LB_SETTABSTOPS counts in dialog units (a quarter of the average width).
    int units = tabWidth_;
    SendMessageA(handle_, LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&units));
}

void TCustomScrollListBox::ApplyColumnWidth()
{
    if (HandleAllocated() && columns_ > 0)
        SendMessageA(handle_, LB_SETCOLUMNWIDTH, ListColumnWidth(width_, columns_), 0);
}

int TCustomScrollListBox::TextWidthOf(const AnsiString& Text)
{
    HDC dc = GetDC(HandleAllocated() ? handle_ : nullptr);
    HGDIOBJ old = SelectObject(dc, GetFont()->GetHandle());
    int w;
    if (tabWidth_ > 0) {
        int stop = std::max(1, tabStopPixels_);
        w = LOWORD(GetTabbedTextExtentA(dc, Text.c_str(), Text.Length(), 1, &stop));
    } else {
        SIZE size = {0, 0};
        GetTextExtentPoint32A(dc, Text.c_str(), Text.Length(), &size);
        w = size.cx;
    }
    SelectObject(dc, old);
    ReleaseDC(HandleAllocated() ? handle_ : nullptr, dc);
    return w;
}

int TCustomScrollListBox::ItemWidth(int Index)
{
    if (style_ != lbStandard && OnGetItemWidth) {
        int w = 0;
        OnGetItemWidth(this, Index, w);
        return w;
    }
    return TextWidthOf(items_->GetStrings(Index) + "x");
}

void TCustomScrollListBox::SetExtent(int Width)
{
    maxItemWidth_ = Width;
    if (HandleAllocated()) SendMessageA(handle_, LB_SETHORIZONTALEXTENT, ExtentFollowsItems() ? Width : 0, 0);
}

void TCustomScrollListBox::RecalcExtent()
{
    if (!HandleAllocated() || restoring_) return;
    int widest = 0;
    if (ExtentFollowsItems()) {
        int count = items_->GetCount();
        for (int i = 0; i < count; ++i) widest = std::max(widest, ItemWidth(i));
    }
    SetExtent(widest);
}

int TCustomScrollListBox::GetItemIndex()
{
    UINT msg = multiSelect_ ? LB_GETCARETINDEX : LB_GETCURSEL;
    return static_cast<int>(SendMessageA(GetHandle(), msg, 0, 0));
}

void TCustomScrollListBox::SetItemIndex(int Value)
{
    if (Value < -1 || Value >= items_->GetCount()) IndexError(Value);
    if (multiSelect_)
        SendMessageA(GetHandle(), LB_SETCARETINDEX, Value, FALSE);
    else
        SendMessageA(GetHandle(), LB_SETCURSEL, Value, 0);
}

int TCustomScrollListBox::GetTopIndex() { return static_cast<int>(SendMessageA(GetHandle(), LB_GETTOPINDEX, 0, 0)); }

void TCustomScrollListBox::SetTopIndex(int Value) { SendMessageA(GetHandle(), LB_SETTOPINDEX, Value, 0); }

bool TCustomScrollListBox::GetSelected(int Index)
{
    CheckIndex(Index);
    return SendMessageA(GetHandle(), LB_GETSEL, Index, 0) > 0;
}

void TCustomScrollListBox::SetSelected(int Index, bool Value)
{
    CheckIndex(Index);
    if (multiSelect_)
        SendMessageA(GetHandle(), LB_SETSEL, Value, Index);
    else if (Value)
        SendMessageA(GetHandle(), LB_SETCURSEL, Index, 0);
    else if (GetItemIndex() == Index)
        SendMessageA(GetHandle(), LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
}

int TCustomScrollListBox::ItemAtPos(POINT Pos, bool Existing)
{
    int count = items_->GetCount();
    RECT client = GetClientRect();
    if (PtInRect(&client, Pos)) {
        LRESULT r = SendMessageA(GetHandle(), LB_ITEMFROMPOINT, 0, MAKELPARAM(Pos.x, Pos.y));
        // The high word is set when the point lies outside every item.
        if (HIWORD(r) == 0 && LOWORD(r) < count) return LOWORD(r);
    }
    return Existing ? -1 : count;
}

RECT TCustomScrollListBox::ItemRect(int Index)
{
    RECT r = {0, 0, 0, 0};
    int count = items_->GetCount();
    if (Index < 0 || Index > count) IndexError(Index);
    if (Index < count) {
        SendMessageA(GetHandle(), LB_GETITEMRECT, Index, reinterpret_cast<LPARAM>(&r));
    } else if (count > 0) {
        // One past the end: the place a new item would take.
        SendMessageA(GetHandle(), LB_GETITEMRECT, count - 1, reinterpret_cast<LPARAM>(&r));
        OffsetRect(&r, 0, r.bottom - r.top);
    }
    return r;
}

void TCustomScrollListBox::Clear() { items_->Clear(); }

TObject* TCustomScrollListBox::GetItemObject(int Index)
{
    return reinterpret_cast<TObject*>(SendMessageA(GetHandle(), LB_GETITEMDATA, Index, 0));
}

void TCustomScrollListBox::SetItemObject(int Index, TObject* Object)
{
    SendMessageA(GetHandle(), LB_SETITEMDATA, Index, reinterpret_cast<LPARAM>(Object));
}

void TCustomScrollListBox::DrawItemText(HDC DC, int Index, RECT Rect)
{
    AnsiString text = items_->GetStrings(Index);
    SIZE wy = {0, 0};
    GetTextExtentPoint32A(DC, "Wy", 2, &wy);
    int y = Rect.top + (Rect.bottom - Rect.top - wy.cy) / 2;
    int stop = std::max(1, tabStopPixels_);
    TabbedTextOutA(DC, Rect.left + 2, y, text.c_str(), text.Length(), tabWidth_ > 0 ? 1 : 0, &stop, Rect.left + 2);
}

void TCustomScrollListBox::DrawItem(int Index, RECT Rect, UINT State, HDC DC)
{
    bool selected = (State & ODS_SELECTED) != 0;
    HBRUSH brush = selected ? GetSysColorBrush(COLOR_HIGHLIGHT) : GetBrushHandle();
    FillRect(DC, &Rect, brush);
    if (Index < 0) return;
    SetBkMode(DC, TRANSPARENT);
    SetTextColor(DC, selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : ColorToRGB(GetFont()->GetColor()));
    DrawItemText(DC, Index, Rect);
}

void TCustomScrollListBox::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case LB_ADDSTRING:
    case LB_INSERTSTRING: {
        DefaultHandler(Message);
        if (Message.Result >= 0 && ExtentFollowsItems() && !restoring_) {
            int w = ItemWidth(static_cast<int>(Message.Result));
            if (w > maxItemWidth_) SetExtent(w);
        }
        return;
    }
    case LB_DELETESTRING: {
        int index = static_cast<int>(Message.WParam);
        bool valid = index >= 0 && index < items_->GetCount();
        int w = valid && ExtentFollowsItems() ? ItemWidth(index) : 0;
        if (valid) ItemDeleting(index);
        DefaultHandler(Message);
        if (valid && w >= maxItemWidth_) RecalcExtent();
        return;
    }
    case LB_RESETCONTENT:
        ItemsClearing();
        DefaultHandler(Message);
        SetExtent(0);
        return;
    case CN_DRAWITEM: {
        auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam);
        HGDIOBJ old = SelectObject(dis->hDC, GetFont()->GetHandle());
        int index = static_cast<int>(dis->itemID);
        if (index >= 0 && OnDrawItem)
            OnDrawItem(this, index, dis->rcItem, dis->itemState);
        else
            DrawItem(index, dis->rcItem, dis->itemState, dis->hDC);
        if ((dis->itemState & ODS_FOCUS) && (dis->itemAction & (ODA_FOCUS | ODA_DRAWENTIRE)))
            DrawFocusRect(dis->hDC, &dis->rcItem);
        SelectObject(dis->hDC, old);
        Message.Result = TRUE;
        return;
    }
    case CN_MEASUREITEM: {
        auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam);
        int h = GetItemHeight();
        if (style_ == lbOwnerDrawVariable && OnMeasureItem) OnMeasureItem(this, static_cast<int>(mis->itemID), h);
        mis->itemHeight = h;
        Message.Result = TRUE;
        return;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        // A list that cannot take the focus still reacts to the click.
        if (!CanFocus()) {
            if (Message.Msg == WM_LBUTTONDOWN) {
                POINT p = MessagePoint(Message);
                int i = ItemAtPos(p, true);
                if (i >= 0 && !multiSelect_) SendMessageA(handle_, LB_SETCURSEL, i, 0);
            }
            Click();
            return;
        }
        if (multiSelect_ && Message.Msg == WM_LBUTTONDOWN && !(Message.WParam & (MK_SHIFT | MK_CONTROL))) {
            POINT p = MessagePoint(Message);
            int i = ItemAtPos(p, true);
            // A press on a selected item keeps the selection (it may start a drag).
            if (i >= 0 && SendMessageA(handle_, LB_GETSEL, i, 0) > 0) {
                SetFocus();
                TControl::WndProc(Message);
                return;
            }
        }
        break;
    default: break;
    }
    TWinControl::WndProc(Message);
}
