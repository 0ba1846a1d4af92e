// TToolbarButton: states, groups, hot tracking, repeat and clicks.
#include "toolbar_button.h"

#include "application.h"
#include "forms.h"
#include "glyph_button_model.h"
#include "thread_hooks.h"
#include "toolbar_button_glyph.h"
#include "control_support.h"

namespace {

void ButtonHookProc(THookProcKind Code, HWND Wnd, WPARAM WParam, LPARAM LParam);

}  // namespace

// The program-wide hot button and the timer that notices the mouse leaving
// it; the timer lives while buttons do. Every button also registers the one
// hook procedure (counted), which ends the hot look when the program loses
// activation or the mouse moves in another window.
class THotTracker {
public:
    static THotTracker& Get()
    {
        static THotTracker tracker;
        return tracker;
    }
    void ButtonMade()
    {
        InstallHookProc(ButtonHookProc, HookKind(hpSendActivateApp) | HookKind(hpGetMessageMouseMove), false);
        ++live_;
    }
    void ButtonGone(TToolbarButton* Button)
    {
        if (hot_ == Button) hot_ = nullptr;
        if (--live_ == 0) poll_.reset();
        UninstallHookProc(ButtonHookProc);
    }
    void Deactivated()
    {
        if (hot_ && !hot_->GetShowBorderWhenInactive()) hot_->EndHot();
    }
    void MouseMovedIn(HWND Wnd)
    {
        TWinControl* parent = hot_ ? hot_->GetParent() : nullptr;
        if (parent && (!parent->HandleAllocated() || parent->GetHandle() != Wnd)) hot_->EndHot();
    }
    TToolbarButton* Hot() const { return hot_; }
    void SetHot(TToolbarButton* Button)
    {
        hot_ = Button;
        if (!Button) return;
        if (!poll_) {
            poll_.reset(new TTimer(nullptr));
            poll_->SetInterval(125);
            poll_->OnTimer = [this](TObject*) { Poll(); };
        }
        poll_->SetEnabled(true);
    }

private:
    void Poll()
    {
        TToolbarButton* b = hot_;
        if (!b) {
            poll_->SetEnabled(false);
            return;
        }
        if ((!b->GetShowBorderWhenInactive() && !IsForegroundTask()) || !CursorOver(b)) b->EndHot();
    }
    static bool CursorOver(TToolbarButton* b)
    {
        TWinControl* parent = b->GetParent();
        if (!parent || !parent->HandleAllocated()) return false;
        POINT p;
        GetCursorPos(&p);
        if (WindowFromPoint(p) != parent->GetHandle()) return false;
        p = parent->ScreenToClient(p);
        RECT r = b->GetBoundsRect();
        return PtInRect(&r, p) != 0;
    }

    TToolbarButton* hot_ = nullptr;
    std::unique_ptr<TTimer> poll_;
    int live_ = 0;
};

namespace {

void ButtonHookProc(THookProcKind Code, HWND Wnd, WPARAM WParam, LPARAM)
{
    if (Code == hpSendActivateApp && !WParam) THotTracker::Get().Deactivated();
    if (Code == hpGetMessageMouseMove) THotTracker::Get().MouseMovedIn(Wnd);
}

}  // namespace

TToolbarButton::TToolbarButton(TComponent* AOwner) : TGraphicControl(AOwner), glyph_(new TBitmap), glyphMask_(new TBitmap)
{
    // No csClickEvents: clicks follow the button's own state changes.
    controlStyle_ = csCaptureMouse | csDoubleClicks | csOpaque;
    width_ = 23;
    height_ = 22;
    SetColor(clBtnFace);
    glyph_->OnChange = [this](TGraphic*) { GlyphChanged(); };
    glyphMask_->OnChange = [this](TGraphic*) { GlyphChanged(); };
    THotTracker::Get().ButtonMade();
}

TToolbarButton::~TToolbarButton()
{
    glyph_->OnChange = nullptr;
    glyphMask_->OnChange = nullptr;
    repeatTimer_.reset();
    THotTracker::Get().ButtonGone(this);
    if (dropdownMenu_) DropdownList()->RemoveMenu(dropdownMenu_);
}

bool TToolbarButton::IsHot() const
{
    return THotTracker::Get().Hot() == this;
}

TToolbarButtonState TToolbarButton::RestingState() const
{
    if (!GetEnabled()) return tbsDisabled;
    if (down_) return tbsExclusive;
    return IsHot() ? tbsMouseIn : tbsUp;
}

void TToolbarButton::SetState(TToolbarButtonState Value)
{
    if (Value == state_) return;
    state_ = Value;
    Invalidate();
}

bool TToolbarButton::InMainPart(int X, int Y) const
{
    int right = dropdownCombo_ ? width_ - kComboArrowWidth : width_;
    return X >= 0 && X < right && Y >= 0 && Y < height_;
}

// ---- properties

void TToolbarButton::SetAllowAllUp(bool Value)
{
    allowAllUp_ = Value;
}

void TToolbarButton::SetGroupIndex(int Value)
{
    if (Value == groupIndex_) return;
    groupIndex_ = Value;
    if (Value == 0 && down_) {
        down_ = false;
        SetState(RestingState());
    }
    ReleaseGroupMates();
}

void TToolbarButton::ReleaseGroupMates()
{
    TWinControl* parent = GetParent();
    if (!parent || groupIndex_ == 0 || !down_) return;
    for (int i = 0; i < parent->GetControlCount(); ++i) {
        auto* other = dynamic_cast<TToolbarButton*>(parent->GetControl(i));
        if (!other || other == this || other->groupIndex_ != groupIndex_) continue;
        other->allowAllUp_ = allowAllUp_;
        if (!other->down_) continue;
        other->down_ = false;
        if (!other->dragging_) other->SetState(other->RestingState());
    }
}

void TToolbarButton::SetDown(bool Value)
{
    if (groupIndex_ == 0) Value = false;
    if (Value == down_) return;
    if (down_ && !allowAllUp_) return;
    down_ = Value;
    // While the mouse holds the button its look follows the mouse.
    if (!dragging_ || !Value) SetState(RestingState());
    if (Value) ReleaseGroupMates();
    Invalidate();
}

// A button painted off screen covers its whole area: no erase under it.
void TToolbarButton::UpdateOpaqueStyle()
{
    if (!flat_ || opaque_) controlStyle_ |= csOpaque;
    else controlStyle_ &= ~csOpaque;
    Invalidate();
}

void TToolbarButton::SetFlat(bool Value)
{
    if (Value == flat_) return;
    flat_ = Value;
    UpdateOpaqueStyle();
}

void TToolbarButton::SetOpaque(bool Value)
{
    if (Value == opaque_) return;
    opaque_ = Value;
    UpdateOpaqueStyle();
}

void TToolbarButton::SetNoBorder(bool Value)
{
    if (Value == noBorder_) return;
    noBorder_ = Value;
    Invalidate();
}

void TToolbarButton::SetDisplayMode(TButtonDisplayMode Value)
{
    if (Value == displayMode_) return;
    displayMode_ = Value;
    Invalidate();
}

void TToolbarButton::SetLayout(TButtonLayout Value)
{
    if (Value == layout_) return;
    layout_ = Value;
    Invalidate();
}

void TToolbarButton::SetAlignment(TAlignment Value)
{
    if (Value == alignment_) return;
    alignment_ = Value;
    Invalidate();
}

void TToolbarButton::SetMargin(int Value)
{
    if (Value < -1 || Value == margin_) return;
    margin_ = Value;
    Invalidate();
}

void TToolbarButton::SetSpacing(int Value)
{
    if (Value == spacing_) return;
    spacing_ = Value;
    Invalidate();
}

void TToolbarButton::SetWordWrap(bool Value)
{
    if (Value == wordWrap_) return;
    wordWrap_ = Value;
    Invalidate();
}

void TToolbarButton::GlyphChanged()
{
    prepared_.reset();
    Invalidate();
}

void TToolbarButton::SetGlyph(TBitmap* Value)
{
    glyph_->Assign(Value);
    if (!glyphMask_->GetEmpty()) {
        numGlyphs_ = 1;
    } else {
        numGlyphs_ = GlyphCountFromSize(glyph_->GetWidth(), glyph_->GetHeight());
    }
    GlyphChanged();
}

void TToolbarButton::SetGlyphMask(TBitmap* Value)
{
    glyphMask_->Assign(Value);
    if (!glyphMask_->GetEmpty()) numGlyphs_ = 1;
    GlyphChanged();
}

void TToolbarButton::SetNumGlyphs(int Value)
{
    Value = ClampNumGlyphs(Value);
    if (Value == numGlyphs_) return;
    numGlyphs_ = Value;
    GlyphChanged();
}

void TToolbarButton::SetImages(TImageList* Value)
{
    images_ = Value;
    Invalidate();
}

void TToolbarButton::SetImageIndex(int Value)
{
    imageIndex_ = Value;
    Invalidate();
}

void TToolbarButton::SetOldDisabledStyle(bool Value)
{
    if (Value == oldDisabledStyle_) return;
    oldDisabledStyle_ = Value;
    GlyphChanged();
}

void TToolbarButton::SetDropdownMenu(TPopupMenu* Value)
{
    if (Value == dropdownMenu_) return;
    if (dropdownMenu_) {
        RemoveFreeNotification(dropdownMenu_);
        DropdownList()->RemoveMenu(dropdownMenu_);
    }
    dropdownMenu_ = Value;
    if (Value) {
        FreeNotification(Value);
        DropdownList()->AddMenu(Value);
    }
    Invalidate();
}

void TToolbarButton::Notification(TComponent* AComponent, TOperation Operation)
{
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == dropdownMenu_) {
        dropdownMenu_ = nullptr;
        Invalidate();
    }
}

void TToolbarButton::SetDropdownAlways(bool Value)
{
    if (Value == dropdownAlways_) return;
    dropdownAlways_ = Value;
    Invalidate();
}

void TToolbarButton::SetDropdownArrow(bool Value)
{
    if (Value == dropdownArrow_) return;
    dropdownArrow_ = Value;
    Invalidate();
}

void TToolbarButton::SetDropdownCombo(bool Value)
{
    if (Value == dropdownCombo_) return;
    dropdownCombo_ = Value;
    if (!(GetComponentState() & csLoading)) {
        int w = Value ? width_ + kComboArrowWidth : width_ - kComboArrowWidth;
        SetWidth(w < 1 ? 1 : w);
    }
    Invalidate();
}

void TToolbarButton::SetText(const AnsiString& Value)
{
    TGraphicControl::SetText(Value);
    Invalidate();
}

void TToolbarButton::SetEnabled(bool Value)
{
    TGraphicControl::SetEnabled(Value);
    if (!Value) {
        dragging_ = false;
        dropPressed_ = false;
        StopRepeat();
        if (IsHot()) THotTracker::Get().SetHot(nullptr);
    }
    state_ = RestingState();
    Invalidate();
}

// ---- hot tracking

void TToolbarButton::StartHot()
{
    THotTracker& tracker = THotTracker::Get();
    if (tracker.Hot() == this) return;
    if (tracker.Hot()) tracker.Hot()->EndHot();
    tracker.SetHot(this);
    if (GetEnabled() && state_ == tbsUp) state_ = tbsMouseIn;
    if (flat_ || numGlyphs_ == 5) Invalidate();
    if (Application && !GetHint().IsEmpty()) Application->SetHint(GetHint());
    if (OnMouseEnter) OnMouseEnter(this);
}

void TToolbarButton::EndHot()
{
    THotTracker& tracker = THotTracker::Get();
    if (tracker.Hot() != this) return;
    tracker.SetHot(nullptr);
    if (!dragging_ && (state_ == tbsMouseIn || state_ == tbsDown)) state_ = RestingState();
    if (flat_ || numGlyphs_ == 5) Invalidate();
    if (OnMouseExit) OnMouseExit(this);
}

void TToolbarButton::MouseEnter()
{
    if (showBorderWhenInactive_ || IsForegroundTask()) StartHot();
}

void TToolbarButton::MouseLeave()
{
    EndHot();
}

// ---- mouse

void TToolbarButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button != mbLeft || !GetEnabled()) {
        TGraphicControl::MouseDown(Button, Shift, X, Y);
        return;
    }
    dropPressed_ = HasDropdown() && (!dropdownCombo_ || X >= width_ - kComboArrowWidth);
    if (state_ == tbsUp || state_ == tbsMouseIn) state_ = tbsDown;
    dragging_ = !dropPressed_;
    heldInside_ = true;
    Repaint();
    TGraphicControl::MouseDown(Button, Shift, X, Y);
    if (dropPressed_) {
        Click();
        EndParentCapture();
    } else if (repeating_) {
        Click();
        repeatTimer_.reset(new TTimer(nullptr));
        repeatTimer_->SetInterval(repeatDelay_);
        repeatTimer_->OnTimer = [this](TObject*) { RepeatTick(); };
    }
}

void TToolbarButton::MouseMove(TShiftState Shift, int X, int Y)
{
    if (!IsHot() && MouseInControl() && (showBorderWhenInactive_ || IsForegroundTask())) StartHot();
    if (dragging_) {
        bool inside = InMainPart(X, Y);
        heldInside_ = inside;
        SetState(down_ ? tbsExclusive : inside ? tbsDown : tbsUp);
        if (inside && repeatTimer_ && !repeatTimer_->GetEnabled()) repeatTimer_->SetEnabled(true);
    }
    TGraphicControl::MouseMove(Shift, X, Y);
}

void TToolbarButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    // The button-up that ends the parent's capture after a menu is ours.
    if (endingCapture_) return;
    if (Button == mbLeft) {
        StopRepeat();
        bool wasDragging = dragging_;
        dragging_ = false;
        if (wasDragging && InMainPart(X, Y) && !repeating_) {
            Click();
        } else {
            SetState(RestingState());
        }
        dropPressed_ = false;
    }
    TGraphicControl::MouseUp(Button, Shift, X, Y);
}

void TToolbarButton::RepeatTick()
{
    if (!repeatTimer_) return;
    repeatTimer_->SetInterval(repeatInterval_);
    if (dragging_ && heldInside_) {
        Click();
    } else {
        repeatTimer_->SetEnabled(false);
    }
}

void TToolbarButton::StopRepeat()
{
    repeatTimer_.reset();
}

// The parent routes the mouse to the button that was pressed until a
// button-up arrives; a menu swallowed that one, so send it one.
void TToolbarButton::EndParentCapture()
{
    TWinControl* parent = GetParent();
    if (!parent || !parent->HandleAllocated()) return;
    endingCapture_ = true;
    try {
        SendMessageA(parent->GetHandle(), WM_LBUTTONUP, 0, MAKELPARAM(left_, top_));
    } catch (...) {
        endingCapture_ = false;
        throw;
    }
    endingCapture_ = false;
    dropPressed_ = false;
    SetState(RestingState());
}

// ---- clicks

void TToolbarButton::Click()
{
    if (groupIndex_ != 0) SetDown(!down_);
    bool menu = HasDropdown() && !(dropdownCombo_ && !dropPressed_);
    if (!menu) {
        if (!dragging_ && state_ == tbsDown) SetState(RestingState());
        TCustomForm* form = GetParentForm(this);
        if (form) form->SetModalResult(modalResult_);
        TGraphicControl::Click();
        return;
    }
    if (!dropdownCombo_) TGraphicControl::Click();
    Dropdown();
    if (state_ == tbsDown) SetState(RestingState());
}

bool TToolbarButton::DialogChar(char Key)
{
    if (displayMode_ == dmGlyphOnly || !GetEnabled() || !GetVisible()) return false;
    TWinControl* parent = GetParent();
    if (!parent || !parent->HandleAllocated() || !IsWindowVisible(parent->GetHandle())) return false;
    if (!IsAccel(Key, GetText())) return false;
    Click();
    return true;
}

void TToolbarButton::WndProc(TMessage& Message)
{
    if (Message.Msg == CM_DIALOGCHAR) {
        Message.Result = DialogChar(MessageChar(Message));
        return;
    }
    if (Message.Msg == CM_DIALOGKEY && GetEnabled() && GetVisible() && !(GetKeyState(VK_SHIFT) < 0) &&
        !(GetKeyState(VK_CONTROL) < 0) && !(GetKeyState(VK_MENU) < 0)) {
        if ((Message.WParam == VK_RETURN && default_) || (Message.WParam == VK_ESCAPE && cancel_)) {
            Click();
            Message.Result = 1;
            return;
        }
    }
    TGraphicControl::WndProc(Message);
}
