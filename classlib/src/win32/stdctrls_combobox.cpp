// TCustomComboBox: the COMBOBOX class with Items kept by the object.
#include "stdctrls.h"

#include "listitems.h"

TCustomComboBox::TCustomComboBox(TComponent* AOwner)
    : TWinControl(AOwner), items_(new TListItems(this, ComboBoxMessages))
{
    // No capture and no click from the mouse: the system's drop-down needs
    // the capture, and a click is a choice from the list.
    controlStyle_ = csSetCaption | csDoubleClicks;
    width_ = 145;
    height_ = 21;
    SetTabStop(true);
}

TCustomComboBox::~TCustomComboBox() {}

TStrings* TCustomComboBox::GetItems() const
{
    return items_.get();
}

void TCustomComboBox::SetItems(TStrings* Value)
{
    items_->Assign(Value);
}

int TCustomComboBox::GetItemIndex()
{
    return items_->GetItemIndex();
}

void TCustomComboBox::SetItemIndex(int Value)
{
    items_->SetItemIndex(Value);
    if (!HandleAllocated() && style_ != csDropDownList) text_ = Value >= 0 ? items_->GetStrings(Value) : AnsiString();
}

bool TCustomComboBox::GetSorted() const
{
    return items_->GetSorted();
}

void TCustomComboBox::SetSorted(bool Value)
{
    items_->SetSorted(Value);
}

void TCustomComboBox::SetStyle(TComboBoxStyle Value)
{
    if (Value == style_) return;
    style_ = Value;
    RecreateWnd();
}

void TCustomComboBox::SetDropDownCount(int Value)
{
    dropDownCount_ = Value < 1 ? 1 : Value;
    if (HandleAllocated() && style_ != csSimple)
        SetWindowPos(handle_, nullptr, 0, 0, width_, DroppedHeight(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TCustomComboBox::SetMaxLength(int Value)
{
    maxLength_ = Value < 0 ? 0 : Value;
    if (HandleAllocated()) SendMessageA(handle_, CB_LIMITTEXT, maxLength_, 0);
}

bool TCustomComboBox::GetDroppedDown()
{
    return HandleAllocated() && SendMessageA(handle_, CB_GETDROPPEDSTATE, 0, 0) != 0;
}

void TCustomComboBox::SetDroppedDown(bool Value)
{
    SendMessageA(GetHandle(), CB_SHOWDROPDOWN, Value, 0);
}

void TCustomComboBox::Clear()
{
    items_->Clear();
    SetText("");
}

// The window's height is the closed box plus the dropped list.
int TCustomComboBox::DroppedHeight() const
{
    int item = 16;
    int edit = height_;
    if (handle_) {
        item = static_cast<int>(SendMessageA(handle_, CB_GETITEMHEIGHT, 0, 0));
        edit = static_cast<int>(SendMessageA(handle_, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0)) + 6;
    }
    return edit + item * dropDownCount_ + 2;
}

void TCustomComboBox::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    if (handle_ && style_ != csSimple) AHeight = DroppedHeight();
    TWinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TCustomComboBox::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    CreateSubClass(Params, "COMBOBOX");
    static const DWORD styles[] = {CBS_DROPDOWN, CBS_SIMPLE, CBS_DROPDOWNLIST};
    Params.Style |= styles[style_] | CBS_AUTOHSCROLL | WS_VSCROLL;
    if (style_ != csSimple) Params.Height = DroppedHeight();
}

void TCustomComboBox::CreateWnd()
{
    AnsiString text = text_;
    TWinControl::CreateWnd();
    SendMessageA(handle_, CB_LIMITTEXT, maxLength_, 0);
    items_->WindowCreated();
    if (style_ != csDropDownList && items_->GetItemIndex() < 0) SetWindowTextA(handle_, text.c_str());
}

void TCustomComboBox::DestroyWnd()
{
    items_->WindowDestroying();
    TWinControl::DestroyWnd();
}

void TCustomComboBox::Change()
{
    if (OnChange) OnChange(this);
}

void TCustomComboBox::WndProc(TMessage& Message)
{
    if (Message.Msg != CN_COMMAND) {
        TWinControl::WndProc(Message);
        return;
    }
    switch (HIWORD(Message.WParam)) {
    case CBN_SELCHANGE: {
        // The edit part shows the choice only after this notification.
        int index = GetItemIndex();
        if (style_ != csDropDownList && index >= 0) SetWindowTextA(handle_, items_->GetStrings(index).c_str());
        Click();
        Change();
        break;
    }
    case CBN_EDITCHANGE: Change(); break;
    case CBN_DROPDOWN:
        if (OnDropDown) OnDropDown(this);
        break;
    default: break;
    }
}
