#include "tool_window.h"

#include <windowsx.h>

#include <algorithm>

#include "application.h"
#include "exceptions.h"
#include "screen.h"
#include "thread_hooks.h"
#include "tool_window_model.h"
#include "drag_loop.h"
#include "workarea.h"

namespace {

std::vector<TCustomToolWindow*>& LiveWindows()
{
    static std::vector<TCustomToolWindow*> list;
    return list;
}

int HandleSize(TDragHandleStyle style)
{
    switch (style) {
    case dhDouble: return 9;
    case dhSingle: return 6;
    default: return 0;
    }
}

void ToolWindowHook(THookProcKind Code, HWND Wnd, WPARAM, LPARAM);

const THookProcKinds toolWindowKinds =
    HookKind(hpSendActivateApp) | HookKind(hpSendWindowPosChanged) | HookKind(hpPreDestroy);

}  // namespace

const std::vector<TCustomToolWindow*>& ToolWindows()
{
    return LiveWindows();
}

// ---------------------------------------------------------------------------
// TFloatingWindowParent

TFloatingWindowParent::TFloatingWindowParent(TCustomForm* ParentForm, TCustomToolWindow* Window)
    : TCustomForm(nullptr), parentForm_(ParentForm), window_(Window)
{
    SetBorderStyle(bsNone);
}

void TFloatingWindowParent::SetParentForm(TCustomForm* Value)
{
    if (Value == parentForm_) return;
    parentForm_ = Value;
    if (HandleAllocated())
        SetWindowLongPtrA(GetHandle(), GWLP_HWNDPARENT,
                          reinterpret_cast<LONG_PTR>(parentForm_ && parentForm_->HandleAllocated() ? parentForm_->GetHandle() : nullptr));
}

void TFloatingWindowParent::CreateParams(TCreateParams& Params)
{
    TCustomForm::CreateParams(Params);
    Params.WinClassName = "KestrelFloatingWindow";
    Params.ExStyle |= WS_EX_TOOLWINDOW;
    // Owned by the parent form: above it, and minimised with it.
    if (parentForm_) Params.WndParent = parentForm_->GetHandle();
}

void TFloatingWindowParent::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_MOUSEACTIVATE: Message.Result = MA_NOACTIVATE; return;
    case WM_KEYDOWN:
        if (Message.WParam == VK_ESCAPE && GetKeyState(VK_SHIFT) >= 0 && GetKeyState(VK_CONTROL) >= 0 &&
            GetKeyState(VK_MENU) >= 0 && window_) {
            window_->Perform(WM_KEYDOWN, Message.WParam, Message.LParam);
            return;
        }
        break;
    case WM_WINDOWPOSCHANGED: {
        TCustomForm::WndProc(Message);
        if (window_ && window_->GetParent() == this && !window_->GetDockedTo()) {
            POINT now{GetLeft(), GetTop()};
            POINT& kept = window_->floatingPos_;
            if (now.x != kept.x || now.y != kept.y) {
                kept = now;
                if (window_->OnMove) window_->OnMove(window_);
            }
        }
        return;
    }
    default: break;
    }
    TCustomForm::WndProc(Message);
}

// ---------------------------------------------------------------------------
// TCustomToolWindow: life, properties

TCustomToolWindow::TCustomToolWindow(TComponent* AOwner) : TCustomControl(AOwner)
{
    // The drag loop takes the mouse itself.
    SetControlStyle((GetControlStyle() | csAcceptsControls) & ~csCaptureMouse);
    SetColor(clBtnFace);
    SetBounds(0, 0, 100, 30);
    LiveWindows().push_back(this);
    InstallHookProc(ToolWindowHook, toolWindowKinds, false);
}

TCustomToolWindow::~TCustomToolWindow()
{
    BeforeDestruction();
    auto& list = LiveWindows();
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    UninstallHookProc(ToolWindowHook);
    if (dockedTo_) dockedTo_->InsertRemoveBar(false, this, false);
    // The holder would delete us as its child: leave it first.
    if (GetParent()) TCustomControl::SetParent(nullptr);
    delete floatParent_;
    floatParent_ = nullptr;
}

void TCustomToolWindow::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomControl::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == defaultDock_) defaultDock_ = nullptr;
    if (AComponent == parentForm_) parentForm_ = nullptr;
    dockForms_.erase(std::remove(dockForms_.begin(), dockForms_.end(), AComponent), dockForms_.end());
    if (floatParent_ && AComponent == floatParent_->GetParentForm()) floatParent_->SetParentForm(nullptr);
}

void TCustomToolWindow::SetDockRow(int Value)
{
    if (Value == dockRow_) return;
    dockRow_ = Value;
    if (dockedTo_) dockedTo_->ArrangeToolbars();
}

void TCustomToolWindow::SetDockPos(int Value)
{
    if (Value == dockPos_) return;
    dockPos_ = Value;
    if (dockedTo_) dockedTo_->ArrangeToolbars();
}

void TCustomToolWindow::SetDefaultDock(TDock* Value)
{
    if (Value == defaultDock_) return;
    if (defaultDock_) RemoveFreeNotification(defaultDock_);
    defaultDock_ = Value;
    if (Value) FreeNotification(Value);
}

void TCustomToolWindow::SetFloatingMode(TToolWindowFloatingMode Value)
{
    if (Value == floatingMode_) return;
    floatingMode_ = Value;
    ApplyTopmost();
    UpdateVisibility();
}

void TCustomToolWindow::SetHideWhenInactive(bool Value)
{
    if (Value == hideWhenInactive_) return;
    hideWhenInactive_ = Value;
    UpdateVisibility();
}

void TCustomToolWindow::SetCloseButton(bool Value)
{
    if (Value == closeButton_) return;
    closeButton_ = Value;
    if (HandleAllocated()) RedrawWindow(GetHandle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

void TCustomToolWindow::SetFullSize(bool Value)
{
    if (Value == fullSize_) return;
    fullSize_ = Value;
    FrameChanged();
}

void TCustomToolWindow::SetBorderStyle(TBorderStyle Value)
{
    if (Value == borderStyle_) return;
    borderStyle_ = Value;
    FrameChanged();
}

void TCustomToolWindow::SetDragHandleStyle(TDragHandleStyle Value)
{
    if (Value == dragHandleStyle_) return;
    dragHandleStyle_ = Value;
    FrameChanged();
}

void TCustomToolWindow::SetResizable(bool Value)
{
    if (Value == resizable_) return;
    resizable_ = Value;
    FrameChanged();
}

void TCustomToolWindow::SetFloatingPosition(POINT Value)
{
    floatingPos_ = Value;
    if (!dockedTo_ && floatParent_ && GetParent() == floatParent_) PlaceHolder();
}

TCustomForm* TCustomToolWindow::GetParentForm() const
{
    if (dockedTo_) {
        TCustomForm* form = ::GetParentForm(dockedTo_);
        if (form) return form;
    }
    if (parentForm_) return parentForm_;
    TCustomForm* direct = dynamic_cast<TCustomForm*>(GetParent());
    if (direct && direct != floatParent_) return direct;
    // Not placed yet: the form that owns it.
    return dynamic_cast<TCustomForm*>(GetOwner());
}

void TCustomToolWindow::EndUpdate()
{
    if (updateCount_ > 0 && --updateCount_ == 0 && layoutPending_) {
        layoutPending_ = false;
        ArrangeControls();
    }
}

void TCustomToolWindow::AddDockForm(TCustomForm* Form)
{
    if (!Form || std::find(dockForms_.begin(), dockForms_.end(), Form) != dockForms_.end()) return;
    dockForms_.push_back(Form);
    FreeNotification(Form);
}

void TCustomToolWindow::RemoveDockForm(TCustomForm* Form)
{
    auto it = std::find(dockForms_.begin(), dockForms_.end(), Form);
    if (it == dockForms_.end()) return;
    dockForms_.erase(it);
    if (Form != parentForm_) RemoveFreeNotification(Form);
}

void TCustomToolWindow::MoveOnScreen(bool OnlyIfFullyOffscreen)
{
    if (dockedTo_) return;
    RECT r = {floatingPos_.x, floatingPos_.y, floatingPos_.x + GetWidth(), floatingPos_.y + GetHeight()};
    TRect moved = MoveRectOnScreen(ToTRect(r), ToTRect(WorkAreaNear(r)), OnlyIfFullyOffscreen);
    if (moved.Left == floatingPos_.x && moved.Top == floatingPos_.y) return;
    SetFloatingPosition(POINT{moved.Left, moved.Top});
    if (OnMove) OnMove(this);
}

// ---------------------------------------------------------------------------
// Parent changes: docking, floating, moving between docks

TFloatingWindowParent* TCustomToolWindow::HolderFor(TCustomForm* form)
{
    if (!floatParent_) {
        floatParent_ = new TFloatingWindowParent(form, this);
        floatParent_->SetBounds(floatingPos_.x, floatingPos_.y, GetWidth(), GetHeight());
    } else {
        floatParent_->SetParentForm(form);
    }
    if (form != parentForm_) {
        parentForm_ = form;
        if (form) FreeNotification(form);
    }
    return floatParent_;
}

void TCustomToolWindow::SetParent(TWinControl* AParent)
{
    if (AParent == GetParent()) return;
    if (IsDestroying() || reparenting_) {
        TCustomControl::SetParent(AParent);
        return;
    }
    TDock* dock = dynamic_cast<TDock*>(AParent);
    TCustomForm* form = dynamic_cast<TCustomForm*>(AParent);
    if (AParent && !dock && !form)
        throw EInvalidOperation("A tool window can only be placed on a TDock or directly on the form");
    if (!AParent) {
        LeaveParent();
        return;
    }
    if (form && form == floatParent_) form = floatParent_->GetParentForm();
    if (dock) {
        TCustomForm* dockForm = ::GetParentForm(dock);
        if (dockForm && dockForm != parentForm_) {
            parentForm_ = dockForm;
            FreeNotification(dockForm);
        }
        ReparentInto(dock, dock);
        return;
    }
    ReparentInto(HolderFor(form), nullptr);
}

// Taken off everything (the owner keeps it).
void TCustomToolWindow::LeaveParent()
{
    if (dockedTo_) dockedTo_->InsertRemoveBar(false, this, false);
    dockedTo_ = nullptr;
    if (floatParent_ && floatParent_->GetVisible()) floatParent_->Hide();
    reparenting_ = true;
    try {
        TCustomControl::SetParent(nullptr);
    } catch (...) {
        reparenting_ = false;
        throw;
    }
    reparenting_ = false;
}

void TCustomToolWindow::SetDockedTo(TDock* Value)
{
    if (Value) {
        SetParent(Value);
        return;
    }
    if (!dockedTo_ && floatParent_ && GetParent() == floatParent_) return;
    TCustomForm* form = GetParentForm();
    if (!form) {
        AnsiString name = GetName();
        throw EInvalidOperation(name.IsEmpty() ? AnsiString("Control has no parent window")
                                               : "Control '" + name + "' has no parent window");
    }
    SetParent(form);
}

// Both docks are held while the window moves, so each arranges once.
void TCustomToolWindow::ReparentInto(TWinControl* target, TDock* newDock)
{
    TDock* oldDock = dockedTo_;
    if (OnDockChanging) OnDockChanging(this);
    if (OnDockChangingEx) OnDockChangingEx(this, newDock);
    if (OnRecreating) OnRecreating(this);
    if (oldDock) oldDock->BeginUpdate();
    if (newDock && newDock != oldDock) newDock->BeginUpdate();
    try {
        if (!newDock && floatParent_ && target != floatParent_ && floatParent_->GetVisible()) floatParent_->Hide();
        if (newDock && floatParent_ && floatParent_->GetVisible()) floatParent_->Hide();
        if (OnDockChangingHidden) OnDockChangingHidden(this, newDock);
        if (oldDock) oldDock->InsertRemoveBar(false, this, false);
        TWinControl* oldParent = GetParent();
        dockedTo_ = newDock;
        // Measured before the frame changes, for the new place.
        SIZE client = {0, 0};
        OrderControls(false, newDock, client);
        reparenting_ = true;
        try {
            TCustomControl::SetParent(target);
        } catch (...) {
            reparenting_ = false;
            dockedTo_ = dynamic_cast<TDock*>(oldParent);
            throw;
        }
        reparenting_ = false;
        RECT f = newDock ? DockedFrame(newDock) : FloatingFrame();
        arranging_ = true;
        TCustomControl::SetBounds(newDock ? GetLeft() : 0, newDock ? GetTop() : 0, client.cx + f.left + f.right,
                                  client.cy + f.top + f.bottom);
        arranging_ = false;
        if (HandleAllocated())
            SetWindowPos(GetHandle(), nullptr, 0, 0, 0, 0,
                         SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        ArrangeControls();
        if (newDock) newDock->InsertRemoveBar(true, this, GetVisible());
        if (!newDock) {
            PlaceHolder();
            UpdateVisibility();
        }
    } catch (...) {
        arranging_ = false;
        if (newDock && newDock != oldDock) newDock->EndUpdate();
        if (oldDock) oldDock->EndUpdate();
        throw;
    }
    if (newDock && newDock != oldDock) newDock->EndUpdate();
    if (oldDock) oldDock->EndUpdate();
    if (OnRecreated) OnRecreated(this);
    if (OnDockChanged) OnDockChanged(this);
}

void TCustomToolWindow::PlaceHolder()
{
    if (!floatParent_) return;
    floatParent_->SetBounds(floatingPos_.x, floatingPos_.y, GetWidth(), GetHeight());
}

// ---------------------------------------------------------------------------
// Size and layout

int TCustomToolWindow::GetBarThickness(bool Vertical)
{
    RECT r = GetClientRect();
    return Vertical ? r.right : r.bottom;
}

void TCustomToolWindow::OrderControls(bool CanMoveControls, TDock* DockingTo, SIZE& NewClientSize)
{
    (void)CanMoveControls;
    (void)DockingTo;
    RECT r = GetClientRect();
    NewClientSize = SIZE{r.right, r.bottom};
}

void TCustomToolWindow::ArrangeControls()
{
    if (updateCount_ > 0) {
        layoutPending_ = true;
        return;
    }
    if (arranging_) return;
    arranging_ = true;
    try {
        SIZE client = {0, 0};
        OrderControls(true, dockedTo_, client);
        RECT f = dockedTo_ ? DockedFrame(dockedTo_) : FloatingFrame();
        int w = client.cx + f.left + f.right;
        int h = client.cy + f.top + f.bottom;
        bool sized = w != GetWidth() || h != GetHeight();
        TCustomControl::SetBounds(dockedTo_ ? GetLeft() : 0, dockedTo_ ? GetTop() : 0, w, h);
        arranging_ = false;
        if (dockedTo_ && sized) dockedTo_->ArrangeToolbars();
        if (!dockedTo_ && floatParent_ && GetParent() == floatParent_) PlaceHolder();
    } catch (...) {
        arranging_ = false;
        throw;
    }
}

void TCustomToolWindow::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    bool sized = AWidth != GetWidth() || AHeight != GetHeight();
    TCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (dockMoving_ || arranging_ || !sized) return;
    if (dockedTo_) dockedTo_->ArrangeToolbars();
    if (!dockedTo_ && floatParent_ && GetParent() == floatParent_) PlaceHolder();
}

void TCustomToolWindow::PlaceInDock(const RECT& Bounds)
{
    dockMoving_ = true;
    try {
        TCustomControl::SetBounds(Bounds.left, Bounds.top, Bounds.right - Bounds.left, Bounds.bottom - Bounds.top);
    } catch (...) {
        dockMoving_ = false;
        throw;
    }
    dockMoving_ = false;
}

void TCustomToolWindow::Loaded()
{
    TCustomControl::Loaded();
    ArrangeControls();
}

void TCustomToolWindow::Resize()
{
    if (dockMoving_ || updateCount_ > 0 || (GetComponentState() & csLoading)) return;
    TCustomControl::Resize();
}

RECT TCustomToolWindow::DockedFrame(TDock* Dock) const
{
    RECT r = {2, 2, 2, 2};
    if (Dock && Dock->GetAllowDrag()) {
        int handle = HandleSize(dragHandleStyle_);
        if (Dock->IsVertical())
            r.top += handle;
        else
            r.left += handle;
    }
    return r;
}

RECT TCustomToolWindow::FloatingFrame() const
{
    int fx = GetSystemMetrics(resizable_ ? SM_CXFRAME : SM_CXDLGFRAME);
    int fy = GetSystemMetrics(resizable_ ? SM_CYFRAME : SM_CYDLGFRAME);
    int caption = GetSystemMetrics(SM_CYSMCAPTION);
    if (caption <= 0) caption = GetSystemMetrics(SM_CYCAPTION) - 1;
    return RECT{fx, fy + caption, fx, fy};
}

void TCustomToolWindow::FrameChanged()
{
    if (HandleAllocated())
        SetWindowPos(GetHandle(), nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ArrangeControls();
}

// ---------------------------------------------------------------------------
// Visibility and activation

void TCustomToolWindow::SetVisible(bool Value)
{
    if (Value == GetVisible()) return;
    TCustomControl::SetVisible(Value);
    if (dockedTo_) dockedTo_->InsertRemoveBar(Value, this, Value);
    UpdateVisibility();
    if (OnVisibleChanged) OnVisibleChanged(this);
}

bool TCustomToolWindow::HiddenByRule() const
{
    TCustomForm* form = GetParentForm();
    if (floatingMode_ == fmOnTopOfParentForm) {
        auto down = [](TCustomForm* f) {
            return f && (!f->HandleAllocated() || IsIconic(f->GetHandle()) || !IsWindowVisible(f->GetHandle()));
        };
        if (!form || down(form)) return true;
        TCustomForm* mainForm = Application ? Application->GetMainForm() : nullptr;
        if (mainForm && mainForm != form && down(mainForm)) return true;
    }
    if (hideWhenInactive_ && !ApplicationIsActive()) return true;
    return false;
}

void TCustomToolWindow::UpdateVisibility()
{
    if (dockedTo_ || !floatParent_ || GetParent() != floatParent_ || IsDestroying()) return;
    // The caption follows the application's activation.
    bool inactive = !ApplicationIsActive();
    if (inactive != inactiveCaption_) {
        inactiveCaption_ = inactive;
        PostFrameRedraw();
    }
    bool show = GetVisible() && !HiddenByRule();
    if (show) {
        if (!floatParent_->GetVisible()) floatParent_->ShowNoActivate();
        ApplyTopmost();
    } else if (floatParent_->GetVisible()) {
        floatParent_->Hide();
    }
}

void TCustomToolWindow::ApplyTopmost()
{
    if (!floatParent_ || !floatParent_->HandleAllocated() || dockedTo_) return;
    HWND after = floatingMode_ == fmOnTopOfAllForms && GetEnabled() ? HWND_TOPMOST : HWND_NOTOPMOST;
    SetWindowPos(floatParent_->GetHandle(), after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

namespace {

void ToolWindowHook(THookProcKind Code, HWND Wnd, WPARAM, LPARAM)
{
    std::vector<TCustomToolWindow*> windows = ToolWindows();
    for (TCustomToolWindow* w : windows) {
        if (std::find(ToolWindows().begin(), ToolWindows().end(), w) == ToolWindows().end()) continue;
        TFloatingWindowParent* holder = w->GetFloatParent();
        // A holder never shown yet has no window: nothing to hand over, but
        // the rules may now show it (a form shown, the application active).
        if (!holder || (Code == hpPreDestroy && !holder->HandleAllocated())) continue;
        if (Code == hpPreDestroy) {
            // Owned windows die with their owner: hand the holder over.
            HWND owner = GetWindow(holder->GetHandle(), GW_OWNER);
            if (owner != Wnd || Wnd == holder->GetHandle()) continue;
            TCustomForm* form = w->GetParentForm();
            HWND next = form && form->HandleAllocated() && form->GetHandle() != Wnd ? form->GetHandle() : nullptr;
            SetWindowLongPtrA(holder->GetHandle(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(next));
            continue;
        }
        if (Code == hpSendWindowPosChanged) {
            TCustomForm* form = w->GetParentForm();
            TCustomForm* mainForm = Application ? Application->GetMainForm() : nullptr;
            bool relevant = (form && form->HandleAllocated() && form->GetHandle() == Wnd) ||
                            (mainForm && mainForm->HandleAllocated() && mainForm->GetHandle() == Wnd);
            if (!relevant) continue;
        }
        w->UpdateVisibility();
    }
}

}  // namespace

// ---------------------------------------------------------------------------
// Window messages: frame, hit test, painting, mouse

void TCustomToolWindow::CreateParams(TCreateParams& Params)
{
    TCustomControl::CreateParams(Params);
    Params.Style |= WS_CLIPCHILDREN;
    Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
    Params.WinClassName = "KestrelToolWindow";
}

void TCustomToolWindow::NcCalcSize(TMessage& Message)
{
    RECT* r = reinterpret_cast<RECT*>(Message.LParam);
    RECT f = dockedTo_ ? DockedFrame(dockedTo_) : FloatingFrame();
    r->left += f.left;
    r->top += f.top;
    r->right -= f.right;
    r->bottom -= f.bottom;
    if (r->right < r->left) r->right = r->left;
    if (r->bottom < r->top) r->bottom = r->top;
    Message.Result = 0;
}

RECT TCustomToolWindow::CloseButtonRect() const
{
    RECT f = FloatingFrame();
    int fx = f.left;
    int fy = f.bottom;
    int caption = f.top - fy;
    int right = GetWidth() - fx;
    return RECT{right - caption + 1, fy, right, fy + caption - 1};
}

LRESULT TCustomToolWindow::HitTest(POINT screen)
{
    RECT wr;
    GetWindowRect(GetHandle(), &wr);
    POINT p{screen.x - wr.left, screen.y - wr.top};
    if (dockedTo_) return HTCLIENT;
    int w = wr.right - wr.left;
    int h = wr.bottom - wr.top;
    RECT f = FloatingFrame();
    int fx = f.left;
    int fy = f.bottom;
    RECT close = CloseButtonRect();
    if (closeButton_ && PtInRect(&close, p)) return HTCLOSE;
    bool inside = p.x >= fx && p.x < w - fx && p.y >= fy && p.y < h - fy;
    if (inside || !resizable_) return HTCLIENT;
    int corner = fx + GetSystemMetrics(SM_CYSMCAPTION);
    bool left = p.x < fx, right = p.x >= w - fx, top = p.y < fy, bottom = p.y >= h - fy;
    bool nearLeft = p.x < corner, nearRight = p.x >= w - corner;
    bool nearTop = p.y < corner, nearBottom = p.y >= h - corner;
    if ((top && nearLeft) || (left && nearTop)) return HTTOPLEFT;
    if ((top && nearRight) || (right && nearTop)) return HTTOPRIGHT;
    if ((bottom && nearLeft) || (left && nearBottom)) return HTBOTTOMLEFT;
    if ((bottom && nearRight) || (right && nearBottom)) return HTBOTTOMRIGHT;
    if (left) return HTLEFT;
    if (right) return HTRIGHT;
    if (top) return HTTOP;
    return HTBOTTOM;
}

bool TCustomToolWindow::DrawDockBackground(HDC DC, const RECT& Area)
{
    if (!dockedTo_ || !dockedTo_->GetBackgroundOnToolbars()) return false;
    // Our window origin inside the dock's client area: the tiles run on.
    RECT wr;
    GetWindowRect(GetHandle(), &wr);
    POINT origin{wr.left, wr.top};
    ::ScreenToClient(dockedTo_->GetHandle(), &origin);
    return dockedTo_->DrawBackground(DC, Area, nullptr, POINT{-origin.x, -origin.y});
}

void TCustomToolWindow::DrawDockedFrame(HDC dc, const RECT& wr)
{
    RECT all = {0, 0, wr.right - wr.left, wr.bottom - wr.top};
    if (!DrawDockBackground(dc, all)) FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
    if (borderStyle_ == bsSingle) {
        RECT r = all;
        DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
    } else {
        HBRUSH b = CreateSolidBrush(ColorToRGB(GetColor()));
        FrameRect(dc, &all, b);
        DeleteObject(b);
    }
    if (!dockedTo_->GetAllowDrag() || dragHandleStyle_ == dhNone) return;
    int bars = dragHandleStyle_ == dhDouble ? 2 : 1;
    bool vertical = dockedTo_->IsVertical();
    for (int i = 0; i < bars; ++i) {
        int start = 4 + 3 * i;
        RECT bar = vertical ? RECT{2, start, all.right - 2, start + 3} : RECT{start, 2, start + 3, all.bottom - 2};
        DrawEdge(dc, &bar, BDR_RAISEDINNER, BF_RECT);
    }
}

namespace {

using TDrawCaptionFn = BOOL(WINAPI*)(HWND, HDC, const RECT*, UINT);

TDrawCaptionFn LookUpDrawCaption()
{
    HMODULE user = GetModuleHandleA("user32.dll");
    return user ? reinterpret_cast<TDrawCaptionFn>(reinterpret_cast<void*>(GetProcAddress(user, "DrawCaption")))
                : nullptr;
}

}  // namespace

// Test seam: cleared, the fallback drawing is used.
bool& ToolWindowUseSystemCaption()
{
    static bool use = true;
    return use;
}

void TCustomToolWindow::DrawCaptionBar(HDC dc, const RECT& caption)
{
    static TDrawCaptionFn drawCaption = LookUpDrawCaption();
    bool active = !inactiveCaption_;
    if (drawCaption && ToolWindowUseSystemCaption()) {
        BOOL gradient = FALSE;
        SystemParametersInfoA(SPI_GETGRADIENTCAPTIONS, 0, &gradient, 0);
        UINT flags = DC_SMALLCAP | DC_TEXT | (gradient ? DC_GRADIENT : 0) | (active ? DC_ACTIVE : 0);
        drawCaption(GetHandle(), dc, &caption, flags);
        return;
    }
    RECT r = caption;
    FillRect(dc, &r, GetSysColorBrush(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
    r.left += 1;
    r.right -= 1;
    HFONT font = CreateFontA(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "MS Sans Serif");
    HGDIOBJ old = SelectObject(dc, font);
    std::string text = ShortenCaption(GetText().c_str(), r.right - r.left, [dc](const std::string& s) {
        SIZE size = {0, 0};
        GetTextExtentPoint32A(dc, s.c_str(), static_cast<int>(s.size()), &size);
        return static_cast<int>(size.cx);
    });
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    SelectObject(dc, old);
    DeleteObject(font);
}

void TCustomToolWindow::DrawFloatingFrame(HDC dc, const RECT& wr)
{
    RECT all = {0, 0, wr.right - wr.left, wr.bottom - wr.top};
    FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
    RECT edge = all;
    DrawEdge(dc, &edge, EDGE_RAISED, BF_RECT);
    RECT f = FloatingFrame();
    int fx = f.left;
    int fy = f.bottom;
    RECT caption = {fx, fy, all.right - fx, f.top - 1};
    RECT close = CloseButtonRect();
    if (closeButton_) caption.right = close.left;
    DrawCaptionBar(dc, caption);
    if (!closeButton_) return;
    HBRUSH frame = GetSysColorBrush(inactiveCaption_ ? COLOR_INACTIVECAPTION : COLOR_ACTIVECAPTION);
    FrameRect(dc, &close, frame);
    RECT button = close;
    InflateRect(&button, -1, -1);
    DrawFrameControl(dc, &button, DFC_CAPTION, DFCS_CAPTIONCLOSE | (closePressed_ ? DFCS_PUSHED : 0));
}

void TCustomToolWindow::NcPaint()
{
    HWND wnd = GetHandle();
    HDC dc = GetWindowDC(wnd);
    RECT wr;
    GetWindowRect(wnd, &wr);
    // Leave the client area alone.
    RECT client;
    ::GetClientRect(wnd, &client);
    MapWindowPoints(wnd, nullptr, reinterpret_cast<POINT*>(&client), 2);
    OffsetRect(&client, -wr.left, -wr.top);
    ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
    if (dockedTo_)
        DrawDockedFrame(dc, wr);
    else
        DrawFloatingFrame(dc, wr);
    ReleaseDC(wnd, dc);
}

void TCustomToolWindow::PostFrameRedraw()
{
    if (!HandleAllocated()) return;
    MSG msg;
    while (PeekMessageA(&msg, GetHandle(), TBM_REDRAWFRAME, TBM_REDRAWFRAME, PM_REMOVE)) {
    }
    PostMessageA(GetHandle(), TBM_REDRAWFRAME, 0, 0);
}

void TCustomToolWindow::Paint()
{
    RECT r = GetClientRect();
    HDC dc = GetCanvas()->GetHandle();
    if (dockedTo_ && dockedTo_->GetBackgroundOnToolbars() && !dockedTo_->GetBackground()->GetEmpty()) {
        POINT origin{0, 0};
        ::ClientToScreen(GetHandle(), &origin);
        ::ScreenToClient(dockedTo_->GetHandle(), &origin);
        dockedTo_->DrawBackground(dc, r, nullptr, POINT{-origin.x, -origin.y});
        return;
    }
    GetCanvas()->GetBrush()->SetColor(GetColor());
    GetCanvas()->FillRect(r);
}

void TCustomToolWindow::MouseButtonPress(TMessage& Message, bool dbl)
{
    POINT p = MessagePoint(Message);
    if (dockedTo_ && !dockedTo_->GetAllowDrag()) {
        TCustomControl::WndProc(Message);
        return;
    }
    // A press on a child, even a disabled one, is the child's.
    for (int i = 0; i < GetControlCount(); ++i) {
        TControl* c = GetControl(i);
        RECT r = c->GetBoundsRect();
        if (c->GetVisible() && PtInRect(&r, p)) {
            TCustomControl::WndProc(Message);
            return;
        }
    }
    if (dbl) {
        if (dockedTo_) {
            SetDockedTo(nullptr);
        } else if (defaultDock_) {
            dockRow_ = 0;
            dockPos_ = -8;  // the arrangement puts it first in row 0
            SetDockedTo(defaultDock_);
        }
        return;
    }
    // Window coordinates of the grab point.
    RECT wr;
    GetWindowRect(GetHandle(), &wr);
    POINT s = p;
    ::ClientToScreen(GetHandle(), &s);
    BeginMoving(POINT{s.x - wr.left, s.y - wr.top});
}

void TCustomToolWindow::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_NCCALCSIZE: NcCalcSize(Message); return;
    case WM_NCPAINT: NcPaint(); return;
    case WM_NCACTIVATE: Message.Result = TRUE; return;
    case TBM_REDRAWFRAME:
        if (HandleAllocated()) RedrawWindow(GetHandle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
        return;
    case WM_NCHITTEST:
        Message.Result = HitTest(MessagePoint(Message));
        return;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
        if (Message.WParam == HTCLOSE) {
            if (closeButton_) CloseButtonLoop();
            return;
        }
        if (Message.WParam >= HTLEFT && Message.WParam <= HTBOTTOMRIGHT && !dockedTo_) {
            BeginSizing(static_cast<int>(Message.WParam), MessagePoint(Message));
            return;
        }
        break;
    case WM_MOUSEACTIVATE:
        Message.Result = MA_NOACTIVATE;
        if (!dockedTo_ && floatParent_ && floatParent_->HandleAllocated()) {
            SetWindowPos(floatParent_->GetHandle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            TCustomForm* form = GetParentForm();
            if (floatingMode_ == fmOnTopOfParentForm && activateParent_ && form && form->HandleAllocated())
                SetActiveWindow(form->GetHandle());
        }
        return;
    case WM_LBUTTONDOWN: MouseButtonPress(Message, false); return;
    case WM_LBUTTONDBLCLK: MouseButtonPress(Message, true); return;
    case WM_ERASEBKGND: Message.Result = 1; return;
    case WM_WINDOWPOSCHANGED:
        TCustomControl::WndProc(Message);
        // A docked window whose row grew centres its controls again.
        if (dockMoving_ && !arranging_) {
            SIZE ignored;
            OrderControls(true, dockedTo_, ignored);
        }
        return;
    default: break;
    }
    TCustomControl::WndProc(Message);
}

// ---------------------------------------------------------------------------
// The close button

void TCustomToolWindow::CloseButtonLoop()
{
    HWND wnd = GetHandle();
    closePressed_ = true;
    RedrawWindow(wnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    SetCapture(wnd);
    bool accepted = false;
    MSG msg;
    while (GetCapture() == wnd) {
        if (!GetMessageA(&msg, nullptr, 0, 0)) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (msg.message == WM_MOUSEMOVE || msg.message == WM_LBUTTONUP) {
            POINT s = drag_loop::ScreenPointOf(wnd, msg);
            RECT wr;
            GetWindowRect(wnd, &wr);
            RECT close = CloseButtonRect();
            POINT p{s.x - wr.left, s.y - wr.top};
            bool over = PtInRect(&close, p) != FALSE;
            if (msg.message == WM_LBUTTONUP) {
                accepted = over;
                break;
            }
            if (over != closePressed_) {
                closePressed_ = over;
                RedrawWindow(wnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
            }
            continue;
        }
        // Keys and other buttons mean nothing meanwhile.
        if (drag_loop::IsMouseButtonMessage(msg.message) || (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    if (GetCapture() == wnd) ReleaseCapture();
    closePressed_ = false;
    RedrawWindow(wnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
    if (!accepted) return;
    SetVisible(false);
    if (OnClose) OnClose(this);
}
