// TCustomForm: a top-level window with modal and modeless life, closing
// rules, activation and dialog keys.
#include "forms.h"

#include <vector>

#include "application.h"
#include "handleexception.h"
#include "menus.h"
#include "screen.h"

namespace {

struct DisabledWindows {
    HWND keep;
    std::vector<HWND> list;
};

BOOL CALLBACK DisableWindowProc(HWND hwnd, LPARAM data)
{
    try {
        auto* windows = reinterpret_cast<DisabledWindows*>(data);
        if (hwnd != windows->keep && IsWindowVisible(hwnd) && IsWindowEnabled(hwnd)) {
            windows->list.push_back(hwnd);
            EnableWindow(hwnd, FALSE);
        }
        return TRUE;
    } catch (...) {
        HandleCallbackException();
        return FALSE;
    }
}

// The other windows of this thread are disabled while a modal form runs.
struct ModalDisabler {
    DisabledWindows windows;
    explicit ModalDisabler(HWND keep)
    {
        windows.keep = keep;
        EnumThreadWindows(GetCurrentThreadId(), DisableWindowProc, reinterpret_cast<LPARAM>(&windows));
    }
    ~ModalDisabler()
    {
        for (HWND hwnd : windows.list)
            if (IsWindow(hwnd)) EnableWindow(hwnd, TRUE);
    }
    ModalDisabler(const ModalDisabler&) = delete;
    ModalDisabler& operator=(const ModalDisabler&) = delete;
};

}  // namespace

TCustomForm* GetParentForm(TControl* Control)
{
    if (!Control) return nullptr;
    TControl* top = Control;
    while (top->GetParent()) top = top->GetParent();
    return dynamic_cast<TCustomForm*>(top);
}

bool TCustomForm::loadNext_ = false;

TCustomForm::TCustomForm(TComponent* AOwner) : TWinControl(AOwner), canvas_(new TCanvas)
{
    if (loadNext_) {
        loadNext_ = false;
        BeginLoading();
    }
    visible_ = false;
    width_ = 320;
    height_ = 240;
    controlStyle_ = csAcceptsControls | csCaptureMouse | csClickEvents | csDoubleClicks | csSetCaption;
    SetColor(clBtnFace);
    if (Screen) Screen->AddForm(this);
}

TCustomForm::~TCustomForm()
{
    BeforeDestruction();
    // A window destroys the menu it shows; the menu may outlive the form.
    if (menu_) menu_->SetWindowHandle(nullptr);
    if (Screen) Screen->RemoveForm(this);
}

void TCustomForm::AfterConstruction()
{
    if (GetComponentState() & csLoading) EndLoading();
    if (created_) return;
    created_ = true;
    if (OnCreate) OnCreate(this);
}

// Runs in destructors: a failing OnDestroy is reported, not thrown.
void TCustomForm::BeforeDestruction()
{
    if (!destroyFired_) {
        destroyFired_ = true;
        if (OnDestroy && created_) {
            try {
                OnDestroy(this);
            } catch (...) {
                HandleCallbackException();
            }
        }
    }
    TWinControl::BeforeDestruction();
}

void TCustomForm::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    Params.WinClassName = "KestrelForm";
    Params.WindowClass.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    // Shown by SetVisible once placed; never a tab stop.
    Params.Style &= ~(WS_VISIBLE | WS_TABSTOP);
    if (GetParent()) return;
    Params.Style &= ~WS_CHILD;
    Params.Style |= WS_CLIPCHILDREN;
    switch (borderStyle_) {
    case bsNone: Params.Style |= WS_POPUP; break;
    case bsSingle:
    case bsToolWindow: Params.Style |= WS_CAPTION; break;
    case bsSizeable:
    case bsSizeToolWin: Params.Style |= WS_CAPTION | WS_THICKFRAME; break;
    case bsDialog:
        Params.Style |= WS_POPUP | WS_CAPTION;
        Params.ExStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
        break;
    }
    if (borderStyle_ != bsNone && (borderIcons_ & biSystemMenu)) Params.Style |= WS_SYSMENU;
    bool minMax = borderStyle_ == bsSingle || borderStyle_ == bsSizeable;
    if (minMax && (borderIcons_ & biMinimize)) Params.Style |= WS_MINIMIZEBOX;
    if (minMax && (borderIcons_ & biMaximize)) Params.Style |= WS_MAXIMIZEBOX;
    if ((borderIcons_ & biHelp) && !(Params.Style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)))
        Params.ExStyle |= WS_EX_CONTEXTHELP;
    if (borderStyle_ == bsToolWindow || borderStyle_ == bsSizeToolWin) Params.ExStyle |= WS_EX_TOOLWINDOW;
    if (formStyle_ == fsStayOnTop) Params.ExStyle |= WS_EX_TOPMOST;
    // Secondary forms stay above the main form and go with it.
    TCustomForm* mainForm = Application ? Application->GetMainForm() : nullptr;
    if (mainForm && mainForm != this && mainForm->handle_) Params.WndParent = mainForm->handle_;
}

void TCustomForm::CreateWnd()
{
    // A form still being built (its window wanted by a control inside)
    // finishes loading when its constructor is done, not here.
    if (!(GetComponentState() & csLoading)) AfterConstruction();
    TWinControl::CreateWnd();
    if (menu_) {
        menu_->SetWindowHandle(handle_);
        Realign();
    }
}

void TCustomForm::DestroyWnd()
{
    if (menu_) menu_->SetWindowHandle(nullptr);
    TWinControl::DestroyWnd();
}

void TCustomForm::SetMenu(TMainMenu* Value)
{
    if (Value == menu_) return;
    if (menu_) {
        if (handle_) menu_->SetWindowHandle(nullptr);
        RemoveFreeNotification(menu_);
    }
    menu_ = Value;
    if (menu_) {
        FreeNotification(menu_);
        if (handle_) menu_->SetWindowHandle(handle_);
    }
    // The bar took (or gave back) client height.
    if (handle_) Realign();
}

void TCustomForm::Notification(TComponent* AComponent, TOperation Operation)
{
    TWinControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == menu_) {
        // The menu's own destructor takes it off the window.
        menu_ = nullptr;
        if (handle_ && !IsDestroying()) Realign();
    }
}

bool TCustomForm::IsShortCut(const TMessage& KeyMessage)
{
    return menu_ && menu_->IsShortCut(KeyMessage);
}

bool TCustomForm::IsMenuShortCut(const TMessage& KeyMessage)
{
    if (IsShortCut(KeyMessage)) return true;
    return GetParent() && TWinControl::IsMenuShortCut(KeyMessage);
}

void TCustomForm::SetBorderStyle(TFormBorderStyle Value)
{
    if (Value == borderStyle_) return;
    borderStyle_ = Value;
    RecreateWnd();
}

void TCustomForm::SetBorderIcons(TBorderIcons Value)
{
    if (Value == borderIcons_) return;
    borderIcons_ = Value;
    RecreateWnd();
}

void TCustomForm::SetFormStyle(TFormStyle Value)
{
    if (Value == formStyle_) return;
    formStyle_ = Value;
    if (handle_)
        SetWindowPos(handle_, Value == fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

TWindowState TCustomForm::GetWindowState() const
{
    if (!handle_ || !visible_) return windowState_;
    if (IsIconic(handle_)) return wsMinimized;
    if (IsZoomed(handle_)) return wsMaximized;
    return wsNormal;
}

void TCustomForm::SetWindowState(TWindowState Value)
{
    windowState_ = Value;
    if (!handle_ || !visible_) return;
    static const int commands[] = {SW_RESTORE, SW_MINIMIZE, SW_SHOWMAXIMIZED};
    ShowWindow(handle_, commands[Value]);
}

void TCustomForm::SetActiveControl(TWinControl* Value)
{
    if (Value == activeControl_) return;
    if (Value && (Value == this || GetParentForm(Value) != this || !Value->CanFocus()))
        throw EInvalidOperation("Cannot focus a disabled or invisible window");
    activeControl_ = Value;
    if (Value && active_) ::SetFocus(Value->GetHandle());
}

bool TCustomForm::CanFocus() const
{
    if (GetParent()) return TWinControl::CanFocus();
    return visible_ && enabled_;
}

void TCustomForm::SetFocus()
{
    if (!CanFocus()) throw EInvalidOperation("Cannot focus a disabled or invisible window");
    ::SetFocus(GetHandle());
}

void TCustomForm::SetVisible(bool Value)
{
    if (GetParent()) {
        TWinControl::SetVisible(Value);
        return;
    }
    if (Value == visible_) return;
    if (Value) {
        AfterConstruction();
        if (OnShow) OnShow(this);
        visible_ = true;
        GetHandle();
        PlaceOnScreen();
        ShowWindowNow(showActivate_);
    } else {
        if (OnHide) OnHide(this);
        visible_ = false;
        if (handle_) ShowWindow(handle_, SW_HIDE);
    }
}

void TCustomForm::PlaceOnScreen()
{
    if (position_ != poScreenCenter) return;
    RECT area = Screen ? Screen->GetWorkAreaRect() : RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SetBounds(area.left + (area.right - area.left - width_) / 2, area.top + (area.bottom - area.top - height_) / 2,
              width_, height_);
}

void TCustomForm::ShowWindowNow(bool activate)
{
    int command = activate ? SW_SHOW : SW_SHOWNOACTIVATE;
    if (windowState_ == wsMinimized) command = activate ? SW_SHOWMINIMIZED : SW_SHOWMINNOACTIVE;
    if (windowState_ == wsMaximized) command = SW_SHOWMAXIMIZED;
    ShowWindow(handle_, command);
}

void TCustomForm::Show()
{
    SetVisible(true);
    if (handle_) SetWindowPos(handle_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void TCustomForm::ShowNoActivate()
{
    showActivate_ = false;
    try {
        SetVisible(true);
    } catch (...) {
        showActivate_ = true;
        throw;
    }
    showActivate_ = true;
}

TModalResult TCustomForm::ShowModal()
{
    if (visible_ || !enabled_ || modal_) throw EInvalidOperation("Cannot make a visible window modal");
    if (!Application) throw EInvalidOperation("A modal form needs the Application");
    if (GetCapture()) {
        SendMessageA(GetCapture(), WM_CANCELMODE, 0, 0);
        ReleaseCapture();
    }
    HWND previous = GetActiveWindow();
    modal_ = true;
    modalResult_ = mrNone;
    try {
        ModalDisabler disabler(GetHandle());
        Show();
        while (modalResult_ == mrNone) {
            Application->HandleMessage();
            if (Application->GetTerminated())
                modalResult_ = mrCancel;
            else if (modalResult_ != mrNone)
                CloseModal();
        }
        // The others are enabled again (disabler's end) before we hide, so
        // that the activation goes back to one of them.
    } catch (...) {
        modal_ = false;
        SetVisible(false);
        throw;
    }
    modal_ = false;
    SetVisible(false);
    if (previous && IsWindow(previous)) SetActiveWindow(previous);
    return modalResult_;
}

void TCustomForm::CloseModal()
{
    TCloseAction action = caNone;
    if (CloseQuery()) {
        action = caHide;
        DoClose(action);
    }
    if (action == caNone) modalResult_ = mrNone;
    if (action == caFree) Release();
}

void TCustomForm::Close()
{
    if (modal_) {
        modalResult_ = mrCancel;
        return;
    }
    if (!CloseQuery()) return;
    TCloseAction action = caHide;
    DoClose(action);
    if (action == caNone) return;
    if (Application && Application->GetMainForm() == this) {
        Application->Terminate();
        return;
    }
    switch (action) {
    case caHide: SetVisible(false); break;
    case caMinimize: SetWindowState(wsMinimized); break;
    case caFree: Release(); break;
    default: break;
    }
}

bool TCustomForm::CloseQuery()
{
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(this, canClose);
    return canClose;
}

void TCustomForm::DoClose(TCloseAction& Action)
{
    if (OnClose) OnClose(this, Action);
}

void TCustomForm::Release()
{
    if (releasing_) return;
    releasing_ = true;
    PostMessageA(GetHandle(), CM_RELEASE, 0, 0);
}

void TCustomForm::Paint()
{
    if (OnPaint) OnPaint(this);
}

void TCustomForm::PaintWindow(HDC DC)
{
    canvas_->SetHandle(DC);
    try {
        Paint();
    } catch (...) {
        canvas_->SetHandle(nullptr);
        throw;
    }
    canvas_->SetHandle(nullptr);
}

namespace {

bool IsWithin(TControl* control, TControl* ancestor)
{
    for (TControl* c = control; c; c = c->GetParent())
        if (c == ancestor) return true;
    return false;
}

}  // namespace

void TCustomForm::ControlRemoving(TControl* AControl)
{
    if (IsWithin(activeControl_, AControl)) activeControl_ = nullptr;
    if (IsWithin(focusedControl_, AControl)) focusedControl_ = nullptr;
    TWinControl::ControlRemoving(AControl);
}

// Enter and exit follow the form's focused control, not the window focus:
// the form losing and regaining the activation (another program's window
// in between) moves no focus inside the form and fires nothing.
void TCustomForm::FocusChanged(TWinControl* AControl)
{
    if (AControl != this) activeControl_ = AControl;
    if (GetParent()) {
        TWinControl::FocusChanged(AControl);
        return;
    }
    if (AControl == this || AControl == focusedControl_) return;
    TWinControl* old = focusedControl_;
    focusedControl_ = AControl;
    // Exit from the old control up to the nearest container of both, then
    // enter from there down to the new one.
    for (TWinControl* c = old; c && c != this && !c->ContainsControl(AControl); c = c->GetParent()) c->DoExit();
    std::vector<TWinControl*> entered;
    for (TWinControl* c = AControl; c && c != this && !(old && c->ContainsControl(old)); c = c->GetParent())
        entered.push_back(c);
    for (auto it = entered.rbegin(); it != entered.rend(); ++it) (*it)->DoEnter();
}

bool TCustomForm::FocusFirstControl()
{
    TWinControl* target = activeControl_ && activeControl_->CanFocus() ? activeControl_ : nullptr;
    if (!target) {
        std::vector<TWinControl*> list;
        GetTabOrderList(list);
        for (TWinControl* w : list) {
            if (w->GetTabStop() && w->CanFocus()) {
                target = w;
                break;
            }
        }
    }
    if (!target) return false;
    ::SetFocus(target->GetHandle());
    return true;
}

void TCustomForm::Activated(bool active)
{
    active_ = active;
    if (active) {
        if (Screen) Screen->SetActiveForm(this);
        if (OnActivate) OnActivate(this);
    } else if (OnDeactivate) {
        OnDeactivate(this);
    }
}

void TCustomForm::DialogKey(TMessage& Message)
{
    bool ctrl = GetKeyState(VK_CONTROL) < 0;
    switch (Message.WParam) {
    case VK_TAB:
        if (!ctrl) {
            SelectNext(activeControl_, GetKeyState(VK_SHIFT) >= 0, true);
            Message.Result = 1;
            return;
        }
        break;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
        if (activeControl_ && activeControl_->GetParent()) {
            activeControl_->GetParent()->SelectNext(activeControl_,
                                                    Message.WParam == VK_RIGHT || Message.WParam == VK_DOWN, false);
            Message.Result = 1;
            return;
        }
        break;
    default: break;
    }
    TWinControl::WndProc(Message);
}

// F1: the help context of the control with the focus, or of the nearest
// parent that has one.
void TCustomForm::ShowHelp(TMessage& Message)
{
    auto* info = reinterpret_cast<HELPINFO*>(Message.LParam);
    TControl* c = info->iContextType == HELPINFO_WINDOW ? FindControl(static_cast<HWND>(info->hItemHandle)) : nullptr;
    if (!c) c = activeControl_ ? static_cast<TControl*>(activeControl_) : this;
    while (c && c->GetHelpContext() == 0) c = c->GetParent();
    if (c && Application) Application->HelpContext(c->GetHelpContext());
    Message.Result = TRUE;
}

void TCustomForm::WndProc(TMessage& Message)
{
    if (menu_ && menu_->HandleMenuMessage(Message)) return;
    switch (Message.Msg) {
    case CM_RELEASE:
        // Nothing of this object may be touched after this.
        BeforeDestruction();
        delete this;
        return;
    case WM_CLOSE: Close(); return;
    case WM_ACTIVATE:
        Activated(LOWORD(Message.WParam) != WA_INACTIVE);
        if (LOWORD(Message.WParam) != WA_INACTIVE && !HIWORD(Message.WParam) && FocusFirstControl()) return;
        DefaultHandler(Message);
        return;
    case WM_SETFOCUS:
        if (FocusFirstControl()) return;
        break;
    case WM_HELP: ShowHelp(Message); return;
    case CM_DIALOGKEY: DialogKey(Message); return;
    default: break;
    }
    TWinControl::WndProc(Message);
}
