#include "spinedit.h"

#include <algorithm>
#include <cmath>

#include "exceptions.h"
#include "sysutils.h"

namespace {

const unsigned FirstRepeatDelay = 400;
const unsigned RepeatDelay = 100;

// A small arrow, black on white; white is its transparent colour (the
// up arrow's bottom-left pixel is black, so the automatic choice fails).
std::unique_ptr<TBitmap> BuiltInArrow(bool up)
{
    auto bmp = std::make_unique<TBitmap>();
    bmp->SetSize(7, 5);
    TCanvas* c = bmp->GetCanvas();
    c->GetBrush()->SetColor(clWhite);
    c->FillRect(RECT{0, 0, 7, 5});
    for (int row = 0; row < 4; ++row) {
        int y = up ? row + 1 : 3 - row;
        for (int x = 3 - row; x <= 3 + row; ++x) c->SetPixels(x, y, clBlack);
    }
    bmp->SetTransparentColor(clWhite);
    bmp->SetTransparentMode(tmFixed);
    return bmp;
}

std::unique_ptr<TBitmap> DefaultGlyph(bool up)
{
    auto bmp = std::make_unique<TBitmap>();
    try {
        bmp->LoadFromResourceName(GetModuleHandleA(nullptr), up ? "SPINUP" : "SPINDOWN");
        return bmp;
    } catch (const EResNotFound&) {
        return BuiltInArrow(up);
    }
}

std::unique_ptr<TBitmap> CopyOrDefault(TBitmap* source, bool up)
{
    if (!source || source->GetEmpty()) return DefaultGlyph(up);
    auto bmp = std::make_unique<TBitmap>();
    bmp->Assign(source);
    return bmp;
}

// Delphi's Round: halves to even.
int RoundHalfEven(double v)
{
    return static_cast<int>(std::nearbyint(v));
}

}  // namespace

// ---- TSpinButton

TSpinButton::TSpinButton(TComponent* AOwner) : TGraphicControl(AOwner)
{
    width_ = 20;
    height_ = 20;
    upGlyph_ = DefaultGlyph(true);
    downGlyph_ = DefaultGlyph(false);
}

TSpinButton::~TSpinButton() = default;

void TSpinButton::SetUpGlyph(TBitmap* Value)
{
    upGlyph_ = CopyOrDefault(Value, true);
    rebuild_ = true;
    Invalidate();
}

void TSpinButton::SetDownGlyph(TBitmap* Value)
{
    downGlyph_ = CopyOrDefault(Value, false);
    rebuild_ = true;
    Invalidate();
}

void TSpinButton::WndProc(TMessage& Message)
{
    if (Message.Msg == CM_ENABLEDCHANGED) {
        rebuild_ = true;
        Invalidate();
    }
    TGraphicControl::WndProc(Message);
}

void TSpinButton::Paint()
{
    if (!GetEnabled()) down_ = shNone;
    BuildFaces();
    GetCanvas()->Draw(0, 0, faces_[down_].get());
}

void TSpinButton::BuildFaces()
{
    int w = GetWidth(), h = GetHeight();
    bool sizeChanged = !faces_[0] || faces_[0]->GetWidth() != w || faces_[0]->GetHeight() != h;
    if (!sizeChanged && !rebuild_) return;
    rebuild_ = false;
    for (int i = 0; i < 3; ++i) {
        if (!faces_[i]) faces_[i] = std::make_unique<TBitmap>();
        DrawFace(faces_[i].get(), static_cast<TSpinHalf>(i));
    }
}

void TSpinButton::DrawFace(TBitmap* Face, TSpinHalf Pressed)
{
    int w = std::max(1, GetWidth()), h = std::max(1, GetHeight());
    Face->SetSize(w, h);
    TCanvas* c = Face->GetCanvas();
    c->GetBrush()->SetColor(clBtnFace);
    c->FillRect(RECT{0, 0, w, h});
    c->GetBrush()->SetColor(clWindowFrame);
    c->FrameRect(RECT{0, 0, w, h});
    // A pressed half swaps its light and shadow so that it looks sunken.
    TColor topLight = Pressed == shTop ? clBtnShadow : clBtnHighlight;
    TColor topShadow = Pressed == shTop ? clBtnHighlight : clBtnShadow;
    TColor bottomLight = Pressed == shBottom ? clBtnShadow : clBtnHighlight;
    TColor bottomShadow = Pressed == shBottom ? clBtnHighlight : clBtnShadow;
    TPen* pen = c->GetPen();
    pen->SetColor(topLight);
    c->MoveTo(1, h - 3);
    c->LineTo(1, 1);
    c->LineTo(w - 2, 1);
    pen->SetColor(topShadow);
    c->MoveTo(2, h - 3);
    c->LineTo(w - 2, 1);
    pen->SetColor(bottomLight);
    c->MoveTo(3, h - 2);
    c->LineTo(w - 2, 2);
    pen->SetColor(bottomShadow);
    c->MoveTo(w - 2, 3);
    c->LineTo(w - 2, h - 2);
    c->LineTo(2, h - 2);
    pen->SetColor(clWindowFrame);
    c->MoveTo(0, h - 1);
    c->LineTo(w - 1, 0);
    int shift = Pressed == shTop ? 2 : 1;
    DrawGlyph(c, upGlyph_.get(), RoundHalfEven(w * 0.25 - upGlyph_->GetWidth() * 0.5) + shift,
              RoundHalfEven(h * 0.25 - upGlyph_->GetHeight() * 0.5) + shift);
    DrawGlyph(c, downGlyph_.get(), RoundHalfEven(w * 0.75 - downGlyph_->GetWidth() * 0.5) - 1,
              RoundHalfEven(h * 0.75 - downGlyph_->GetHeight() * 0.5) - 1);
}

// Copies the glyph's pixels but its transparent colour; a disabled button
// shows them grey.
void TSpinButton::DrawGlyph(TCanvas* Canvas, TBitmap* Glyph, int Left, int Top)
{
    int gw = Glyph->GetWidth(), gh = Glyph->GetHeight();
    if (gw <= 0 || gh <= 0) return;
    TColor key = Glyph->GetTransparentColor();
    TCanvas* source = Glyph->GetCanvas();
    for (int y = 0; y < gh; ++y)
        for (int x = 0; x < gw; ++x) {
            TColor pixel = source->GetPixels(x, y);
            if (pixel == key) continue;
            Canvas->SetPixels(Left + x, Top + y, GetEnabled() ? pixel : ColorToRGB(clBtnShadow));
        }
}

void TSpinButton::SetPressed(TSpinHalf Half)
{
    if (Half == down_) return;
    down_ = Half;
    Invalidate();
}

bool TSpinButton::MouseCaptured()
{
    TWinControl* p = GetParent();
    return p && p->HandleAllocated() && GetCapture() == p->GetHandle();
}

void TSpinButton::Step(TSpinHalf Half)
{
    if (Half == shTop) {
        if (OnTopClick) OnTopClick(this);
    } else if (Half == shBottom) {
        if (OnBottomClick) OnBottomClick(this);
    }
    // The release may have been missed (another window took the mouse).
    if (GetKeyState(VK_LBUTTON) >= 0) SetPressed(shNone);
}

void TSpinButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || !GetEnabled() || down_ != shNone) return;
    TSpinHalf half = SpinHalfAt(X, Y, GetWidth(), GetHeight());
    dragStart_ = half;
    dragging_ = true;
    SetPressed(half);
    if (!repeatTimer_) {
        repeatTimer_ = new TTimer(this);
        repeatTimer_->OnTimer = [this](TObject*) { TimerExpired(); };
    }
    repeatTimer_->SetInterval(FirstRepeatDelay);
    repeatTimer_->SetEnabled(true);
    Step(half);
}

void TSpinButton::TimerExpired()
{
    repeatTimer_->SetInterval(RepeatDelay);
    if (down_ == shNone || !MouseCaptured()) return;
    try {
        Step(down_);
    } catch (...) {
        repeatTimer_->SetEnabled(false);
        throw;
    }
}

void TSpinButton::MouseMove(TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseMove(Shift, X, Y);
    if (!dragging_) return;
    int w = GetWidth(), h = GetHeight();
    TSpinHalf now = shNone;
    if (X >= 0 && X <= w && Y >= 0 && Y <= h) {
        TSpinHalf half = SpinHalfAt(X, Y, w, h);
        if (half == dragStart_) now = half;
    }
    SetPressed(now);
}

void TSpinButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseUp(Button, Shift, X, Y);
    if (!dragging_ || Button != mbLeft) return;
    dragging_ = false;
    // Released anywhere: a release outside without a move before it would
    // otherwise leave the button pressed and refusing the next press.
    dragStart_ = shNone;
    SetPressed(shNone);
    if (repeatTimer_) repeatTimer_->SetEnabled(false);
}

// ---- TSpinEdit

TSpinEdit::TSpinEdit(TComponent* AOwner) : TEditWithButton(AOwner)
{
    SetText("0");
    lastValid_ = minValue_;
    button_ = new TSpinButton(this);
    button_->SetParent(buttonWindow_);
    button_->OnTopClick = [this](TObject*) { UpClick(); };
    button_->OnBottomClick = [this](TObject*) { DownClick(); };
    LayoutButton();
}

TSpinEdit::~TSpinEdit()
{
    if (button_) {
        button_->OnTopClick = nullptr;
        button_->OnBottomClick = nullptr;
    }
    button_ = nullptr;
}

void TSpinEdit::CreateWnd()
{
    TEditWithButton::CreateWnd();
    SetEditRect();
}

int TSpinEdit::MinHeightFor(int SystemFontHeight, int FontHeight, int BorderHeight) const
{
    return SpinEditMinHeight(BorderHeight, SystemFontHeight, FontHeight);
}

void TSpinEdit::LayoutButton()
{
    if (!button_ || !buttonWindow_) return;
    int side = std::max(0, NewStyleSystem() ? GetHeight() - 4 : GetHeight());
    PlaceButton(TEditButtonPlace{GetWidth() - GetHeight(), 0, side, side}, true);
}

long double TSpinEdit::GetValue()
{
    long double v = 0;
    if (!ParseSpinText(GetText(), valueType_, v)) return valueType_ == vtInt ? std::trunc(lastValid_) : lastValid_;
    v = ClampSpinValue(v, minValue_, maxValue_);
    lastValid_ = v;
    return v;
}

void TSpinEdit::SetValue(long double Value)
{
    AnsiString text = FormatSpinValue(ClampSpinValue(Value, minValue_, maxValue_), valueType_, decimal_);
    lastValid_ = Value;
    SetText(text);
}

void TSpinEdit::SetValueType(TValueType Value)
{
    if (Value == valueType_) return;
    valueType_ = Value;
    SetValue(GetValue());
}

void TSpinEdit::SetDecimal(int Value)
{
    Value = std::clamp(Value, 0, 18);
    if (Value == decimal_) return;
    decimal_ = Value;
    SetValue(GetValue());
}

void TSpinEdit::SetMinValue(long double Value)
{
    minValue_ = Value;
}

void TSpinEdit::SetMaxValue(long double Value)
{
    maxValue_ = Value;
}

void TSpinEdit::UpClick()
{
    Step(increment_);
}

void TSpinEdit::DownClick()
{
    Step(-increment_);
}

// One OnChange for the step, and none when the text stayed.
void TSpinEdit::Step(long double Delta)
{
    if (GetReadOnly()) {
        Beep();
        return;
    }
    AnsiString old = GetText();
    stepping_ = true;
    try {
        SetValue(GetValue() + Delta);
    } catch (...) {
        stepping_ = false;
        throw;
    }
    stepping_ = false;
    if (CompareText(GetText(), old) != 0) {
        SetModified(true);
        TEditWithButton::Change();
    }
}

void TSpinEdit::Change()
{
    if (!stepping_) TEditWithButton::Change();
}

void TSpinEdit::Beep()
{
    MessageBeep(0);
}

void TSpinEdit::KeyDown(unsigned short& Key, TShiftState Shift)
{
    if (Key == VK_UP)
        UpClick();
    else if (Key == VK_DOWN)
        DownClick();
    TEditWithButton::KeyDown(Key, Shift);
}

void TSpinEdit::KeyPress(char& Key)
{
    if (!IsSpinChar(Key, valueType_, editorEnabled_, DecimalSeparator)) {
        Key = 0;
        Beep();
    }
    if (Key != 0) TEditWithButton::KeyPress(Key);
}

void TSpinEdit::DoExit()
{
    TEditWithButton::DoExit();
    // Leaving a text the value does not show ("150" above a limit of 99, or
    // no number at all) shows the value instead.
    if (IsDestroying()) return;
    long double v = GetValue();
    if (GetText() != FormatSpinValue(ClampSpinValue(v, minValue_, maxValue_), valueType_, decimal_)) SetValue(v);
}
