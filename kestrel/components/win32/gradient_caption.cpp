// TGradientCaption: layout, painting and the non-client hook of the form.
#include "gradient_caption.h"

#include <algorithm>
#include <vector>

#include "geometry_winapi.h"
#include "handleexception.h"

// What the window property points at. It outlives the component when
// something subclassed the form after us: then Owner is null and the hook
// only passes messages on, until the window goes.
struct TCapHook {
    TGradientCaption* Owner;
    WNDPROC Previous;
};

namespace {

const char HookProp[] = "KestrelGradientCaption";

TCapHook* HookOf(HWND hwnd)
{
    return static_cast<TCapHook*>(GetPropA(hwnd, HookProp));
}

TCapBorder ToCapBorder(TFormBorderStyle b)
{
    return static_cast<TCapBorder>(b);
}

TCapMetrics SystemMetrics()
{
    TCapMetrics m;
    m.DlgFrameX = GetSystemMetrics(SM_CXDLGFRAME);
    m.DlgFrameY = GetSystemMetrics(SM_CYDLGFRAME);
    m.FrameX = GetSystemMetrics(SM_CXFRAME);
    m.FrameY = GetSystemMetrics(SM_CYFRAME);
    m.CaptionHeight = GetSystemMetrics(SM_CYCAPTION);
    m.SmCaptionHeight = GetSystemMetrics(SM_CYSMCAPTION);
    m.ButtonWidth = GetSystemMetrics(SM_CXSIZE);
    m.ButtonHeight = GetSystemMetrics(SM_CYSIZE);
    return m;
}

}  // namespace

LRESULT CALLBACK GradCapWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    TCapHook* hook = HookOf(hwnd);
    if (!hook) return DefWindowProcA(hwnd, msg, wParam, lParam);
    WNDPROC previous = hook->Previous;
    if (msg == WM_NCDESTROY) {
        // The window goes first: the component (if any) forgets it, and the
        // chain is put back so that the class library sees its own end.
        if (reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hwnd, GWLP_WNDPROC)) == GradCapWndProc)
            SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        RemovePropA(hwnd, HookProp);
        if (hook->Owner) {
            hook->Owner->hwnd_ = nullptr;
            hook->Owner->hook_ = nullptr;
        }
        delete hook;
        return CallWindowProcA(previous, hwnd, msg, wParam, lParam);
    }
    if (!hook->Owner) return CallWindowProcA(previous, hwnd, msg, wParam, lParam);
    try {
        return hook->Owner->HookProc(msg, wParam, lParam);
    } catch (...) {
        HandleCallbackException();
        return 0;
    }
}

// ---- TGradientCaptionSystemButton

TGradientCaptionSystemButton::TGradientCaptionSystemButton(TGradientCaption* AOwner, TCapButtonKind AKind)
    : TSpeedButton(AOwner), kind_(AKind)
{
    // Hidden and zero-sized: never on a parent, only state and rectangle.
    visible_ = false;
    width_ = height_ = 0;
}

// ---- TGradientCaption

TGradientCaption::TGradientCaption(TComponent* AOwner)
    : TComponent(AOwner), appNameFont_(new TFont), captionFont_(new TFont)
{
    form_ = dynamic_cast<TCustomForm*>(AOwner);
    if (!form_) throw Exception("The gradcapt's owner must be a Form!");
    for (int k = cbkClose; k <= cbkHelp; ++k)
        buttons_[k] = new TGradientCaptionSystemButton(this, static_cast<TCapButtonKind>(k));
    appNameFont_->Assign(form_->GetFont());
    appNameFont_->SetStyle(appNameFont_->GetStyle() | fsBold);
    captionFont_->Assign(form_->GetFont());
    captionFont_->SetStyle(captionFont_->GetStyle() & ~fsBold);
    hwnd_ = form_->GetHandle();
    prevStyle_ = GetWindowLongA(hwnd_, GWL_STYLE);
    // Without the system-menu style Windows draws no caption buttons.
    SetWindowLongA(hwnd_, GWL_STYLE, prevStyle_ & ~WS_SYSMENU);
    hook_ = new TCapHook{this, nullptr};
    SetPropA(hwnd_, HookProp, hook_);
    hook_->Previous =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(GradCapWndProc)));
    UpdateLayout();
    FrameChanged();
}

TGradientCaption::~TGradientCaption()
{
    if (hwnd_ && IsWindow(hwnd_) && hook_) {
        if (reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hwnd_, GWLP_WNDPROC)) == GradCapWndProc) {
            SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(hook_->Previous));
            RemovePropA(hwnd_, HookProp);
            delete hook_;
        } else {
            // Someone subclassed after us: stay in the chain, passing on.
            hook_->Owner = nullptr;
        }
        hook_ = nullptr;
        LONG style = GetWindowLongA(hwnd_, GWL_STYLE);
        SetWindowLongA(hwnd_, GWL_STYLE, style | (prevStyle_ & WS_SYSMENU));
        FrameChanged();
    }
    if (GetCapture() == hwnd_ && tracked_) ReleaseCapture();
}

void TGradientCaption::SetColour(TColor& Field, TColor Value)
{
    if (Field == Value) return;
    Field = Value;
    FrameChanged();
}

void TGradientCaption::SetApplicationName(const AnsiString& Value)
{
    if (Value == appName_) return;
    appName_ = Value;
    FrameChanged();
}

void TGradientCaption::SetApplicationNameFont(const TFont* Value)
{
    appNameFont_->Assign(Value);
    FrameChanged();
}

void TGradientCaption::SetCaptionFont(const TFont* Value)
{
    captionFont_->Assign(Value);
    FrameChanged();
}

void TGradientCaption::SetNumColors(int Value)
{
    if (Value < 1) throw EPropertyError("NumColors must be at least 1");
    if (Value == numColors_) return;
    numColors_ = Value;
    FrameChanged();
}

void TGradientCaption::FrameChanged()
{
    if (!hwnd_ || !IsWindow(hwnd_)) return;
    SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool TGradientCaption::IsFormActive() const
{
    return hwnd_ && GetActiveWindow() == hwnd_;
}

TCapLayoutInput TGradientCaption::LayoutInput() const
{
    TCapLayoutInput in;
    in.Border = ToCapBorder(form_->GetBorderStyle());
    in.BorderIcons = form_->GetBorderIcons();
    in.HadSystemMenu = (prevStyle_ & WS_SYSMENU) != 0;
    in.HasCaption = (prevStyle_ & WS_CAPTION) == WS_CAPTION;
    in.Minimized = hwnd_ && IsIconic(hwnd_);
    RECT w = {0, 0, 0, 0};
    if (hwnd_) GetWindowRect(hwnd_, &w);
    in.WindowWidth = w.right - w.left;
    in.WindowHeight = w.bottom - w.top;
    in.Metrics = SystemMetrics();
    return in;
}

const TCapLayout& TGradientCaption::UpdateLayout()
{
    layout_ = LayoutCaption(LayoutInput());
    for (int k = cbkClose; k <= cbkHelp; ++k) {
        TGradientCaptionSystemButton* b = buttons_[k];
        const TCapButtonLayout& l = layout_.Buttons[k];
        b->shown_ = l.Visible;
        b->enabled_ = l.Enabled;
        b->left_ = l.Rect.Left;
        b->top_ = l.Rect.Top;
        b->width_ = l.Rect.Width();
        b->height_ = l.Rect.Height();
    }
    return layout_;
}

AnsiString TGradientCaption::FitText(HDC DC, const AnsiString& Text, int Width)
{
    // DT_MODIFYSTRING may write up to four characters more.
    std::vector<char> buffer(Text.Length() + 5, '\0');
    std::copy(Text.c_str(), Text.c_str() + Text.Length(), buffer.begin());
    RECT r = {0, 0, std::max(0, Width), 100};
    DrawTextA(DC, buffer.data(), -1, &r,
              DT_SINGLELINE | DT_END_ELLIPSIS | DT_MODIFYSTRING | DT_CALCRECT | DT_NOPREFIX);
    return AnsiString(buffer.data());
}

void TGradientCaption::DrawIcon(HDC DC, const RECT& Caption)
{
    TRect icon = layout_.Icon;
    if (icon.Width() <= 0) return;
    HICON handle = reinterpret_cast<HICON>(SendMessageA(hwnd_, WM_GETICON, ICON_SMALL, 0));
    if (!handle) handle = reinterpret_cast<HICON>(SendMessageA(hwnd_, WM_GETICON, ICON_BIG, 0));
    if (!handle) handle = reinterpret_cast<HICON>(GetClassLongPtrA(hwnd_, GCLP_HICONSM));
    if (!handle) handle = reinterpret_cast<HICON>(GetClassLongPtrA(hwnd_, GCLP_HICON));
    if (!handle) handle = LoadIconA(nullptr, IDI_APPLICATION);
    int left = icon.Left - Caption.left + 2;
    int top = icon.Top - Caption.top + 1;
    int size = std::min(icon.Width() - 2, icon.Height() - 2);
    if (size > 0) DrawIconEx(DC, left, top, handle, size, size, 0, nullptr, DI_NORMAL);
}

void TGradientCaption::DrawTitle(HDC DC, const RECT& Caption, bool Active)
{
    RECT text = ToRECT(layout_.Text);
    OffsetRect(&text, -Caption.left, -Caption.top);
    if (text.right <= text.left) return;
    SetBkMode(DC, TRANSPARENT);
    SetTextColor(DC, ColorToRGB(Active ? activeFont_ : inactiveFontColor_));
    const UINT flags = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX;
    HGDIOBJ old = SelectObject(DC, appNameFont_->GetHandle());
    if (!appName_.IsEmpty()) {
        SIZE ext = {0, 0};
        GetTextExtentPoint32A(DC, appName_.c_str(), appName_.Length(), &ext);
        DrawTextA(DC, appName_.c_str(), -1, &text, flags);
        text.left = std::min(text.right, text.left + int(ext.cx));
    }
    SelectObject(DC, captionFont_->GetHandle());
    AnsiString caption = form_->GetCaption();
    if (text.right > text.left) DrawTextA(DC, caption.c_str(), -1, &text, flags);
    SelectObject(DC, old);
}

void TGradientCaption::DrawButtons(HDC DC, const RECT& Caption, bool Active)
{
    (void)Active;
    for (TGradientCaptionSystemButton* b : buttons_) {
        if (!b->shown_) continue;
        RECT r = b->GetRect();
        OffsetRect(&r, -Caption.left, -Caption.top);
        UINT state = DFCS_CAPTIONCLOSE;
        switch (b->kind_) {
        case cbkClose: state = DFCS_CAPTIONCLOSE; break;
        case cbkMinimize: state = IsIconic(hwnd_) ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMIN; break;
        case cbkMaximize: state = IsZoomed(hwnd_) ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMAX; break;
        case cbkHelp: state = DFCS_CAPTIONHELP; break;
        }
        if (b->pressed_) state |= DFCS_PUSHED;
        if (!b->enabled_) state |= DFCS_INACTIVE;
        DrawFrameControl(DC, &r, DFC_CAPTION, state);
    }
}

void TGradientCaption::DrawCaption(HDC DC, bool Active)
{
    RECT caption = ToRECT(layout_.Caption);
    int w = caption.right - caption.left;
    int h = caption.bottom - caption.top;
    COLORREF begin = ColorToRGB(Active ? activeBegin_ : inactiveBegin_);
    COLORREF end = ColorToRGB(Active ? activeEnd_ : inactiveEnd_);
    for (int i = 0; i < numColors_; ++i) {
        TCapSpan span = GradientBand(i, numColors_, 0, w);
        if (span.Last <= span.First) continue;
        HBRUSH brush = CreateSolidBrush(GradientBandColor(begin, end, i, numColors_));
        HGDIOBJ old = SelectObject(DC, brush);
        PatBlt(DC, span.First, 0, span.Last - span.First, h, PATCOPY);
        SelectObject(DC, old);
        DeleteObject(brush);
    }
    DrawIcon(DC, caption);
    DrawTitle(DC, caption, Active);
    DrawButtons(DC, caption, Active);
}

void TGradientCaption::PaintCaption(bool Active)
{
    if (!hwnd_ || !(GetWindowLongA(hwnd_, GWL_STYLE) & WS_VISIBLE)) return;
    UpdateLayout();
    int w = layout_.Caption.Width();
    int h = layout_.Caption.Height();
    if (w <= 0 || h <= 0) return;
    HDC window = GetWindowDC(hwnd_);
    if (!window) return;
    HDC mem = CreateCompatibleDC(window);
    HBITMAP bitmap = mem ? CreateCompatibleBitmap(window, w, h) : nullptr;
    if (bitmap) {
        HGDIOBJ old = SelectObject(mem, bitmap);
        DrawCaption(mem, Active);
        BitBlt(window, layout_.Caption.Left, layout_.Caption.Top, w, h, mem, 0, 0, SRCCOPY);
        SelectObject(mem, old);
        DeleteObject(bitmap);
    }
    if (mem) DeleteDC(mem);
    ReleaseDC(hwnd_, window);
}

LRESULT TGradientCaption::CallPrevious(UINT Msg, WPARAM WParam, LPARAM LParam)
{
    return CallWindowProcA(hook_->Previous, hwnd_, Msg, WParam, LParam);
}

// The rest of the frame is the previous procedure's, with our caption left
// out of its region.
LRESULT TGradientCaption::NcPaint(WPARAM Region)
{
    UpdateLayout();
    RECT w;
    GetWindowRect(hwnd_, &w);
    HRGN rest = CreateRectRgnIndirect(&w);
    if (Region > 1) CombineRgn(rest, reinterpret_cast<HRGN>(Region), nullptr, RGN_COPY);
    RECT cap = ToRECT(layout_.Caption);
    OffsetRect(&cap, w.left, w.top);
    HRGN capRegion = CreateRectRgnIndirect(&cap);
    CombineRgn(rest, rest, capRegion, RGN_DIFF);
    DeleteObject(capRegion);
    LRESULT r = CallPrevious(WM_NCPAINT, reinterpret_cast<WPARAM>(rest), 0);
    DeleteObject(rest);
    PaintCaption(IsFormActive());
    return r;
}

POINT TGradientCaption::ScreenToWindow(POINT p) const
{
    RECT w;
    GetWindowRect(hwnd_, &w);
    return POINT{p.x - w.left, p.y - w.top};
}

TGradientCaptionSystemButton* TGradientCaption::ButtonAt(POINT Window) const
{
    for (TGradientCaptionSystemButton* b : buttons_)
        if (b->shown_ && layout_.Buttons[b->kind_].Rect.Contains(Window.x, Window.y)) return b;
    return nullptr;
}

void TGradientCaption::PressButton(TGradientCaptionSystemButton* Button)
{
    tracked_ = Button;
    Button->tracking_ = true;
    Button->pressed_ = true;
    SetCapture(hwnd_);
    PaintCaption(IsFormActive());
}

void TGradientCaption::ButtonCommand(TCapButtonKind Kind)
{
    WPARAM command = SC_CLOSE;
    switch (Kind) {
    case cbkClose: command = SC_CLOSE; break;
    case cbkMinimize: command = IsIconic(hwnd_) ? SC_RESTORE : SC_MINIMIZE; break;
    case cbkMaximize: command = IsZoomed(hwnd_) ? SC_RESTORE : SC_MAXIMIZE; break;
    case cbkHelp: command = SC_CONTEXTHELP; break;
    }
    PostMessageA(hwnd_, WM_SYSCOMMAND, command, 0);
}

void TGradientCaption::ShowSystemMenu(POINT Screen)
{
    HMENU menu = GetSystemMenu(hwnd_, FALSE);
    if (!menu) return;
    TCapSysMenuState s = SystemMenuState(IsIconic(hwnd_) != FALSE, IsZoomed(hwnd_) != FALSE,
                                         layout_.Buttons[cbkMinimize], layout_.Buttons[cbkMaximize]);
    auto enable = [menu](UINT item, bool on) { EnableMenuItem(menu, item, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED)); };
    enable(SC_RESTORE, s.Restore);
    enable(SC_MOVE, s.Move);
    enable(SC_SIZE, s.Size && (form_->GetBorderStyle() == bsSizeable || form_->GetBorderStyle() == bsSizeToolWin));
    enable(SC_MINIMIZE, s.Minimize);
    enable(SC_MAXIMIZE, s.Maximize);
    enable(SC_CLOSE, s.Close);
    SetMenuDefaultItem(menu, s.RestoreIsDefault ? SC_RESTORE : SC_CLOSE, FALSE);
    UINT chosen = TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD | TPM_LEFTBUTTON | TPM_RIGHTBUTTON,
                                 Screen.x, Screen.y, 0, hwnd_, nullptr);
    if (chosen) PostMessageA(hwnd_, WM_SYSCOMMAND, chosen, 0);
}

// Non-client mouse messages over the caption; true when handled here.
bool TGradientCaption::NcMouse(UINT Msg, WPARAM HitTest, POINT Screen)
{
    UpdateLayout();
    POINT p = ScreenToWindow(Screen);
    if (!layout_.Caption.Contains(p.x, p.y) && !IsIconic(hwnd_)) return false;
    if (Msg == WM_NCLBUTTONDOWN || Msg == WM_NCRBUTTONDOWN || Msg == WM_NCMBUTTONDOWN) BringWindowToTop(hwnd_);
    bool iconic = IsIconic(hwnd_) != FALSE;
    TGradientCaptionSystemButton* button = ButtonAt(p);
    switch (Msg) {
    case WM_NCLBUTTONDOWN:
        if (iconic) {
            RECT w;
            GetWindowRect(hwnd_, &w);
            iconicPress_ = true;
            iconicMoved_ = false;
            iconicPressAt_ = Screen;
            iconicOrigin_ = POINT{w.left, w.top};
            SetCapture(hwnd_);
            return true;
        }
        if (button) {
            if (button->enabled_) PressButton(button);
            return true;
        }
        if (layout_.Icon.Contains(p.x, p.y)) {
            DWORD now = GetTickCount();
            if (lastIconClick_ && now - lastIconClick_ <= GetDoubleClickTime()) {
                lastIconClick_ = 0;
                PostMessageA(hwnd_, WM_SYSCOMMAND, SC_CLOSE, 0);
                return true;
            }
            lastIconClick_ = now;
            RECT w;
            GetWindowRect(hwnd_, &w);
            ShowSystemMenu(POINT{w.left + layout_.Icon.Left, w.top + layout_.Icon.Bottom});
            // A press that closed the menu on the icon must not open it
            // again; its release is then the second click of a double-click.
            MSG leftover;
            iconReclicked_ = false;
            if (PeekMessageA(&leftover, hwnd_, WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_REMOVE)) {
                POINT q = ScreenToWindow(PointFromLParam(leftover.lParam));
                iconReclicked_ = layout_.Icon.Contains(q.x, q.y);
            }
            return true;
        }
        return false;
    case WM_NCLBUTTONUP:
        // The click that closed the icon's menu, released soon after the
        // press that opened it: a double-click on the icon.
        if (iconReclicked_ && layout_.Icon.Contains(p.x, p.y) && GetTickCount() - lastIconClick_ <= GetDoubleClickTime()) {
            iconReclicked_ = false;
            lastIconClick_ = 0;
            PostMessageA(hwnd_, WM_SYSCOMMAND, SC_CLOSE, 0);
            return true;
        }
        return false;
    case WM_NCLBUTTONDBLCLK: {
        if (button || layout_.Icon.Contains(p.x, p.y)) return true;
        const TCapButtonLayout& max = layout_.Buttons[cbkMaximize];
        if (HitTest == HTCAPTION && layout_.Text.Contains(p.x, p.y) && max.Visible && max.Enabled)
            PostMessageA(hwnd_, WM_SYSCOMMAND, IsZoomed(hwnd_) ? SC_RESTORE : SC_MAXIMIZE, 0);
        return true;
    }
    case WM_NCRBUTTONDOWN:
        rightPending_ = !button;
        return true;
    case WM_NCRBUTTONUP:
        if (rightPending_ && !button) {
            rightPending_ = false;
            ShowSystemMenu(Screen);
        }
        rightPending_ = false;
        return true;
    case WM_NCMBUTTONDOWN: return button != nullptr;
    default: return false;
    }
}

namespace {

// The caption whose minimised form shows its system menu now: a double-click
// seen by the thread's mouse hook meanwhile restores that form.
TGradientCaption* iconicMenuOwner = nullptr;
HHOOK iconicMenuHook = nullptr;
bool iconicDoubleClick = false;

LRESULT CALLBACK IconicMenuMouseHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION && (wParam == WM_LBUTTONDBLCLK || wParam == WM_NCLBUTTONDBLCLK) && iconicMenuOwner) {
        iconicDoubleClick = true;
        EndMenu();
    }
    return CallNextHookEx(iconicMenuHook, code, wParam, lParam);
}

}  // namespace

void TGradientCaption::ShowIconicMenu(POINT Screen)
{
    iconicMenuOwner = this;
    iconicDoubleClick = false;
    iconicMenuHook = SetWindowsHookExA(WH_MOUSE, IconicMenuMouseHook, nullptr, GetCurrentThreadId());
    ShowSystemMenu(Screen);
    if (iconicMenuHook) UnhookWindowsHookEx(iconicMenuHook);
    iconicMenuHook = nullptr;
    iconicMenuOwner = nullptr;
    if (iconicDoubleClick) PostMessageA(hwnd_, WM_SYSCOMMAND, SC_RESTORE, 0);
}

// Mouse messages while a minimised form is pressed (it has the capture).
bool TGradientCaption::IconicMouse(UINT Msg, POINT Screen)
{
    if (Msg == WM_MOUSEMOVE) {
        int dx = Screen.x - iconicPressAt_.x;
        int dy = Screen.y - iconicPressAt_.y;
        if (dx || dy) iconicMoved_ = true;
        if (iconicMoved_)
            SetWindowPos(hwnd_, nullptr, iconicOrigin_.x + dx, iconicOrigin_.y + dy, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return true;
    }
    if (Msg != WM_LBUTTONUP) return Msg >= WM_MOUSEFIRST && Msg <= WM_MOUSELAST;
    iconicPress_ = false;
    if (GetCapture() == hwnd_) ReleaseCapture();
    if (!iconicMoved_) {
        ShowIconicMenu(Screen);
        return true;
    }
    // The placement keeps where the minimised form now stands.
    RECT w;
    GetWindowRect(hwnd_, &w);
    WINDOWPLACEMENT wp = {};
    wp.length = sizeof(wp);
    GetWindowPlacement(hwnd_, &wp);
    wp.flags |= WPF_SETMINPOSITION;
    wp.ptMinPosition = POINT{w.left, w.top};
    SetWindowPlacement(hwnd_, &wp);
    return true;
}

// Mouse messages while a button is tracked (the window has the capture).
bool TGradientCaption::TrackMouse(UINT Msg, POINT Client)
{
    if (iconicPress_) {
        POINT screen = Client;
        ::ClientToScreen(hwnd_, &screen);
        return IconicMouse(Msg, screen);
    }
    if (!tracked_) return false;
    POINT screen = Client;
    ::ClientToScreen(hwnd_, &screen);
    POINT p = ScreenToWindow(screen);
    TGradientCaptionSystemButton* b = tracked_;
    bool over = CapButtonHit(layout_.Buttons[b->kind_].Rect, b->kind_, p.x, p.y);
    if (Msg == WM_MOUSEMOVE) {
        if (over != b->pressed_) {
            b->pressed_ = over;
            PaintCaption(IsFormActive());
        }
        return true;
    }
    if (Msg == WM_LBUTTONUP) {
        tracked_ = nullptr;
        b->tracking_ = false;
        b->pressed_ = false;
        if (GetCapture() == hwnd_) ReleaseCapture();
        PaintCaption(IsFormActive());
        if (over) ButtonCommand(b->kind_);
        return true;
    }
    return Msg >= WM_MOUSEFIRST && Msg <= WM_MOUSELAST;
}

LRESULT TGradientCaption::HookProc(UINT Msg, WPARAM WParam, LPARAM LParam)
{
    switch (Msg) {
    case WM_NCPAINT: return NcPaint(WParam);
    case WM_NCACTIVATE:
        // Answered here: the caption is ours, and TRUE lets the form go inactive.
        PaintCaption(WParam != FALSE);
        return TRUE;
    case WM_SETTEXT:
    case WM_SETICON: {
        LRESULT r = CallPrevious(Msg, WParam, LParam);
        PaintCaption(IsFormActive());
        return r;
    }
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
    case WM_NCLBUTTONDBLCLK:
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONUP:
    case WM_NCMBUTTONDOWN:
        if (NcMouse(Msg, WParam, PointFromLParam(LParam))) return 0;
        break;
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
        if (TrackMouse(Msg, PointFromLParam(LParam))) return 0;
        break;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(LParam) != hwnd_) iconicPress_ = false;
        if (tracked_ && reinterpret_cast<HWND>(LParam) != hwnd_) {
            tracked_->pressed_ = tracked_->tracking_ = false;
            tracked_ = nullptr;
            PaintCaption(IsFormActive());
        }
        break;
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED: {
        LRESULT r = CallPrevious(Msg, WParam, LParam);
        UpdateLayout();
        return r;
    }
    default: break;
    }
    return CallPrevious(Msg, WParam, LParam);
}
