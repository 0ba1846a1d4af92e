// TEditButton and TCustomComboEdit: the edit with a button at its right end.
#include "tooledit.h"

#include <algorithm>

#include "forms.h"
#include "vclutils.h"

// ---- TEditButton

TEditButton::TEditButton(TComponent* AOwner) : TGlyphButton(AOwner)
{
    // Keyboard users reach it through ClickKey; the edit keeps the focus.
    controlStyle_ &= ~csSetCaption;
}

// Pressed, it shows a sunken face without a left edge: the edit's border is
// its left side.
void TEditButton::DrawFrame(HDC DC, RECT& Face, bool Pressed)
{
    if (!Pressed || GetFlat()) {
        TGlyphButton::DrawFrame(DC, Face, Pressed);
        return;
    }
    DrawEdge(DC, &Face, EDGE_SUNKEN, BF_TOP | BF_RIGHT | BF_BOTTOM | BF_ADJUST);
}

// ---- TCustomComboEdit

namespace {

// OBM_COMBO; windows.h declares it only with OEMRESOURCE, which the one
// shared include does not define.
const int ObmCombo = 32738;

bool NewStyleSystem()
{
    return LOBYTE(LOWORD(GetVersion())) > 3;
}

}  // namespace

TCustomComboEdit::TCustomComboEdit(TComponent* AOwner) : TCustomEdit(AOwner), clickKey_(ShortCut(VK_DOWN, ssAlt))
{
    controlStyle_ &= ~csSetCaption;
    // The height is ours to keep: at least GetMinHeight, 21 by default.
    SetAutoSize(false);
    height_ = 21;
    buttonWindow_ = new TWinControl(this);
    buttonWindow_->SetBounds(0, 0, 21, 17);
    buttonWindow_->SetParent(this);
    buttonWindow_->SetCursor(crArrow);
    button_ = new TEditButton(this);
    button_->SetParent(buttonWindow_);
    button_->SetBounds(0, 0, 21, 17);
    button_->OnClick = [this](TObject*) { ButtonClick(); };
    LayoutButton();
}

TCustomComboEdit::~TCustomComboEdit()
{
    if (button_) button_->OnClick = nullptr;
    button_ = nullptr;
    buttonWindow_ = nullptr;
}

void TCustomComboEdit::CreateParams(TCreateParams& Params)
{
    TCustomEdit::CreateParams(Params);
    // Multi-line, so that the formatting rectangle keeps the text off the button.
    Params.Style |= ES_MULTILINE | WS_CLIPCHILDREN;
    if (!ctl3D_) {
        Params.ExStyle &= ~WS_EX_CLIENTEDGE;
        Params.Style |= WS_BORDER;
    }
}

void TCustomComboEdit::CreateWnd()
{
    TCustomEdit::CreateWnd();
    UpdateReadOnly();
    LayoutButton();
}

TBitmap* TCustomComboEdit::GetGlyph() const
{
    return button_->GetGlyph();
}

void TCustomComboEdit::SetGlyph(TBitmap* Value)
{
    button_->SetGlyph(Value);
    glyphKind_ = gkCustom;
}

int TCustomComboEdit::GetNumGlyphs() const
{
    return button_->GetNumGlyphs();
}

void TCustomComboEdit::SetNumGlyphs(int Value)
{
    button_->SetNumGlyphs(Value);
}

AnsiString TCustomComboEdit::GetButtonHint() const
{
    return button_->GetHint();
}

void TCustomComboEdit::SetButtonHint(const AnsiString& Value)
{
    button_->SetHint(Value);
    button_->SetShowHint(!Value.IsEmpty());
}

void TCustomComboEdit::SetGlyphKind(TGlyphKind Value)
{
    if (Value == glyphKind_) return;
    glyphKind_ = Value;
    RecreateGlyph();
}

// The built-in glyphs; a custom one is left as the caller set it.
void TCustomComboEdit::RecreateGlyph()
{
    switch (glyphKind_) {
    case gkCustom: break;
    case gkDefault: {
        TBitmap* glyph = DefaultGlyph();
        button_->SetGlyph(glyph);
        if (glyph && !glyph->GetEmpty())
            SetButtonWidth(std::max(glyph->GetWidth() / button_->GetNumGlyphs() + 6, buttonWidth_));
        break;
    }
    case gkDropDown: {
        TBitmap arrow;
        arrow.SetHandle(LoadBitmapA(nullptr, MAKEINTRESOURCEA(ObmCombo)));
        button_->SetGlyph(&arrow);
        button_->SetNumGlyphs(1);
        SetButtonWidth(GetSystemMetrics(SM_CXVSCROLL));
        break;
    }
    case gkEllipsis: {
        TEllipsisGlyph e = EllipsisGlyph(buttonWidth_);
        TBitmap dots;
        dots.SetSize(e.Width, e.Height);
        TCanvas* c = dots.GetCanvas();
        c->GetBrush()->SetColor(clWhite);
        c->FillRect(RECT{0, 0, e.Width, e.Height});
        c->GetBrush()->SetColor(clBlack);
        for (int x : e.DotX) c->FillRect(RECT{x, e.DotY, x + 2, e.DotY + 2});
        button_->SetGlyph(&dots);
        button_->SetNumGlyphs(1);
        break;
    }
    }
}

void TCustomComboEdit::SetButtonWidth(int Value)
{
    bool loading = (GetComponentState() & csLoading) != 0;
    if (!loading) {
        if (Value == buttonWidth_) return;
        if (HandleAllocated() && Value >= GetClientWidth()) return;
    }
    buttonWidth_ = std::max(0, Value);
    LayoutButton();
    if (glyphKind_ == gkEllipsis) RecreateGlyph();
}

void TCustomComboEdit::SetDirectInput(bool Value)
{
    directInput_ = Value;
    UpdateReadOnly();
}

void TCustomComboEdit::SetReadOnly(bool Value)
{
    readOnly_ = Value;
    UpdateReadOnly();
}

void TCustomComboEdit::UpdateReadOnly()
{
    TCustomEdit::SetReadOnly(readOnly_ || !directInput_);
}

void TCustomComboEdit::SetCtl3D(bool Value)
{
    if (Value == ctl3D_) return;
    ctl3D_ = Value;
    if (HandleAllocated()) RecreateWnd();
    LayoutButton();
}

int TCustomComboEdit::GetMinHeight()
{
    int system = 0;
    int font = 0;
    ScreenTextHeights(GetFont(), system, font);
    return ComboEditMinHeight(system, font, GetSystemMetrics(SM_CYBORDER));
}

void TCustomComboEdit::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    AHeight = std::max(AHeight, GetMinHeight());
    TCustomEdit::SetBounds(ALeft, ATop, AWidth, AHeight);
    LayoutButton();
}

void TCustomComboEdit::LayoutButton()
{
    if (!button_ || !buttonWindow_) return;
    TEditButtonPlace p = EditButtonPlace(GetWidth(), GetHeight(), buttonWidth_, ctl3D_, NewStyleSystem());
    buttonWindow_->SetBounds(p.Left, p.Top, p.Width, p.Height);
    buttonWindow_->SetVisible(buttonWidth_ > 0);
    button_->SetBounds(0, 0, p.Width, p.Height);
    SetEditRect();
}

void TCustomComboEdit::SetEditRect()
{
    if (!HandleAllocated() || !buttonWindow_) return;
    RECT client = GetClientRect();
    int button = buttonWidth_ > 0 ? buttonWindow_->GetWidth() : 0;
    RECT r{0, 0, std::max(0, int(client.right) - button - 2), client.bottom + 1};
    SendMessageA(handle_, EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&r));
}

void TCustomComboEdit::DoClick()
{
    if (!GetEnabled() || !button_) return;
    button_->Click();
}

void TCustomComboEdit::ButtonClick()
{
    if (OnButtonClick) OnButtonClick(this);
}

void TCustomComboEdit::KeyDown(unsigned short& Key, TShiftState Shift)
{
    TCustomEdit::KeyDown(Key, Shift);
    if (Key != 0 && buttonWidth_ > 0 && ShortCut(Key, Shift) == clickKey_) {
        DoClick();
        Key = 0;
    }
}

void TCustomComboEdit::KeyPress(char& Key)
{
    TCustomEdit::KeyPress(Key);
    if (Key == '\r' || Key == '\x1b') {
        // Default and cancel buttons work from here too.
        if (TCustomForm* form = GetParentForm(this)) form->Perform(CM_DIALOGKEY, static_cast<unsigned char>(Key), 0);
        // The multi-line edit would take Enter as a line break.
        if (Key == '\r') Key = 0;
    }
}

void TCustomComboEdit::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_PASTE:
    case WM_CUT:
        if (!directInput_ || readOnly_) return;
        break;
    case CM_ENABLEDCHANGED:
        TCustomEdit::WndProc(Message);
        if (button_) button_->SetEnabled(GetEnabled());
        return;
    case WM_SIZE:
        TCustomEdit::WndProc(Message);
        SetEditRect();
        return;
    default: break;
    }
    TCustomEdit::WndProc(Message);
}
