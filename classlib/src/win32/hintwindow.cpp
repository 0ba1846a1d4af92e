// The hint window and the timers that show and hide it. One window serves
// the whole program; it is made with the first hint and never takes the
// activation or the mouse.
#include "hintwindow.h"

#include <algorithm>

#include "controls.h"
#include "exceptions.h"
#include "handleexception.h"
#include "wndproc.h"

namespace {

const char HintClass[] = "ClassLibHintWindow";
const UINT_PTR ShowTimer = 1, HideTimer = 2;
const int TextMargin = 2;
const int MaxTextWidth = 300;

struct HintState {
    HWND window = nullptr;
    TControl* waiting = nullptr;  // the pointer rests on it; its hint is due
    TControl* shown = nullptr;    // the control whose hint shows
    AnsiString text;
};

// Never freed: controls still report their end while static objects go.
HintState& State()
{
    static HintState* state = new HintState;
    return *state;
}

HFONT HintFont() { return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

void PaintHint(HWND hwnd)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT r;
    GetClientRect(hwnd, &r);
    FillRect(dc, &r, GetSysColorBrush(COLOR_INFOBK));
    HGDIOBJ oldFont = SelectObject(dc, HintFont());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
    InflateRect(&r, -TextMargin, -TextMargin);
    const AnsiString& text = State().text;
    DrawTextA(dc, text.c_str(), text.Length(), &r, DT_LEFT | DT_NOPREFIX | DT_WORDBREAK);
    SelectObject(dc, oldFont);
    EndPaint(hwnd, &ps);
}

void ShowDueHint();

LRESULT CALLBACK HintProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    try {
        switch (msg) {
        case WM_PAINT: PaintHint(hwnd); return 0;
        // The hint lies under the pointer's path: clicks go through it.
        case WM_NCHITTEST: return HTTRANSPARENT;
        case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
        case WM_TIMER:
            KillTimer(hwnd, wp);
            if (wp == ShowTimer) ShowDueHint();
            if (wp == HideTimer) CancelHint();
            return 0;
        default: break;
        }
    } catch (...) {
        HandleCallbackException();
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

HWND HintWindow()
{
    HintState& s = State();
    if (s.window && IsWindow(s.window)) return s.window;
    WNDCLASSA wc = {};
    wc.style = CS_SAVEBITS;
    wc.lpfnWndProc = HintProc;
    wc.hInstance = ClassLibInstance();
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = HintClass;
    if (!RegisterClassA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        throw EOutOfResources("Cannot register the hint window class");
    s.window = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, HintClass, "",
                               WS_POPUP | WS_BORDER, 0, 0, 0, 0, nullptr, nullptr, ClassLibInstance(), nullptr);
    if (!s.window) throw EOutOfResources("Cannot create the hint window");
    return s.window;
}

// The window's outer size for the text, wrapped at MaxTextWidth.
SIZE HintSize(HWND hwnd, const AnsiString& text)
{
    HDC dc = GetDC(hwnd);
    HGDIOBJ oldFont = SelectObject(dc, HintFont());
    RECT r = {0, 0, MaxTextWidth, 0};
    DrawTextA(dc, text.c_str(), text.Length(), &r, DT_LEFT | DT_NOPREFIX | DT_WORDBREAK | DT_CALCRECT);
    SelectObject(dc, oldFont);
    ReleaseDC(hwnd, dc);
    RECT outer = {0, 0, r.right + 2 * TextMargin, r.bottom + 2 * TextMargin};
    AdjustWindowRectEx(&outer, WS_POPUP | WS_BORDER, FALSE, WS_EX_TOOLWINDOW);
    return SIZE{outer.right - outer.left, outer.bottom - outer.top};
}

// Below the pointer, kept on the screen.
POINT HintPlace(SIZE size)
{
    POINT p;
    GetCursorPos(&p);
    p.y += GetSystemMetrics(SM_CYCURSOR) * 2 / 3;
    int screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
    p.x = std::max(0L, std::min(p.x, LONG(screenW - size.cx)));
    if (p.y + size.cy > screenH) p.y -= size.cy + GetSystemMetrics(SM_CYCURSOR);
    p.y = std::max(0L, p.y);
    return p;
}

void ShowDueHint()
{
    HintState& s = State();
    TControl* control = s.waiting;
    s.waiting = nullptr;
    if (!control || !control->MouseInControl() || !HintWanted(control)) return;
    HWND hwnd = HintWindow();
    s.text = control->GetHint();
    s.shown = control;
    SIZE size = HintSize(hwnd, s.text);
    POINT at = HintPlace(size);
    SetWindowTextA(hwnd, s.text.c_str());
    SetWindowPos(hwnd, HWND_TOPMOST, at.x, at.y, size.cx, size.cy, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    InvalidateRect(hwnd, nullptr, TRUE);
    SetTimer(hwnd, HideTimer, HintHidePauseMs, nullptr);
}

}  // namespace

bool HintWanted(TControl* control)
{
    if (!control || control->GetHint().IsEmpty()) return false;
    for (TControl* c = control; c; c = c->GetParent())
        if (c->GetShowHint()) return true;
    return false;
}

void HintMouseEntered(TControl* control)
{
    if (!HintWanted(control)) return;
    HintState& s = State();
    if (s.shown == control) return;
    CancelHint();
    s.waiting = control;
    SetTimer(HintWindow(), ShowTimer, HintPauseMs, nullptr);
}

void HintMouseLeft(TControl* control)
{
    HintState& s = State();
    if (control && (control == s.waiting || control == s.shown)) CancelHint();
}

void CancelHint()
{
    HintState& s = State();
    s.waiting = nullptr;
    s.shown = nullptr;
    if (!s.window) return;
    KillTimer(s.window, ShowTimer);
    KillTimer(s.window, HideTimer);
    ShowWindow(s.window, SW_HIDE);
}

void HintControlGone(TControl* control) { HintMouseLeft(control); }

HWND HintWindowHandle() { return State().window; }

bool HintShowing(AnsiString* text)
{
    HintState& s = State();
    bool showing = s.shown && s.window && IsWindowVisible(s.window);
    if (showing && text) *text = s.text;
    return showing;
}
