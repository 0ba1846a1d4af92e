// TCustomSpeedButton: properties, groups, the press and the frame.
#include "buttons.h"

TCustomSpeedButton::TCustomSpeedButton(TComponent* AOwner, int Width, int Height, TButtonLayout Layout,
                                       int Spacing, bool GroupSync)
    : TGraphicControl(AOwner), glyph_(new TBitmap), layout_(Layout), spacing_(Spacing), groupSync_(GroupSync)
{
    // No csClickEvents: the click comes after the state change, in MouseUp.
    controlStyle_ = csCaptureMouse | csDoubleClicks | csSetCaption;
    width_ = Width;
    height_ = Height;
    SetParentColor(true);
    glyph_->OnChange = [this](TGraphic*) { GlyphChanged(); };
}

TCustomSpeedButton::~TCustomSpeedButton()
{
    glyph_->OnChange = nullptr;
}

void TCustomSpeedButton::SetLayout(TButtonLayout Value)
{
    layout_ = Value;
    Invalidate();
}

void TCustomSpeedButton::SetFlat(bool Value)
{
    flat_ = Value;
    Invalidate();
}

void TCustomSpeedButton::SetText(const AnsiString& Value)
{
    TGraphicControl::SetText(Value);
    Invalidate();
}

void TCustomSpeedButton::SetEnabled(bool Value)
{
    TGraphicControl::SetEnabled(Value);
    if (!Value) dragging_ = false;
    state_ = !Value ? bsDisabled : down_ ? bsExclusive : bsUp;
    Invalidate();
}

// ---- groups

// The other buttons of the group give way to this one when it is down.
void TCustomSpeedButton::SyncGroup(bool ShareAllowAllUp)
{
    TWinControl* parent = GetParent();
    if (!parent || groupIndex_ == 0) return;
    for (int i = 0; i < parent->GetControlCount(); ++i) {
        auto* other = dynamic_cast<TCustomSpeedButton*>(parent->GetControl(i));
        if (!other || other == this || other->groupIndex_ != groupIndex_) continue;
        if (down_ && other->down_) {
            other->down_ = false;
            other->state_ = other->GetEnabled() ? bsUp : bsDisabled;
            other->Invalidate();
        }
        if (ShareAllowAllUp) other->allowAllUp_ = allowAllUp_;
    }
}

void TCustomSpeedButton::SetGroupIndex(int Value)
{
    if (groupSync_ && Value == groupIndex_) return;
    groupIndex_ = Value;
    if (Value == 0 && down_) {
        down_ = false;
        state_ = GetEnabled() ? bsUp : bsDisabled;
        Invalidate();
    }
    SyncGroup(groupSync_);
}

void TCustomSpeedButton::SetDown(bool Value)
{
    if (groupIndex_ == 0) Value = false;
    if (Value == down_) return;
    if (down_ && !allowAllUp_) return;
    down_ = Value;
    if (GetEnabled()) state_ = Value ? bsExclusive : bsUp;
    Invalidate();
    if (Value) SyncGroup(groupSync_);
}

void TCustomSpeedButton::SetAllowAllUp(bool Value)
{
    if (groupSync_ && Value == allowAllUp_) return;
    allowAllUp_ = Value;
    SyncGroup(true);
}

// ---- the press

void TCustomSpeedButton::BeginPress()
{
    if (!down_) {
        state_ = bsDown;
        Repaint();
    }
    dragging_ = true;
}

void TCustomSpeedButton::TrackPress(int X, int Y)
{
    if (!dragging_) return;
    TButtonState look = down_ ? bsExclusive : bsUp;
    if (Inside(X, Y)) look = down_ ? bsExclusive : bsDown;
    if (look != state_) {
        state_ = look;
        Invalidate();
    }
}

bool TCustomSpeedButton::EndPress(int X, int Y)
{
    dragging_ = false;
    bool inside = Inside(X, Y);
    if (groupIndex_ != 0 && inside) {
        // Refused (the last one down without AllowAllUp): the look stays.
        SetDown(!down_);
    } else {
        state_ = groupIndex_ == 0 || !down_ ? bsUp : bsExclusive;
        Invalidate();
    }
    return inside;
}

void TCustomSpeedButton::MouseEnter()
{
    if (flat_) Invalidate();
    TGraphicControl::MouseEnter();
}

void TCustomSpeedButton::MouseLeave()
{
    if (flat_) Invalidate();
    TGraphicControl::MouseLeave();
}

// ---- the face

SIZE TCustomSpeedButton::GlyphSize() const
{
    if (glyph_->GetEmpty()) return SIZE{0, 0};
    return SIZE{glyph_->GetWidth() / numGlyphs_, glyph_->GetHeight()};
}

void TCustomSpeedButton::DrawFrame(HDC DC, RECT& Face, bool Pressed)
{
    if (!flat_) {
        DrawFrameControl(DC, &Face, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT | (Pressed ? DFCS_PUSHED : 0));
    } else if (Pressed) {
        DrawEdge(DC, &Face, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    } else if (MouseInControl() && GetEnabled()) {
        DrawEdge(DC, &Face, BDR_RAISEDINNER, BF_RECT | BF_ADJUST);
    }
}

TGlyphPlacement TCustomSpeedButton::PlaceFace(HDC DC, const RECT& Face, POINT Offset, const AnsiString& Caption)
{
    SelectObject(DC, GetFont()->GetHandle());
    RECT textSize = {0, 0, 0, 0};
    if (!Caption.IsEmpty()) DrawTextA(DC, Caption.c_str(), -1, &textSize, DT_SINGLELINE | DT_CALCRECT);
    return CalcButtonLayout(Face, Offset, SIZE{textSize.right, textSize.bottom}, GlyphSize(), layout_, margin_,
                            spacing_);
}
