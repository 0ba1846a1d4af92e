#include "editbutton_place.h"

#include <algorithm>

#include "forms.h"
#include "control_support.h"

TEditWithButton::TEditWithButton(TComponent* AOwner) : TCustomEdit(AOwner)
{
    controlStyle_ &= ~csSetCaption;
    buttonWindow_ = new TWinControl(this);
    buttonWindow_->SetParent(this);
}

void TEditWithButton::CreateParams(TCreateParams& Params)
{
    TCustomEdit::CreateParams(Params);
    Params.Style |= ES_MULTILINE | WS_CLIPCHILDREN;
}

bool TEditWithButton::NewStyleSystem()
{
    return LOBYTE(LOWORD(GetVersion())) > 3;
}

int TEditWithButton::GetMinHeight()
{
    int system = 0;
    int font = 0;
    ScreenTextHeights(GetFont(), system, font);
    return MinHeightFor(system, font, GetSystemMetrics(SM_CYBORDER));
}

void TEditWithButton::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    AHeight = std::max(AHeight, GetMinHeight());
    TCustomEdit::SetBounds(ALeft, ATop, AWidth, AHeight);
    LayoutButton();
}

void TEditWithButton::PlaceButton(const TEditButtonPlace& Place, bool Visible)
{
    buttonWindow_->SetBounds(Place.Left, Place.Top, Place.Width, Place.Height);
    buttonWindow_->SetVisible(Visible);
    ButtonControl()->SetBounds(0, 0, Place.Width, Place.Height);
    SetEditRect();
}

void TEditWithButton::SetEditRect()
{
    if (!HandleAllocated() || !buttonWindow_ || !ButtonControl()) return;
    RECT client = GetClientRect();
    int button = buttonWindow_->GetVisible() ? buttonWindow_->GetWidth() : 0;
    // Never negative: the edit widens a narrower rectangle to one character.
    RECT r{0, 0, std::max(0, int(client.right) - button - 2), client.bottom + 1};
    SendMessageA(handle_, EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&r));
}

void TEditWithButton::KeyPress(char& Key)
{
    TCustomEdit::KeyPress(Key);
    if (Key != '\r' && Key != '\x1b') return;
    if (TCustomForm* form = GetParentForm(this)) form->Perform(CM_DIALOGKEY, static_cast<unsigned char>(Key), 0);
    if (Key == '\r') Key = 0;
}

void TEditWithButton::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_PASTE:
    case WM_CUT:
        if (!TextEditable()) return;
        break;
    case CM_ENABLEDCHANGED:
        TCustomEdit::WndProc(Message);
        if (TControl* button = ButtonControl()) button->SetEnabled(GetEnabled());
        return;
    case WM_SIZE:
        TCustomEdit::WndProc(Message);
        SetEditRect();
        return;
    default: break;
    }
    TCustomEdit::WndProc(Message);
}
