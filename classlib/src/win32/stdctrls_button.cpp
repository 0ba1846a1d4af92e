// TButton, TCheckBox and TRadioButton: the BUTTON class in three styles.
//
// The system procedure handles the mouse itself (capture, pressed look), so
// these controls take neither csCaptureMouse nor csClickEvents: their click
// is the reflected BN_CLICKED.
#include "stdctrls.h"

#include "forms.h"

namespace {

const TControlStyle kButtonStyle = csSetCaption | csDoubleClicks;

bool IsClicked(const TMessage& Message)
{
    return HIWORD(Message.WParam) == BN_CLICKED;
}

}  // namespace

// ---- TButton

TButton::TButton(TComponent* AOwner) : TWinControl(AOwner)
{
    controlStyle_ = kButtonStyle;
    width_ = 75;
    height_ = 25;
    SetColor(clBtnFace);
    SetTabStop(true);
}

void TButton::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    CreateSubClass(Params, "BUTTON");
    Params.Style |= default_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::SetDefault(bool Value)
{
    if (Value == default_) return;
    default_ = Value;
    if (HandleAllocated()) SendMessageA(handle_, BM_SETSTYLE, Value ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TButton::Click()
{
    // The form hears the result first, as a modal loop checks it after the
    // message is handled.
    if (modalResult_ != 0)
        if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(modalResult_);
    TWinControl::Click();
}

// Enter belongs to the focused button, or to the default one when the focus
// is on something that is not a button.
bool TButton::IsActiveForEnter()
{
    if (Focused()) return true;
    if (!default_) return false;
    return !dynamic_cast<TButton*>(FindControl(GetFocus()));
}

void TButton::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case CN_COMMAND:
        if (IsClicked(Message)) Click();
        return;
    case CM_DIALOGKEY: {
        bool mine = (Message.WParam == VK_RETURN && IsActiveForEnter()) || (Message.WParam == VK_ESCAPE && cancel_);
        if (mine && CanFocus() && GetEnabled() && GetVisible()) {
            Click();
            Message.Result = 1;
            return;
        }
        break;
    }
    default: break;
    }
    TWinControl::WndProc(Message);
}

// ---- TCheckBox

TCheckBox::TCheckBox(TComponent* AOwner) : TWinControl(AOwner)
{
    controlStyle_ = kButtonStyle;
    width_ = 97;
    height_ = 17;
    SetParentColor(true);
    SetTabStop(true);
}

void TCheckBox::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    CreateSubClass(Params, "BUTTON");
    // Not the automatic style: the state is ours, the window shows it.
    Params.Style |= BS_3STATE;
    if (alignment_ == taLeftJustify) Params.Style |= BS_LEFTTEXT;
}

void TCheckBox::CreateWnd()
{
    TWinControl::CreateWnd();
    SendMessageA(handle_, BM_SETCHECK, state_, 0);
}

void TCheckBox::SetState(TCheckBoxState Value)
{
    if (Value == state_) return;
    state_ = Value;
    if (HandleAllocated()) SendMessageA(handle_, BM_SETCHECK, Value, 0);
    Click();
}

void TCheckBox::SetAlignment(TAlignment Value)
{
    if (Value == alignment_) return;
    alignment_ = Value;
    RecreateWnd();
}

void TCheckBox::Toggle()
{
    switch (state_) {
    case cbUnchecked: SetState(allowGrayed_ ? cbGrayed : cbChecked); break;
    case cbChecked: SetState(cbUnchecked); break;
    case cbGrayed: SetState(cbChecked); break;
    }
}

void TCheckBox::WndProc(TMessage& Message)
{
    if (Message.Msg == CN_COMMAND) {
        if (IsClicked(Message)) Toggle();
        return;
    }
    TWinControl::WndProc(Message);
}

// ---- TRadioButton

TRadioButton::TRadioButton(TComponent* AOwner) : TWinControl(AOwner)
{
    controlStyle_ = kButtonStyle;
    width_ = 113;
    height_ = 17;
    SetParentColor(true);
}

void TRadioButton::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    CreateSubClass(Params, "BUTTON");
    Params.Style |= BS_RADIOBUTTON;
    if (alignment_ == taLeftJustify) Params.Style |= BS_LEFTTEXT;
}

void TRadioButton::CreateWnd()
{
    TWinControl::CreateWnd();
    SendMessageA(handle_, BM_SETCHECK, checked_, 0);
}

void TRadioButton::SetChecked(bool Value)
{
    if (Value == checked_) return;
    checked_ = Value;
    // Only the checked button of a group is a tab stop, as in dialogs.
    SetTabStop(Value);
    if (HandleAllocated()) SendMessageA(handle_, BM_SETCHECK, Value, 0);
    if (!Value) return;
    if (TWinControl* parent = GetParent()) {
        for (int i = 0; i < parent->GetControlCount(); ++i) {
            auto* other = dynamic_cast<TRadioButton*>(parent->GetControl(i));
            if (other && other != this) other->SetChecked(false);
        }
    }
    Click();
}

void TRadioButton::SetAlignment(TAlignment Value)
{
    if (Value == alignment_) return;
    alignment_ = Value;
    RecreateWnd();
}

void TRadioButton::WndProc(TMessage& Message)
{
    if (Message.Msg == CN_COMMAND) {
        if (IsClicked(Message)) SetChecked(true);
        return;
    }
    TWinControl::WndProc(Message);
}
