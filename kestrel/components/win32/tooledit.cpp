// TEditButton and TCustomComboEdit: the edit with a button at its right end.
#include "tooledit.h"

#include <algorithm>

#include "control_support.h"

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

}  // namespace

TCustomComboEdit::TCustomComboEdit(TComponent* AOwner) : TEditWithButton(AOwner), clickKey_(ShortCut(VK_DOWN, ssAlt))
{
    // The height is ours to keep: at least GetMinHeight, 21 by default.
    SetAutoSize(false);
    height_ = 21;
    buttonWindow_->SetBounds(0, 0, 21, 17);
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
}

void TCustomComboEdit::CreateParams(TCreateParams& Params)
{
    TEditWithButton::CreateParams(Params);
    if (!ctl3D_) {
        Params.ExStyle &= ~WS_EX_CLIENTEDGE;
        Params.Style |= WS_BORDER;
    }
}

void TCustomComboEdit::CreateWnd()
{
    TEditWithButton::CreateWnd();
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
    TEditWithButton::SetReadOnly(readOnly_ || !directInput_);
}

void TCustomComboEdit::SetCtl3D(bool Value)
{
    if (Value == ctl3D_) return;
    ctl3D_ = Value;
    if (HandleAllocated()) RecreateWnd();
    LayoutButton();
}

int TCustomComboEdit::MinHeightFor(int SystemFontHeight, int FontHeight, int BorderHeight) const
{
    return ComboEditMinHeight(SystemFontHeight, FontHeight, BorderHeight);
}

void TCustomComboEdit::LayoutButton()
{
    if (!button_ || !buttonWindow_) return;
    PlaceButton(EditButtonPlace(GetWidth(), GetHeight(), buttonWidth_, ctl3D_, NewStyleSystem()), buttonWidth_ > 0);
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
    TEditWithButton::KeyDown(Key, Shift);
    if (Key != 0 && buttonWidth_ > 0 && ShortCut(Key, Shift) == clickKey_) {
        DoClick();
        Key = 0;
    }
}
