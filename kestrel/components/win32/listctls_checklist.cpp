// TStateCheckListBox: three-state check boxes or radio buttons per item.
#include "listctls.h"

#include <algorithm>

#include "sysutils.h"

namespace {

const COLORREF kCheckKey = RGB(255, 0, 255);  // transparent colour of the glyph grid

}  // namespace

TStateCheckListBox::TStateCheckListBox(TComponent* AOwner) : TCustomScrollListBox(AOwner)
{
    SetStyle(lbOwnerDrawFixed);
    SetAutoScroll(true);
    CreateCheckImages();
}

TStateCheckListBox::~TStateCheckListBox()
{
    // The window (and the item data pointing at the records) goes first.
    DestroyHandle();
    if (checkImages_) DeleteObject(checkImages_);
}

// The glyphs come from the program's "CHECK_IMAGES" resource when it has
// one; otherwise they are drawn here with the system's button faces.
void TStateCheckListBox::CreateCheckImages()
{
    checkImages_ = LoadBitmapA(GetModuleHandleA(nullptr), "CHECK_IMAGES");
    if (checkImages_) {
        BITMAP bm;
        ::GetObjectA(checkImages_, sizeof(bm), &bm);
        cellWidth_ = bm.bmWidth / 4;
        cellHeight_ = bm.bmHeight / 3;
        return;
    }
    cellWidth_ = cellHeight_ = 13;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    checkImages_ = CreateCompatibleBitmap(screen, 4 * cellWidth_, 3 * cellHeight_);
    ReleaseDC(nullptr, screen);
    if (!mem || !checkImages_) {
        if (mem) DeleteDC(mem);
        if (checkImages_) DeleteObject(checkImages_);
        checkImages_ = nullptr;
        return;
    }
    HGDIOBJ old = SelectObject(mem, checkImages_);
    RECT all = {0, 0, 4 * cellWidth_, 3 * cellHeight_};
    HBRUSH key = CreateSolidBrush(kCheckKey);
    FillRect(mem, &all, key);
    DeleteObject(key);
    for (int radio = 0; radio < 2; ++radio)
        for (int enabled = 0; enabled < 2; ++enabled)
            for (int state = 0; state < 3; ++state) {
                int cell = CheckImageCell(radio ? ckRadioButtons : ckCheckBoxes, enabled != 0, state);
                RECT r = {(cell % 4) * cellWidth_, (cell / 4) * cellHeight_, 0, 0};
                r.right = r.left + cellWidth_;
                r.bottom = r.top + cellHeight_;
                UINT flags = radio ? DFCS_BUTTONRADIO : DFCS_BUTTONCHECK;
                if (state == CheckStateChecked) flags |= DFCS_CHECKED;
                if (state == CheckStateGrayed) flags = (radio ? DFCS_BUTTONRADIO : DFCS_BUTTON3STATE) | DFCS_CHECKED;
                if (!enabled) flags |= DFCS_INACTIVE;
                DrawFrameControl(mem, &r, DFC_BUTTON, flags | DFCS_FLAT);
            }
    SelectObject(mem, old);
    DeleteDC(mem);
}

int TStateCheckListBox::GetItemHeight() const
{
    return std::max(TCustomScrollListBox::GetItemHeight(), cellHeight_);
}

void TStateCheckListBox::CreateWnd()
{
    TCustomScrollListBox::CreateWnd();
    // Font height counts too: the text must fit beside the glyph.
    HDC dc = GetDC(handle_);
    HGDIOBJ old = SelectObject(dc, GetFont()->GetHandle());
    TEXTMETRICA tm;
    GetTextMetricsA(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(handle_, dc);
    int h = std::max(GetItemHeight(), static_cast<int>(tm.tmHeight));
    SendMessageA(handle_, LB_SETITEMHEIGHT, 0, h);
}

TStateCheckListBox::TItemRecord* TStateCheckListBox::FindRecord(int Index)
{
    CheckIndex(Index);
    LRESULT data = SendMessageA(GetHandle(), LB_GETITEMDATA, Index, 0);
    return data == LB_ERR ? nullptr : reinterpret_cast<TItemRecord*>(data);
}

TStateCheckListBox::TItemRecord* TStateCheckListBox::RecordOf(int Index)
{
    TItemRecord* r = FindRecord(Index);
    if (r) return r;
    records_.emplace_back(new TItemRecord);
    r = records_.back().get();
    SendMessageA(GetHandle(), LB_SETITEMDATA, Index, reinterpret_cast<LPARAM>(r));
    return r;
}

void TStateCheckListBox::FreeRecord(TItemRecord* Record)
{
    auto it = std::find_if(records_.begin(), records_.end(),
                           [Record](const std::unique_ptr<TItemRecord>& p) { return p.get() == Record; });
    if (it != records_.end()) records_.erase(it);
}

void TStateCheckListBox::ItemDeleting(int Index)
{
    LRESULT data = SendMessageA(handle_, LB_GETITEMDATA, Index, 0);
    if (data != LB_ERR && data != 0) FreeRecord(reinterpret_cast<TItemRecord*>(data));
}

void TStateCheckListBox::ItemsClearing() { records_.clear(); }

TObject* TStateCheckListBox::GetItemObject(int Index)
{
    TItemRecord* r = FindRecord(Index);
    return r ? r->Object : nullptr;
}

void TStateCheckListBox::SetItemObject(int Index, TObject* Object) { RecordOf(Index)->Object = Object; }

TCheckBoxState TStateCheckListBox::GetState(int Index)
{
    TItemRecord* r = FindRecord(Index);
    int state = r ? int(r->State) : int(cbUnchecked);
    if (checkKind_ == ckRadioButtons && state == cbGrayed) state = cbUnchecked;
    return static_cast<TCheckBoxState>(state);
}

void TStateCheckListBox::SetState(int Index, TCheckBoxState Value)
{
    TItemRecord* r = FindRecord(Index);
    int old = r ? int(r->State) : int(cbUnchecked);
    if (old == Value) return;
    if (checkKind_ == ckRadioButtons) {
        // The checked radio item goes only when another one is checked.
        if (old == cbChecked) return;
        if (Value == cbChecked) {
            int count = GetItems()->GetCount();
            for (int i = 0; i < count; ++i) {
                TItemRecord* other = i == Index ? nullptr : FindRecord(i);
                if (other && other->State == cbChecked) {
                    other->State = cbUnchecked;
                    InvalidateItem(i);
                }
            }
        }
    }
    RecordOf(Index)->State = static_cast<unsigned char>(Value);
    InvalidateItem(Index);
    if (!loading_ && OnStateChange) OnStateChange(this, Index);
}

bool TStateCheckListBox::GetItemEnabled(int Index)
{
    TItemRecord* r = FindRecord(Index);
    return r ? r->Enabled != 0 : true;
}

void TStateCheckListBox::SetItemEnabled(int Index, bool Value)
{
    if (GetItemEnabled(Index) == Value) return;
    RecordOf(Index)->Enabled = Value;
    InvalidateItem(Index);
}

void TStateCheckListBox::InvalidateItem(int Index)
{
    if (!HandleAllocated()) return;
    RECT r;
    if (SendMessageA(handle_, LB_GETITEMRECT, Index, reinterpret_cast<LPARAM>(&r)) != LB_ERR)
        InvalidateRect(handle_, &r, FALSE);
}

void TStateCheckListBox::SetAllowGrayed(bool Value)
{
    allowGrayed_ = Value;
    Invalidate();
}

void TStateCheckListBox::SetCheckKind(TCheckKind Value)
{
    if (Value == checkKind_) return;
    checkKind_ = Value;
    if (Value == ckRadioButtons) MakeOneChecked();
    Invalidate();
}

// Exactly the first checked item stays checked (item 0 when none is). An
// empty list has nothing to check.
void TStateCheckListBox::MakeOneChecked()
{
    int count = GetItems()->GetCount();
    if (count == 0) return;
    int first = -1;
    for (int i = 0; i < count; ++i) {
        TItemRecord* r = FindRecord(i);
        if (!r || r->State != cbChecked) continue;
        if (first < 0)
            first = i;
        else
            r->State = cbUnchecked;
    }
    if (first < 0) SetState(0, cbChecked);
}

void TStateCheckListBox::EndLoading()
{
    if (loading_ > 0 && --loading_ == 0 && checkKind_ == ckRadioButtons) MakeOneChecked();
}

int TStateCheckListBox::GetCheckedIndex()
{
    if (checkKind_ != ckRadioButtons) return -1;
    int count = GetItems()->GetCount();
    for (int i = 0; i < count; ++i)
        if (GetState(i) == cbChecked) return i;
    return -1;
}

void TStateCheckListBox::SetCheckedIndex(int Value)
{
    if (checkKind_ == ckRadioButtons && Value >= 0) SetState(Value, cbChecked);
}

void TStateCheckListBox::CheckAll(bool Checked)
{
    if (checkKind_ == ckRadioButtons) return;
    int count = GetItems()->GetCount();
    for (int i = 0; i < count; ++i)
        if (GetItemEnabled(i)) SetState(i, Checked ? cbChecked : cbUnchecked);
}

void TStateCheckListBox::ToggleClickCheck(int Index)
{
    if (Index < 0 || Index >= GetItems()->GetCount() || !GetItemEnabled(Index)) return;
    int next = ToggledCheckState(GetState(Index), allowGrayed_, checkKind_);
    SetState(Index, static_cast<TCheckBoxState>(next));
    // After the new state is set: the handler may correct it.
    if (OnClickCheck) OnClickCheck(this);
}

int TStateCheckListBox::ItemWidth(int Index)
{
    return TCustomScrollListBox::ItemWidth(Index) + GetCheckWidth();
}

void TStateCheckListBox::DrawItem(int Index, RECT Rect, UINT State, HDC DC)
{
    RECT check = Rect;
    check.right = check.left + GetCheckWidth();
    FillRect(DC, &check, GetBrushHandle());
    bool enabled = Index < 0 || GetItemEnabled(Index);
    if (Index >= 0 && checkImages_) {
        int cell = CheckImageCell(checkKind_, enabled, GetState(Index));
        HDC mem = CreateCompatibleDC(DC);
        HGDIOBJ old = SelectObject(mem, checkImages_);
        int y = Rect.top + (Rect.bottom - Rect.top - cellHeight_) / 2;
        GdiTransparentBlt(DC, Rect.left + 1, y, cellWidth_, cellHeight_, mem, (cell % 4) * cellWidth_,
                          (cell / 4) * cellHeight_, cellWidth_, cellHeight_, kCheckKey);
        SelectObject(mem, old);
        DeleteDC(mem);
    }
    RECT text = Rect;
    text.left = check.right;
    bool selected = (State & ODS_SELECTED) != 0;
    FillRect(DC, &text, selected ? GetSysColorBrush(COLOR_HIGHLIGHT) : GetBrushHandle());
    if (Index < 0) return;
    SetBkMode(DC, TRANSPARENT);
    COLORREF color = selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : ColorToRGB(GetFont()->GetColor());
    if (!enabled) color = GetSysColor(selected ? COLOR_INACTIVECAPTIONTEXT : COLOR_GRAYTEXT);
    SetTextColor(DC, color);
    DrawItemText(DC, Index, text);
}

void TStateCheckListBox::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        TCustomScrollListBox::WndProc(Message);
        POINT p = MessagePoint(Message);
        int index = ItemAtPos(p, true);
        if (index >= 0) {
            RECT r = ItemRect(index);
            if (p.x - r.left < GetCheckWidth()) ToggleClickCheck(index);
        }
        return;
    }
    case WM_CHAR:
        switch (Message.WParam) {
        case ' ': ToggleClickCheck(GetItemIndex()); Message.Result = 0; return;
        case '+': CheckAll(true); Message.Result = 0; return;
        case '-': CheckAll(false); Message.Result = 0; return;
        default: break;
        }
        break;
    default: break;
    }
    TCustomScrollListBox::WndProc(Message);
}
