// TWinControl: a control with a window. The window is made on demand and can
// be destroyed and made again (RecreateWnd) without losing the properties.
#include "controls.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "application.h"
#include "forms.h"
#include "screen.h"
#include "wndproc.h"

namespace {

// Child windows get distinct ids so that WM_MEASUREITEM (which names its
// control only by id) can find them.
HMENU NextChildId()
{
    static unsigned id = 100;
    id = id >= 0xFFFF ? 100 : id + 1;
    return reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id));
}

AnsiString NoParentMessage(const AnsiString& name)
{
    if (name.IsEmpty()) return "Control has no parent window";
    return "Control '" + name + "' has no parent window";
}

bool IsButtonDown(UINT msg)
{
    return msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN || msg == WM_LBUTTONDBLCLK ||
           msg == WM_RBUTTONDBLCLK || msg == WM_MBUTTONDBLCLK;
}

bool IsButtonUp(UINT msg)
{
    return msg == WM_LBUTTONUP || msg == WM_RBUTTONUP || msg == WM_MBUTTONUP;
}

// Mouse coordinates are signed 16-bit in the message.
LPARAM PackPoint(int x, int y)
{
    return MAKELPARAM(static_cast<WORD>(static_cast<short>(x)), static_cast<WORD>(static_cast<short>(y)));
}

}  // namespace

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner)
{
    windowed_ = true;
}

// Order: leave the parent (its window lets go of ours), free the children
// (VCL style: a container frees what it contains, whoever owns it), then
// destroy our own window.
TWinControl::~TWinControl()
{
    BeforeDestruction();
    if (parent_) parent_->RemoveControl(this);
    while (!controls_.empty()) {
        TControl* child = controls_.back();
        RemoveControl(child);
        child->BeforeDestruction();
        delete child;
    }
    DestroyHandle();
    FreeBrush();
}

HWND TWinControl::GetHandle()
{
    if (!handle_) CreateHandle();
    return handle_;
}

void TWinControl::CreateHandle()
{
    // The parent's window comes first; making it makes ours too when we are
    // visible.
    if (parent_) parent_->CreateHandle();
    if (handle_) return;
    CreateWnd();
    for (TControl* c : std::vector<TControl*>(controls_)) {
        if (c->windowed_ && c->visible_) static_cast<TWinControl*>(c)->CreateHandle();
    }
}

void TWinControl::CreateParams(TCreateParams& Params)
{
    Params.Caption = text_;
    Params.Style = WS_CHILD | WS_CLIPSIBLINGS;
    if (controlStyle_ & csAcceptsControls) Params.Style |= WS_CLIPCHILDREN;
    if (visible_) Params.Style |= WS_VISIBLE;
    if (!enabled_) Params.Style |= WS_DISABLED;
    if (tabStop_) Params.Style |= WS_TABSTOP;
    Params.X = left_;
    Params.Y = top_;
    Params.Width = width_;
    Params.Height = height_;
    Params.WndParent = parent_ ? parent_->handle_ : nullptr;
    Params.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    Params.WindowClass.lpfnWndProc = DefWindowProcA;
    Params.WindowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    Params.WindowClass.hbrBackground = nullptr;
    Params.WinClassName = "KestrelWindow";
}

void TWinControl::CreateSubClass(TCreateParams& Params, const char* ClassName)
{
    WNDCLASSA wc = {};
    if (!GetClassInfoA(nullptr, ClassName, &wc)) {
        // Common controls exist only once comctl32 has registered them.
        INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES |
                                                      ICC_UPDOWN_CLASS | ICC_PROGRESS_CLASS};
        InitCommonControlsEx(&icc);
        if (!GetClassInfoA(nullptr, ClassName, &wc))
            throw EOutOfResources(AnsiString("Window class ") + ClassName + " is not registered");
    }
    Params.WindowClass = wc;
    Params.WinClassName = AnsiString("Kestrel.") + ClassName;
}

void TWinControl::CreateWnd()
{
    TCreateParams params;
    CreateParams(params);
    if (!params.WndParent && (params.Style & WS_CHILD)) throw EInvalidOperation(NoParentMessage(GetName()));
    defWndProc_ = RegisterControlClass(params);
    CreateWindowHandle(params);
    if (!handle_) throw EOutOfResources("Error creating window");
    SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(GetFont()->GetHandle()), FALSE);
    UpdateBounds();
}

void TWinControl::CreateWindowHandle(const TCreateParams& Params)
{
    HMENU id = (Params.Style & WS_CHILD) ? NextChildId() : nullptr;
    if (!CreateBoundWindow(this, Params, id)) throw EOutOfResources("Error creating window");
}

void TWinControl::DestroyHandle()
{
    if (!handle_) return;
    for (TControl* c : controls_)
        if (c->windowed_) static_cast<TWinControl*>(c)->DestroyHandle();
    DestroyWnd();
}

void TWinControl::DestroyWnd()
{
    // Keep what the user typed for the next window.
    if (!IsDestroying()) text_ = GetText();
    HWND old = handle_;
    ::DestroyWindow(old);
    if (handle_ == old) {
        UnbindWindow(old);
        WindowDestroyed();
    }
}

void TWinControl::WindowDestroyed()
{
    handle_ = nullptr;
    hoverChild_ = nullptr;
    captureChild_ = nullptr;
    mouseInside_ = false;
}

void TWinControl::RecreateWnd()
{
    if (!handle_) return;
    DestroyHandle();
    CreateHandle();
}

TControl* TWinControl::GetControl(int Index) const
{
    if (Index < 0 || Index >= GetControlCount())
        throw EListError(AnsiString().sprintf("List index out of bounds (%d)", Index));
    return controls_[Index];
}

bool TWinControl::ContainsControl(TControl* Control) const
{
    for (TControl* c = Control; c; c = c->parent_)
        if (c == this) return true;
    return false;
}

TControl* TWinControl::ControlAtPos(POINT p, bool allowWindowed) const
{
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        TControl* c = *it;
        if ((c->windowed_ && !allowWindowed) || !c->visible_ || !c->enabled_) continue;
        RECT r = c->GetBoundsRect();
        if (PtInRect(&r, p)) return c;
    }
    return nullptr;
}

void TWinControl::SetParent(TWinControl* AParent)
{
    if (AParent == parent_) return;
    // Moving a live window to another parent keeps it.
    reparenting_ = AParent && handle_;
    try {
        TControl::SetParent(AParent);
    } catch (...) {
        reparenting_ = false;
        throw;
    }
    reparenting_ = false;
}

void TWinControl::InsertControl(TControl* AControl)
{
    controls_.push_back(AControl);
    AControl->parent_ = this;
    AControl->ParentColorChanged();
    AControl->ParentFontChanged();
    if (AControl->windowed_) {
        auto* w = static_cast<TWinControl*>(AControl);
        tabList_.push_back(w);
        if (w->handle_ && handle_) {
            ::SetParent(w->handle_, handle_);
            SetWindowPos(w->handle_, nullptr, w->left_, w->top_, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        } else if (w->handle_) {
            w->DestroyHandle();
        } else if (handle_ && w->visible_) {
            w->CreateHandle();
        }
    } else {
        AControl->Invalidate();
    }
    if (AControl->align_ != alNone) Realign();
}

void TWinControl::RemoveControl(TControl* AControl)
{
    ControlRemoving(AControl);
    if (hoverChild_ == AControl) hoverChild_ = nullptr;
    if (captureChild_ == AControl) {
        captureChild_ = nullptr;
        if (handle_ && GetCapture() == handle_) ReleaseCapture();
    }
    if (AControl->windowed_) {
        auto* w = static_cast<TWinControl*>(AControl);
        if (w->handle_ && !w->reparenting_) w->DestroyHandle();
        tabList_.erase(std::remove(tabList_.begin(), tabList_.end(), w), tabList_.end());
    } else {
        AControl->Invalidate();
    }
    controls_.erase(std::remove(controls_.begin(), controls_.end(), AControl), controls_.end());
    AControl->parent_ = nullptr;
    if (AControl->align_ != alNone && !IsDestroying()) Realign();
}

void TWinControl::ControlRemoving(TControl* AControl)
{
    if (parent_) parent_->ControlRemoving(AControl);
}

void TWinControl::FocusChanged(TWinControl* AControl)
{
    if (parent_) parent_->FocusChanged(AControl);
}

TWinControl* TWinControl::TopParent()
{
    TWinControl* top = this;
    while (top->parent_) top = top->parent_;
    return top;
}

void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    if (AWidth < 0) AWidth = 0;
    if (AHeight < 0) AHeight = 0;
    if (ALeft == left_ && ATop == top_ && AWidth == width_ && AHeight == height_) return;
    if (handle_ && !IsIconic(handle_)) {
        // WM_WINDOWPOSCHANGED reads the new bounds back, realigns, resizes.
        SetWindowPos(handle_, nullptr, ALeft, ATop, AWidth, AHeight, SWP_NOZORDER | SWP_NOACTIVATE);
        RequestAlign();
        return;
    }
    bool sized = AWidth != width_ || AHeight != height_;
    left_ = ALeft;
    top_ = ATop;
    width_ = AWidth;
    height_ = AHeight;
    if (sized) Realign();
    BoundsChanged(sized);
}

bool TWinControl::UpdateBounds()
{
    if (!handle_ || IsIconic(handle_)) return false;
    RECT r;
    GetWindowRect(handle_, &r);
    HWND owner = ::GetParent(handle_);
    if (owner && (GetWindowLongA(handle_, GWL_STYLE) & WS_CHILD))
        MapWindowPoints(HWND_DESKTOP, owner, reinterpret_cast<POINT*>(&r), 2);
    int w = r.right - r.left;
    int h = r.bottom - r.top;
    bool sized = w != width_ || h != height_;
    left_ = r.left;
    top_ = r.top;
    width_ = w;
    height_ = h;
    return sized;
}

RECT TWinControl::GetClientRect()
{
    RECT r = {0, 0, 0, 0};
    if (handle_) {
        ::GetClientRect(handle_, &r);
        return r;
    }
    // Before the window exists: the size less the frame its style gives.
    TCreateParams params;
    CreateParams(params);
    RECT frame = {0, 0, 0, 0};
    AdjustWindowRectEx(&frame, params.Style, HasMenuBar() && !(params.Style & WS_CHILD), params.ExStyle);
    r.right = std::max(0, width_ - int(frame.right - frame.left));
    r.bottom = std::max(0, height_ - int(frame.bottom - frame.top));
    return r;
}

POINT TWinControl::ClientToScreen(POINT p)
{
    ::ClientToScreen(GetHandle(), &p);
    return p;
}

POINT TWinControl::ScreenToClient(POINT p)
{
    ::ScreenToClient(GetHandle(), &p);
    return p;
}

void TWinControl::SetVisible(bool Value)
{
    if (Value == visible_) return;
    visible_ = Value;
    if (handle_)
        ShowWindow(handle_, Value ? SW_SHOWNOACTIVATE : SW_HIDE);
    else if (Value && parent_ && parent_->handle_)
        CreateHandle();
    Perform(CM_VISIBLECHANGED, Value);
    RequestAlign();
    if (parent_) parent_->ChildChanged(this);
}

void TWinControl::SetEnabled(bool Value)
{
    if (Value == enabled_) return;
    enabled_ = Value;
    if (handle_) EnableWindow(handle_, Value);
    Invalidate();
    Perform(CM_ENABLEDCHANGED, Value);
}

AnsiString TWinControl::GetText()
{
    if (!handle_) return text_;
    int n = GetWindowTextLengthA(handle_);
    std::vector<char> buffer(n + 1);
    GetWindowTextA(handle_, buffer.data(), n + 1);
    return AnsiString(buffer.data());
}

void TWinControl::SetText(const AnsiString& Value)
{
    if (!handle_) {
        TControl::SetText(Value);
        return;
    }
    if (Value == GetText()) return;
    text_ = Value;
    SetWindowTextA(handle_, Value.c_str());
    Perform(CM_TEXTCHANGED);
}

void TWinControl::Invalidate()
{
    if (handle_) InvalidateRect(handle_, nullptr, !(controlStyle_ & csOpaque));
}

void TWinControl::Update()
{
    if (handle_) UpdateWindow(handle_);
}

void TWinControl::BringToFront()
{
    TControl::BringToFront();
    if (handle_) SetWindowPos(handle_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TWinControl::SendToBack()
{
    TControl::SendToBack();
    if (handle_) SetWindowPos(handle_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TWinControl::EnableAlign()
{
    if (alignDisabled_ > 0 && --alignDisabled_ == 0 && alignPending_) Realign();
}

void TWinControl::Realign()
{
    if (aligning_) return;
    if (alignDisabled_ > 0) {
        alignPending_ = true;
        return;
    }
    alignPending_ = false;
    RECT r = GetClientRect();
    aligning_ = true;
    try {
        AlignControls(r);
    } catch (...) {
        aligning_ = false;
        throw;
    }
    aligning_ = false;
}

// Top, bottom, left, right, then client, each group in the order the
// controls already stand (so a realignment keeps their order), ties by
// insertion order.
void TWinControl::AlignControls(RECT& Rect)
{
    static const TAlign order[] = {alTop, alBottom, alLeft, alRight, alClient};
    for (TAlign align : order) {
        std::vector<TControl*> group;
        for (TControl* c : controls_)
            if (c->align_ == align && c->visible_) group.push_back(c);
        std::stable_sort(group.begin(), group.end(), [align](TControl* a, TControl* b) {
            switch (align) {
            case alTop: return a->top_ < b->top_;
            case alBottom: return a->top_ + a->height_ > b->top_ + b->height_;
            case alLeft: return a->left_ < b->left_;
            case alRight: return a->left_ + a->width_ > b->left_ + b->width_;
            default: return false;
            }
        });
        for (TControl* c : group) {
            int w = Rect.right - Rect.left;
            int h = Rect.bottom - Rect.top;
            switch (align) {
            case alTop:
                c->SetBounds(Rect.left, Rect.top, w, c->height_);
                Rect.top += c->height_;
                break;
            case alBottom:
                c->SetBounds(Rect.left, Rect.bottom - c->height_, w, c->height_);
                Rect.bottom -= c->height_;
                break;
            case alLeft:
                c->SetBounds(Rect.left, Rect.top, c->width_, h);
                Rect.left += c->width_;
                break;
            case alRight:
                c->SetBounds(Rect.right - c->width_, Rect.top, c->width_, h);
                Rect.right -= c->width_;
                break;
            default:
                c->SetBounds(Rect.left, Rect.top, w, h);
                break;
            }
        }
    }
}

void TWinControl::SetTabStop(bool Value)
{
    if (Value == tabStop_) return;
    tabStop_ = Value;
    if (!handle_) return;
    LONG style = GetWindowLongA(handle_, GWL_STYLE);
    SetWindowLongA(handle_, GWL_STYLE, Value ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP));
}

int TWinControl::GetTabOrder() const
{
    if (!parent_) return -1;
    const auto& list = parent_->tabList_;
    return static_cast<int>(std::find(list.begin(), list.end(), this) - list.begin());
}

void TWinControl::SetTabOrder(int Value)
{
    if (!parent_) return;
    auto& list = parent_->tabList_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    int n = static_cast<int>(list.size());
    if (Value < 0 || Value > n) Value = n;
    list.insert(list.begin() + Value, this);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& List) const
{
    for (TWinControl* w : tabList_) {
        List.push_back(w);
        w->GetTabOrderList(List);
    }
}

void TWinControl::SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop)
{
    std::vector<TWinControl*> list;
    GetTabOrderList(list);
    int n = static_cast<int>(list.size());
    if (n == 0) return;
    int start = static_cast<int>(std::find(list.begin(), list.end(), CurControl) - list.begin());
    if (start == n) start = GoForward ? n - 1 : 0;
    for (int step = 1; step <= n; ++step) {
        int i = GoForward ? (start + step) % n : (start - step + n) % n;
        TWinControl* w = list[i];
        if (w == CurControl) return;
        if (w->CanFocus() && (!CheckTabStop || w->tabStop_)) {
            w->SetFocus();
            return;
        }
    }
}

bool TWinControl::CanFocus() const
{
    for (const TWinControl* c = this; c->parent_; c = c->parent_)
        if (!c->visible_ || !c->enabled_) return false;
    return true;
}

void TWinControl::SetFocus()
{
    TWinControl* top = TopParent();
    if (!CanFocus() || !top->visible_ || !top->enabled_)
        throw EInvalidOperation("Cannot focus a disabled or invisible window");
    ::SetFocus(GetHandle());
}

bool TWinControl::Focused() const
{
    return handle_ && GetFocus() == handle_;
}

void TWinControl::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_PAINT:
        if (PaintsItself() || std::any_of(controls_.begin(), controls_.end(), [](TControl* c) { return !c->windowed_; }))
            PaintHandler(Message);
        else
            DefaultHandler(Message);
        return;
    case WM_ERASEBKGND: EraseBackground(Message); return;
    case WM_SETFOCUS:
        DefaultHandler(Message);
        if (IsDestroying() || TopParent()->IsDestroying()) return;
        // On a form, the form fires enter and exit (FocusChanged).
        if (GetParentForm(this))
            FocusChanged(this);
        else
            DoEnter();
        return;
    case WM_KILLFOCUS:
        DefaultHandler(Message);
        if (!IsDestroying() && !TopParent()->IsDestroying() && !GetParentForm(this)) DoExit();
        return;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (!DoKeyDown(Message)) DefaultHandler(Message);
        return;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        if (!DoKeyUp(Message)) DefaultHandler(Message);
        return;
    case WM_CHAR:
        // Typed on the form itself: a windowless control's accelerator.
        if (!DoKeyPress(Message) && !(!parent_ && OfferDialogChar(Message))) DefaultHandler(Message);
        return;
    case WM_SYSCHAR:
        if (!OfferDialogChar(Message)) DefaultHandler(Message);
        return;
    case WM_SYSCOMMAND:
        if (!MenuKeyToMainForm(Message)) DefaultHandler(Message);
        return;
    case WM_WINDOWPOSCHANGED:
        DefaultHandler(Message);
        if (UpdateBounds()) {
            Realign();
            Resize();
            if (parent_) parent_->ChildChanged(this);
        }
        return;
    case WM_SETCURSOR:
        if (!HandleCursor(Message)) DefaultHandler(Message);
        return;
    case WM_MOUSELEAVE:
        MouseLeft();
        DefaultHandler(Message);
        return;
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: ReflectToChild(Message, reinterpret_cast<HWND>(Message.LParam)); return;
    case WM_NOTIFY: ReflectToChild(Message, reinterpret_cast<NMHDR*>(Message.LParam)->hwndFrom); return;
    case WM_DRAWITEM: {
        auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam);
        ReflectToChild(Message, item->CtlType == ODT_MENU ? nullptr : item->hwndItem);
        return;
    }
    case WM_MEASUREITEM: {
        auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam);
        ReflectToChild(Message, item->CtlType == ODT_MENU ? nullptr : GetDlgItem(handle_, item->CtlID));
        return;
    }
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORLISTBOX:
    case CN_CTLCOLORBTN:
    case CN_CTLCOLORSCROLLBAR:
    case CN_CTLCOLORSTATIC: CtlColor(Message); return;
    case WM_CONTEXTMENU:
        if (ContextPopupForChild(Message)) return;
        break;
    case CN_KEYDOWN:
        if (IsShortCutKey(Message)) return;
        HandleDialogKeyDown(Message);
        return;
    case CM_DIALOGKEY:
    case CM_DIALOGCHAR: BroadcastToControls(Message); return;
    default: break;
    }
    if (Message.Msg >= WM_MOUSEFIRST && Message.Msg <= WM_MBUTTONDBLCLK) {
        if (Message.Msg == WM_MOUSEMOVE) TrackMouse(MessagePoint(Message));
        if (RouteMouseToChild(Message)) return;
    }
    TControl::WndProc(Message);
}

void TWinControl::DefaultHandler(TMessage& Message)
{
    // The library's own messages mean nothing to a system procedure.
    if (Message.Msg >= CM_BASE && Message.Msg <= CM_LAST) return;
    if (!handle_) return;
    Message.Result =
        CallWindowProcA(defWndProc_ ? defWndProc_ : DefWindowProcA, handle_, Message.Msg, Message.WParam, Message.LParam);
}

void TWinControl::ReflectToChild(TMessage& Message, HWND child)
{
    TWinControl* target = child ? FindControl(child) : nullptr;
    if (target && target != this) {
        Message.Result = target->Perform(CN_BASE + Message.Msg, Message.WParam, Message.LParam);
        return;
    }
    DefaultHandler(Message);
}

// A graphic child under the mouse (or holding it) gets the message in its
// own coordinates.
bool TWinControl::RouteMouseToChild(TMessage& Message)
{
    POINT p = MessagePoint(Message);
    TControl* target = captureChild_ ? captureChild_ : ControlAtPos(p);
    if (!target) return false;
    if (IsButtonDown(Message.Msg) && !captureChild_ && (target->controlStyle_ & csCaptureMouse)) {
        captureChild_ = target;
        ::SetCapture(handle_);
    }
    if (IsButtonUp(Message.Msg) && captureChild_) {
        captureChild_ = nullptr;
        if (GetCapture() == handle_) ReleaseCapture();
    }
    target->Perform(Message.Msg, Message.WParam, PackPoint(p.x - target->left_, p.y - target->top_));
    return true;
}

void TWinControl::TrackMouse(POINT p)
{
    if (!mouseInside_) {
        TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, handle_, 0};
        TrackMouseEvent(&track);
        Perform(CM_MOUSEENTER);
    }
    TControl* now = captureChild_ ? captureChild_ : ControlAtPos(p);
    if (now == hoverChild_) return;
    TControl* old = hoverChild_;
    hoverChild_ = now;
    if (old) old->Perform(CM_MOUSELEAVE);
    if (now) now->Perform(CM_MOUSEENTER);
}

void TWinControl::MouseLeft()
{
    if (hoverChild_) {
        TControl* old = hoverChild_;
        hoverChild_ = nullptr;
        old->Perform(CM_MOUSELEAVE);
    }
    Perform(CM_MOUSELEAVE);
}

bool TWinControl::HandleCursor(TMessage& Message)
{
    if (reinterpret_cast<HWND>(Message.WParam) != handle_ || LOWORD(Message.LParam) != HTCLIENT) return false;
    TCursor cursor = Screen ? Screen->GetCursor() : crDefault;
    if (cursor == crDefault) {
        POINT p;
        GetCursorPos(&p);
        ::ScreenToClient(handle_, &p);
        TControl* child = ControlAtPos(p);
        cursor = child ? child->GetCursor() : crDefault;
        if (cursor == crDefault) cursor = GetCursor();
    }
    if (cursor == crDefault) return false;
    ::SetCursor(Screen ? Screen->GetCursors(cursor) : LoadCursorA(nullptr, IDC_ARROW));
    Message.Result = TRUE;
    return true;
}

bool TWinControl::DoKeyDown(TMessage& Message)
{
    auto key = MessageKey(Message);
    TShiftState shift = KeyDataToShiftState(Message.LParam);
    TWinControl* top = TopParent();
    if (top != this && top->WantsKeyPreview()) {
        top->KeyDown(key, shift);
        if (key == 0) return true;
    }
    KeyDown(key, shift);
    Message.WParam = key;
    return key == 0;
}

bool TWinControl::DoKeyUp(TMessage& Message)
{
    auto key = MessageKey(Message);
    TShiftState shift = KeyDataToShiftState(Message.LParam);
    TWinControl* top = TopParent();
    if (top != this && top->WantsKeyPreview()) {
        top->KeyUp(key, shift);
        if (key == 0) return true;
    }
    KeyUp(key, shift);
    Message.WParam = key;
    return key == 0;
}

bool TWinControl::DoKeyPress(TMessage& Message)
{
    char key = MessageChar(Message);
    TWinControl* top = TopParent();
    if (top != this && top->WantsKeyPreview()) {
        top->KeyPress(key);
        if (key == 0) return true;
    }
    KeyPress(key);
    Message.WParam = static_cast<unsigned char>(key);
    return key == 0;
}

void TWinControl::KeyDown(unsigned short& Key, TShiftState Shift)
{
    if (OnKeyDown) OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyPress(char& Key)
{
    if (OnKeyPress) OnKeyPress(this, Key);
}

void TWinControl::KeyUp(unsigned short& Key, TShiftState Shift)
{
    if (OnKeyUp) OnKeyUp(this, Key, Shift);
}

void TWinControl::DoEnter()
{
    if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit()
{
    if (OnExit) OnExit(this);
}

// A graphic child has no window: its context menu comes to ours.
bool TWinControl::ContextPopupForChild(TMessage& Message)
{
    POINT p = MessagePoint(Message);
    if (!handle_ || (p.x == -1 && p.y == -1)) return false;
    ::ScreenToClient(handle_, &p);
    TControl* child = ControlAtPos(p);
    if (!child || !child->Perform(WM_CONTEXTMENU, Message.WParam, Message.LParam)) return false;
    Message.Result = 1;
    return true;
}

// A menu shortcut wins over the control and over dialog keys: the form's
// own menus first, then the main form's, so that the program's commands
// work from every one of its windows. The message loop hands both key-down
// kinds as CN_KEYDOWN; Alt tells them apart.
bool TWinControl::IsShortCutKey(TMessage& Message)
{
    UINT kind = (HIWORD(Message.LParam) & KF_ALTDOWN) ? WM_SYSKEYDOWN : WM_KEYDOWN;
    TMessage key{kind, Message.WParam, Message.LParam, 0};
    TWinControl* top = TopParent();
    bool taken = top->IsMenuShortCut(key);
    if (!taken && Application && top != Application->GetMainForm()) taken = Application->IsShortCut(key);
    if (!taken) return false;
    Message.Result = 1;
    return true;
}

// Alt+letter that no control took: a window without a menu bar of its own
// opens the main form's instead. Alt+Space (the system menu), Alt+- and a
// lone Alt or F10 (Key 0) stay with the window.
bool TWinControl::MenuKeyToMainForm(TMessage& Message)
{
    if ((Message.WParam & 0xFFF0) != SC_KEYMENU || !Application) return false;
    char key = static_cast<char>(Message.LParam);
    if (key == 0 || key == ' ' || key == '-' || GetCapture()) return false;
    TWinControl* top = TopParent();
    if (top->HasMenuBar() || top == Application->GetMainForm()) return false;
    if (!Application->MainMenuKey(Message.WParam, Message.LParam)) return false;
    Message.Result = 0;
    return true;
}

// Tab, Enter, Escape and the arrows, when the focused control does not want
// them, go to the form as CM_DIALOGKEY (called from the message loop).
void TWinControl::HandleDialogKeyDown(TMessage& Message)
{
    Message.Result = 0;
    LRESULT mask = 0;
    switch (Message.WParam) {
    case VK_TAB: mask = DLGC_WANTTAB; break;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN: mask = DLGC_WANTARROWS; break;
    case VK_RETURN:
    case VK_ESCAPE:
    case VK_EXECUTE:
    case VK_CANCEL: mask = DLGC_WANTALLKEYS; break;
    default: return;
    }
    if (handle_ && (SendMessageA(handle_, WM_GETDLGCODE, 0, 0) & mask)) return;
    if (TopParent()->Perform(CM_DIALOGKEY, Message.WParam, Message.LParam)) Message.Result = 1;
}

void TWinControl::BroadcastToControls(TMessage& Message)
{
    for (TControl* c : std::vector<TControl*>(controls_)) {
        Message.Result = c->Perform(Message.Msg, Message.WParam, Message.LParam);
        if (Message.Result) return;
    }
}

// The form's controls get the character first; a used one is not passed on
// (no beep, no menu-bar activation).
bool TWinControl::OfferDialogChar(TMessage& Message)
{
    if (!TopParent()->Perform(CM_DIALOGCHAR, Message.WParam, Message.LParam)) return false;
    Message.Result = 0;
    return true;
}

void TWinControl::PaintHandler(TMessage& Message)
{
    HDC dc = reinterpret_cast<HDC>(Message.WParam);
    PAINTSTRUCT ps;
    if (!dc) dc = BeginPaint(handle_, &ps);
    try {
        PaintWindow(dc);
        PaintControls(dc);
    } catch (...) {
        // EndPaint validates; without it WM_PAINT (and the error) repeats.
        if (!Message.WParam) EndPaint(handle_, &ps);
        throw;
    }
    if (!Message.WParam) EndPaint(handle_, &ps);
    Message.Result = 0;
}

void TWinControl::PaintWindow(HDC DC)
{
    if (defWndProc_ == DefWindowProcA) return;
    TMessage paint{WM_PAINT, reinterpret_cast<WPARAM>(DC), 0, 0};
    DefaultHandler(paint);
}

void TWinControl::PaintControls(HDC DC)
{
    for (TControl* c : std::vector<TControl*>(controls_)) {
        if (c->windowed_ || !c->visible_) continue;
        RECT r = c->GetBoundsRect();
        if (!RectVisible(DC, &r)) continue;
        int saved = SaveDC(DC);
        IntersectClipRect(DC, r.left, r.top, r.right, r.bottom);
        OffsetViewportOrgEx(DC, r.left, r.top, nullptr);
        try {
            c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
        } catch (...) {
            RestoreDC(DC, saved);
            throw;
        }
        RestoreDC(DC, saved);
    }
}

void TWinControl::EraseBackground(TMessage& Message)
{
    // System controls erase in their own way.
    if (defWndProc_ != DefWindowProcA) {
        DefaultHandler(Message);
        return;
    }
    if (!(controlStyle_ & csOpaque)) {
        RECT r;
        ::GetClientRect(handle_, &r);
        FillRect(reinterpret_cast<HDC>(Message.WParam), &r, GetBrushHandle());
    }
    Message.Result = 1;
}

void TWinControl::CtlColor(TMessage& Message)
{
    HDC dc = reinterpret_cast<HDC>(Message.WParam);
    SetTextColor(dc, ColorToRGB(GetFont()->GetColor()));
    SetBkColor(dc, ColorToRGB(GetColor()));
    Message.Result = reinterpret_cast<LRESULT>(GetBrushHandle());
}

HBRUSH TWinControl::GetBrushHandle()
{
    TColor color = GetColor();
    if (color < 0) return GetSysColorBrush(color & 0xFF);
    if (!brush_ || brushColor_ != color) {
        FreeBrush();
        brush_ = CreateSolidBrush(ColorToRGB(color) & 0xFFFFFF);
        brushColor_ = color;
    }
    return brush_;
}

void TWinControl::FreeBrush()
{
    if (brush_) DeleteObject(brush_);
    brush_ = nullptr;
}

void TWinControl::FontChanged()
{
    if (handle_) SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(GetFont()->GetHandle()), TRUE);
    TControl::FontChanged();
    for (TControl* c : controls_) c->ParentFontChanged();
}

void TWinControl::ColorChanged()
{
    TControl::ColorChanged();
    for (TControl* c : controls_) c->ParentColorChanged();
}
