// TCustomEdit: the EDIT class, single-line here (TCustomMemo adds lines).
#include "stdctrls.h"

#include <algorithm>
#include <vector>

TCustomEdit::TCustomEdit(TComponent* AOwner) : TWinControl(AOwner)
{
    controlStyle_ = csClickEvents | csSetCaption | csDoubleClicks;
    width_ = 121;
    height_ = 25;
    SetTabStop(true);
    AdjustHeight();
}

void TCustomEdit::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    CreateSubClass(Params, "EDIT");
    static const DWORD align[] = {ES_LEFT, ES_RIGHT, ES_CENTER};
    static const DWORD charCase[] = {0, ES_UPPERCASE, ES_LOWERCASE};
    Params.Style |= ES_AUTOHSCROLL | ES_AUTOVSCROLL | align[alignment_] | charCase[charCase_];
    if (!hideSelection_) Params.Style |= ES_NOHIDESEL;
    if (oemConvert_) Params.Style |= ES_OEMCONVERT;
    if (readOnly_) Params.Style |= ES_READONLY;
    if (passwordChar_ && !IsMultiLine()) Params.Style |= ES_PASSWORD;
    if (borderStyle_ == bsSingle) Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomEdit::CreateWnd()
{
    TWinControl::CreateWnd();
    SendMessageA(handle_, EM_LIMITTEXT, maxLength_, 0);
    if (passwordChar_ && !IsMultiLine()) SendMessageA(handle_, EM_SETPASSWORDCHAR, static_cast<unsigned char>(passwordChar_), 0);
    SendMessageA(handle_, EM_SETMODIFY, modified_, 0);
    SendMessageA(handle_, EM_SETSEL, selStart_, selStart_ + selLength_);
}

void TCustomEdit::DestroyWnd()
{
    modified_ = GetModified();
    selStart_ = GetSelStart();
    selLength_ = GetSelLength();
    TWinControl::DestroyWnd();
}

void TCustomEdit::SetMaxLength(int Value)
{
    maxLength_ = std::max(0, Value);
    if (HandleAllocated()) SendMessageA(handle_, EM_LIMITTEXT, maxLength_, 0);
}

void TCustomEdit::SetReadOnly(bool Value)
{
    readOnly_ = Value;
    if (HandleAllocated()) SendMessageA(handle_, EM_SETREADONLY, Value, 0);
}

void TCustomEdit::SetAutoSize(bool Value)
{
    if (Value == autoSize_) return;
    autoSize_ = Value;
    AdjustHeight();
}

void TCustomEdit::SetCharCase(TEditCharCase Value)
{
    if (Value == charCase_) return;
    charCase_ = Value;
    RecreateWnd();
    // The new style converts only what is typed from now on.
    if (Value == ecUpperCase) SetText(GetText().UpperCase());
    if (Value == ecLowerCase) SetText(GetText().LowerCase());
}

void TCustomEdit::SetHideSelection(bool Value)
{
    if (Value == hideSelection_) return;
    hideSelection_ = Value;
    RecreateWnd();
}

void TCustomEdit::SetOEMConvert(bool Value)
{
    if (Value == oemConvert_) return;
    oemConvert_ = Value;
    RecreateWnd();
}

void TCustomEdit::SetPasswordChar(char Value)
{
    if (Value == passwordChar_) return;
    bool styleChanges = (Value == 0) != (passwordChar_ == 0);
    passwordChar_ = Value;
    if (!HandleAllocated()) return;
    if (styleChanges) {
        RecreateWnd();
        return;
    }
    SendMessageA(handle_, EM_SETPASSWORDCHAR, static_cast<unsigned char>(Value), 0);
    Invalidate();
}

void TCustomEdit::SetBorderStyle(TBorderStyle Value)
{
    if (Value == borderStyle_) return;
    borderStyle_ = Value;
    RecreateWnd();
    AdjustHeight();
}

void TCustomEdit::SetAlignment(TAlignment Value)
{
    if (Value == alignment_) return;
    alignment_ = Value;
    RecreateWnd();
}

bool TCustomEdit::GetModified()
{
    if (!HandleAllocated()) return modified_;
    return SendMessageA(handle_, EM_GETMODIFY, 0, 0) != 0;
}

void TCustomEdit::SetModified(bool Value)
{
    modified_ = Value;
    if (HandleAllocated()) SendMessageA(handle_, EM_SETMODIFY, Value, 0);
}

int TCustomEdit::GetSelStart()
{
    if (!HandleAllocated()) return selStart_;
    DWORD start = 0;
    SendMessageA(handle_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
    return static_cast<int>(start);
}

void TCustomEdit::SetSelStart(int Value)
{
    selStart_ = std::max(0, Value);
    selLength_ = 0;
    if (HandleAllocated()) SendMessageA(handle_, EM_SETSEL, selStart_, selStart_);
}

int TCustomEdit::GetSelLength()
{
    if (!HandleAllocated()) return selLength_;
    DWORD start = 0, end = 0;
    SendMessageA(handle_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return static_cast<int>(end - start);
}

void TCustomEdit::SetSelLength(int Value)
{
    selStart_ = GetSelStart();
    selLength_ = std::max(0, Value);
    if (HandleAllocated()) SendMessageA(handle_, EM_SETSEL, selStart_, selStart_ + selLength_);
}

AnsiString TCustomEdit::GetSelText()
{
    return GetText().SubString(GetSelStart() + 1, GetSelLength());
}

void TCustomEdit::SetSelText(const AnsiString& Value)
{
    if (HandleAllocated()) {
        SendMessageA(handle_, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(Value.c_str()));
        return;
    }
    AnsiString text = GetText();
    text.Delete(selStart_ + 1, selLength_);
    text.Insert(Value, selStart_ + 1);
    SetText(text);
    selStart_ += Value.Length();
    selLength_ = 0;
}

void TCustomEdit::SelectAll()
{
    selStart_ = 0;
    selLength_ = GetText().Length();
    if (HandleAllocated()) SendMessageA(handle_, EM_SETSEL, 0, -1);
}

void TCustomEdit::ClearSelection()
{
    if (HandleAllocated())
        SendMessageA(handle_, WM_CLEAR, 0, 0);
    else
        SetSelText("");
}

void TCustomEdit::CutToClipboard()
{
    SendMessageA(GetHandle(), WM_CUT, 0, 0);
}

void TCustomEdit::CopyToClipboard()
{
    SendMessageA(GetHandle(), WM_COPY, 0, 0);
}

void TCustomEdit::PasteFromClipboard()
{
    SendMessageA(GetHandle(), WM_PASTE, 0, 0);
}

void TCustomEdit::Undo()
{
    if (HandleAllocated()) SendMessageA(handle_, WM_UNDO, 0, 0);
}

void TCustomEdit::FontChanged()
{
    TWinControl::FontChanged();
    AdjustHeight();
}

// The font's height plus the border and the edit's own margins.
void TCustomEdit::AdjustHeight()
{
    if (!autoSize_ || IsMultiLine()) return;
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, GetFont()->GetHandle());
    TEXTMETRICA tm = {};
    tm.tmHeight = 13;  // when no display can tell
    GetTextMetricsA(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    int extra = borderStyle_ == bsSingle ? 8 : 2;
    SetHeight(tm.tmHeight + extra);
}

void TCustomEdit::Change()
{
    if (OnChange) OnChange(this);
}

void TCustomEdit::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case CN_COMMAND:
        if (HIWORD(Message.WParam) == EN_CHANGE) Change();
        return;
    case CM_TEXTCHANGED:
        // Without a window there is no EN_CHANGE to tell.
        if (!HandleAllocated()) Change();
        return;
    case WM_SETFOCUS:
        TWinControl::WndProc(Message);
        if (autoSelect_ && !(GetKeyState(VK_LBUTTON) < 0) && HandleAllocated()) SendMessageA(handle_, EM_SETSEL, 0, -1);
        return;
    default: break;
    }
    TWinControl::WndProc(Message);
}
