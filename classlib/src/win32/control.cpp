// TControl: geometry, appearance, mouse messages and events shared by the
// windowed and the graphic controls.
#include "controls.h"

#include <algorithm>

#include "application.h"
#include "hintwindow.h"
#include "menus.h"

namespace {

// The system's upper case of one ANSI character (CharUpperA takes a single
// character in the pointer's low word).
char UpperChar(char c)
{
    auto in = reinterpret_cast<LPSTR>(static_cast<UINT_PTR>(static_cast<unsigned char>(c)));
    return static_cast<char>(reinterpret_cast<UINT_PTR>(CharUpperA(in)) & 0xFF);
}

}  // namespace

bool IsAccel(char Key, const AnsiString& Caption)
{
    const char* s = Caption.c_str();
    for (int i = 0; s[i]; ++i) {
        if (s[i] != '&') continue;
        if (s[i + 1] == '&') {
            ++i;
            continue;
        }
        return s[i + 1] && UpperChar(s[i + 1]) == UpperChar(Key);
    }
    return false;
}

TShiftState KeysToShiftState(WPARAM Keys)
{
    TShiftState s = 0;
    if (Keys & MK_SHIFT) s |= ssShift;
    if (Keys & MK_CONTROL) s |= ssCtrl;
    if (Keys & MK_LBUTTON) s |= ssLeft;
    if (Keys & MK_RBUTTON) s |= ssRight;
    if (Keys & MK_MBUTTON) s |= ssMiddle;
    if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
    return s;
}

TShiftState KeyDataToShiftState(LPARAM KeyData)
{
    TShiftState s = 0;
    if (GetKeyState(VK_SHIFT) < 0) s |= ssShift;
    if (GetKeyState(VK_CONTROL) < 0) s |= ssCtrl;
    if (KeyData & (KF_ALTDOWN << 16)) s |= ssAlt;
    return s;
}

TControl::TControl(TComponent* AOwner) : TComponent(AOwner), font_(new TFont)
{
    font_->OnChange = [this](TGraphicsObject*) {
        if (!fontFromParent_) parentFont_ = false;
        FontChanged();
    };
}

TControl::~TControl()
{
    BeforeDestruction();
    HintControlGone(this);
    if (parent_) parent_->RemoveControl(this);
    font_->OnChange = nullptr;
}

void TControl::SetParent(TWinControl* AParent)
{
    if (AParent == parent_) return;
    if (AParent == this) throw EInvalidOperation("A control cannot have itself as its parent");
    for (TWinControl* p = AParent; p; p = p->parent_)
        if (p == this) throw EInvalidOperation("A control cannot be the parent of its own parent");
    if (parent_) parent_->RemoveControl(this);
    if (AParent) AParent->InsertControl(this);
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    if (AWidth < 0) AWidth = 0;
    if (AHeight < 0) AHeight = 0;
    if (ALeft == left_ && ATop == top_ && AWidth == width_ && AHeight == height_) return;
    Invalidate();
    bool sized = AWidth != width_ || AHeight != height_;
    left_ = ALeft;
    top_ = ATop;
    width_ = AWidth;
    height_ = AHeight;
    Invalidate();
    BoundsChanged(sized);
}

void TControl::BoundsChanged(bool sizeChanged)
{
    if (sizeChanged) Resize();
    RequestAlign();
    if (sizeChanged && parent_) parent_->ChildChanged(this);
}

void TControl::RequestAlign()
{
    if (parent_ && align_ != alNone) parent_->Realign();
}

RECT TControl::GetBoundsRect() const
{
    return RECT{left_, top_, left_ + width_, top_ + height_};
}

RECT TControl::GetClientRect()
{
    return RECT{0, 0, width_, height_};
}

void TControl::SetClientWidth(int Value)
{
    SetWidth(width_ - GetClientRect().right + Value);
}

void TControl::SetClientHeight(int Value)
{
    SetHeight(height_ - GetClientRect().bottom + Value);
}

POINT TControl::ClientToScreen(POINT p)
{
    if (!parent_) throw EInvalidOperation("Control '" + GetName() + "' has no parent window");
    return parent_->ClientToScreen(POINT{p.x + left_, p.y + top_});
}

POINT TControl::ScreenToClient(POINT p)
{
    if (!parent_) throw EInvalidOperation("Control '" + GetName() + "' has no parent window");
    POINT q = parent_->ScreenToClient(p);
    return POINT{q.x - left_, q.y - top_};
}

void TControl::SetAlign(TAlign Value)
{
    if (Value == align_) return;
    TAlign old = align_;
    align_ = Value;
    if (parent_ && (old != alNone || Value != alNone)) parent_->Realign();
}

void TControl::SetVisible(bool Value)
{
    if (Value == visible_) return;
    if (!Value) Invalidate();
    visible_ = Value;
    if (Value) Invalidate();
    Perform(CM_VISIBLECHANGED, Value);
    if (parent_ && align_ != alNone) parent_->Realign();
    if (parent_) parent_->ChildChanged(this);
}

void TControl::SetEnabled(bool Value)
{
    if (Value == enabled_) return;
    enabled_ = Value;
    Invalidate();
    Perform(CM_ENABLEDCHANGED, Value);
}

void TControl::SetColor(TColor Value)
{
    parentColor_ = false;
    if (Value == color_) return;
    color_ = Value;
    ColorChanged();
}

void TControl::SetParentColor(bool Value)
{
    parentColor_ = Value;
    if (Value) ParentColorChanged();
}

void TControl::ParentColorChanged()
{
    if (!parentColor_ || !parent_ || color_ == parent_->color_) return;
    color_ = parent_->color_;
    ColorChanged();
}

void TControl::ColorChanged()
{
    Invalidate();
    Perform(CM_COLORCHANGED);
}

void TControl::SetParentFont(bool Value)
{
    parentFont_ = Value;
    if (Value) ParentFontChanged();
}

void TControl::ParentFontChanged()
{
    if (!parentFont_ || !parent_ || font_->SameAs(parent_->font_.get())) return;
    fontFromParent_ = true;
    try {
        font_->Assign(parent_->font_.get());
    } catch (...) {
        fontFromParent_ = false;
        throw;
    }
    fontFromParent_ = false;
}

void TControl::FontChanged()
{
    Invalidate();
    Perform(CM_FONTCHANGED);
}

AnsiString TControl::GetText()
{
    return text_;
}

void TControl::SetText(const AnsiString& Value)
{
    if (Value == text_) return;
    text_ = Value;
    Invalidate();
    Perform(CM_TEXTCHANGED);
}

void TControl::SetName(const AnsiString& Value)
{
    // A control made in code shows its name until given a caption.
    bool follow = (controlStyle_ & csSetCaption) && GetText() == GetName();
    TComponent::SetName(Value);
    if (follow) SetText(Value);
}

void TControl::SetCursor(TCursor Value)
{
    cursor_ = Value;
}

void TControl::SetPopupMenu(TPopupMenu* Value)
{
    if (popupMenu_) RemoveFreeNotification(popupMenu_);
    popupMenu_ = Value;
    if (Value) FreeNotification(Value);
}

void TControl::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == popupMenu_) popupMenu_ = nullptr;
}

bool TControl::ContextPopup(TMessage& Message)
{
    if (!popupMenu_ || !popupMenu_->GetAutoPopup()) return false;
    POINT p = MessagePoint(Message);
    if (p.x == -1 && p.y == -1) p = ClientToScreen(POINT{width_ / 2, height_ / 2});
    popupMenu_->SetPopupComponent(this);
    popupMenu_->Popup(p.x, p.y);
    Message.Result = 1;
    return true;
}

LRESULT TControl::Perform(UINT Msg, WPARAM WParam, LPARAM LParam)
{
    TMessage m{Msg, WParam, LParam, 0};
    WndProc(m);
    return m.Result;
}

void TControl::Invalidate()
{
    if (!parent_ || !visible_ || !parent_->HandleAllocated()) return;
    RECT r = GetBoundsRect();
    InvalidateRect(parent_->handle_, &r, !(controlStyle_ & csOpaque));
}

void TControl::Update()
{
    if (parent_) parent_->Update();
}

void TControl::Repaint()
{
    Invalidate();
    Update();
}

void TControl::BringToFront()
{
    if (!parent_) return;
    auto& list = parent_->controls_;
    list.erase(std::find(list.begin(), list.end(), this));
    list.push_back(this);
    Invalidate();
}

void TControl::SendToBack()
{
    if (!parent_) return;
    auto& list = parent_->controls_;
    list.erase(std::find(list.begin(), list.end(), this));
    list.insert(list.begin(), this);
    Invalidate();
}

void TControl::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_LBUTTONDOWN: MouseButtonMessage(Message, mbLeft, true, false); return;
    case WM_RBUTTONDOWN: MouseButtonMessage(Message, mbRight, true, false); return;
    case WM_MBUTTONDOWN: MouseButtonMessage(Message, mbMiddle, true, false); return;
    case WM_LBUTTONDBLCLK: MouseButtonMessage(Message, mbLeft, true, true); return;
    case WM_RBUTTONDBLCLK: MouseButtonMessage(Message, mbRight, true, true); return;
    case WM_MBUTTONDBLCLK: MouseButtonMessage(Message, mbMiddle, true, true); return;
    case WM_LBUTTONUP: MouseButtonMessage(Message, mbLeft, false, false); return;
    case WM_RBUTTONUP: MouseButtonMessage(Message, mbRight, false, false); return;
    case WM_MBUTTONUP: MouseButtonMessage(Message, mbMiddle, false, false); return;
    case WM_MOUSEMOVE: {
        POINT p = MessagePoint(Message);
        MouseMove(KeysToShiftState(Message.WParam), p.x, p.y);
        DefaultHandler(Message);
        return;
    }
    case WM_CONTEXTMENU:
        if (!ContextPopup(Message)) DefaultHandler(Message);
        return;
    case CM_MOUSEENTER:
        if (!mouseInside_) {
            mouseInside_ = true;
            MouseEnter();
            HintMouseEntered(this);
        }
        return;
    case CM_MOUSELEAVE:
        if (mouseInside_) {
            mouseInside_ = false;
            HintMouseLeft(this);
            MouseLeave();
        }
        return;
    default:
        DefaultHandler(Message);
    }
}

// Down: capture and remember for the click; up: the click when the button
// comes up inside, before OnMouseUp.
void TControl::MouseButtonMessage(TMessage& Message, TMouseButton button, bool down, bool dbl)
{
    const POINT p = MessagePoint(Message);
    const int x = p.x;
    const int y = p.y;
    TShiftState shift = KeysToShiftState(Message.WParam);
    if (down) {
        CancelHint();
        if (windowed_ && (controlStyle_ & csCaptureMouse)) SetCapture(static_cast<TWinControl*>(this)->handle_);
        if (button == mbLeft && (controlStyle_ & csClickEvents)) clicked_ = true;
        if (dbl) {
            shift |= ssDouble;
            if (controlStyle_ & csDoubleClicks) DblClick();
        }
        DefaultHandler(Message);
        MouseDown(button, shift, x, y);
        return;
    }
    if (windowed_ && (controlStyle_ & csCaptureMouse) && GetCapture() == static_cast<TWinControl*>(this)->handle_)
        ReleaseCapture();
    if (button == mbLeft && clicked_) {
        clicked_ = false;
        RECT r = GetClientRect();
        if (PtInRect(&r, p)) Click();
    }
    DefaultHandler(Message);
    MouseUp(button, shift, x, y);
}

void TControl::DefaultHandler(TMessage& Message)
{
    (void)Message;
}

void TControl::Click()
{
    if (OnClick) OnClick(this);
}

void TControl::DblClick()
{
    if (OnDblClick) OnDblClick(this);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y)
{
    if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}

void TControl::MouseEnter()
{
    if (Application && !hint_.IsEmpty()) Application->SetHint(hint_);
    if (OnMouseEnter) OnMouseEnter(this);
}

void TControl::MouseLeave()
{
    if (OnMouseLeave) OnMouseLeave(this);
}

void TControl::Resize()
{
    if (OnResize) OnResize(this);
}
