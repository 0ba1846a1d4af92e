// Helpers for GUI tests under Xvfb: pump messages, send input, read pixels
// back, record message boxes and help calls, and count GUI objects to prove
// that nothing leaks.
//
// Input: SendMessage is deterministic and is the default. The Input*
// functions use SendInput, which is needed where the modifier keys' state
// (GetKeyState) or WM_MOUSELEAVE matters (measured: SendMessage leaves
// Shift/Ctrl/Alt clear; only a real move produces WM_MOUSELEAVE). Measured
// too: once a process has called SetCursorPos, later SendInput moves in it
// brought no WM_MOUSEMOVE, so a test that needs real moves relies on running
// in its own process (ctest runs each test so).
//
// Header-only: the build takes only *_test.cpp from this folder.
#ifndef TESTS_GUI_HARNESS_H
#define TESTS_GUI_HARNESS_H

#include <stdint.h>
#include <string.h>

#include <vector>

#include "application.h"
#include "bitmap.h"
#include "buttons.h"
#include "screen.h"

namespace gui {

// Handles every message waiting (through the Application when there is one,
// so dialog keys take the loop's path), paints included.
inline void PumpUntilIdle(int maxMessages = 10000)
{
    MSG msg;
    for (int n = 0; n < maxMessages; ++n) {
        if (Application) {
            if (!Application->ProcessMessage(msg)) return;
            continue;
        }
        if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) return;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// The window that receives a control's mouse input, and the offset of the
// control inside it (graphic controls get theirs through the parent).
inline HWND MouseTarget(TControl* control, int& x, int& y)
{
    while (!dynamic_cast<TWinControl*>(control)) {
        x += control->GetLeft();
        y += control->GetTop();
        control = control->GetParent();
    }
    return static_cast<TWinControl*>(control)->GetHandle();
}

inline LPARAM PointParam(int x, int y)
{
    return MAKELPARAM(static_cast<WORD>(static_cast<short>(x)), static_cast<WORD>(static_cast<short>(y)));
}

// Keys: MK_SHIFT, MK_CONTROL, ... as in the message's WParam.
inline void MouseMove(TControl* control, int x, int y, WPARAM keys = 0)
{
    HWND hwnd = MouseTarget(control, x, y);
    SendMessageA(hwnd, WM_MOUSEMOVE, keys, PointParam(x, y));
}

inline void MouseDown(TControl* control, int x, int y, TMouseButton button = mbLeft, WPARAM keys = 0)
{
    static const UINT msgs[] = {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN};
    static const WPARAM held[] = {MK_LBUTTON, MK_RBUTTON, MK_MBUTTON};
    HWND hwnd = MouseTarget(control, x, y);
    SendMessageA(hwnd, msgs[button], keys | held[button], PointParam(x, y));
}

inline void MouseUp(TControl* control, int x, int y, TMouseButton button = mbLeft, WPARAM keys = 0)
{
    static const UINT msgs[] = {WM_LBUTTONUP, WM_RBUTTONUP, WM_MBUTTONUP};
    HWND hwnd = MouseTarget(control, x, y);
    SendMessageA(hwnd, msgs[button], keys, PointParam(x, y));
}

inline void Click(TControl* control, int x, int y, TMouseButton button = mbLeft)
{
    MouseMove(control, x, y);
    MouseDown(control, x, y, button);
    MouseUp(control, x, y, button);
}

inline void DoubleClick(TControl* control, int x, int y)
{
    int wx = x;
    int wy = y;
    HWND hwnd = MouseTarget(control, wx, wy);
    Click(control, x, y);
    SendMessageA(hwnd, WM_LBUTTONDBLCLK, MK_LBUTTON, PointParam(wx, wy));
    SendMessageA(hwnd, WM_LBUTTONUP, 0, PointParam(wx, wy));
}

// WM_KEYDOWN then WM_KEYUP (WM_SYSKEY* with the Alt bit when alt is set).
inline void KeyDown(TWinControl* control, WORD vk, bool alt = false)
{
    LPARAM data = 1 | (alt ? (KF_ALTDOWN << 16) : 0);
    SendMessageA(control->GetHandle(), alt ? WM_SYSKEYDOWN : WM_KEYDOWN, vk, data);
    SendMessageA(control->GetHandle(), alt ? WM_SYSKEYUP : WM_KEYUP, vk, data | 0xC0000000);
}

inline void KeyPress(TWinControl* control, char ch)
{
    SendMessageA(control->GetHandle(), WM_CHAR, static_cast<unsigned char>(ch), 1);
}

// A key through the message loop, as typed: dialog keys (Tab, Enter,
// Escape, arrows) reach the form first.
inline void PostKey(TWinControl* control, WORD vk)
{
    PostMessageA(control->GetHandle(), WM_KEYDOWN, vk, 1);
    PostMessageA(control->GetHandle(), WM_KEYUP, vk, 0xC0000001);
    PumpUntilIdle();
}

inline void InputKey(WORD vk, bool up)
{
    INPUT in = {};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &in, sizeof(in));
}

// vk pressed with a modifier (VK_SHIFT, VK_CONTROL, VK_MENU, or 0) held, as
// real input to the focused window; then pumped.
inline void InputKeyStroke(WORD vk, WORD modifier = 0)
{
    if (modifier) InputKey(modifier, false);
    InputKey(vk, false);
    InputKey(vk, true);
    if (modifier) InputKey(modifier, true);
    PumpUntilIdle();
}

// Moves the real mouse pointer to a screen point, then pumps.
inline void InputMouseMoveTo(int screenX, int screenY)
{
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dx = MulDiv(screenX, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = MulDiv(screenY, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &in, sizeof(in));
    PumpUntilIdle();
}

// The speed button with this caption in c or among its controls, at any
// depth; null when there is none.
inline TSpeedButton* FindButton(TControl* c, const AnsiString& caption)
{
    auto* b = dynamic_cast<TSpeedButton*>(c);
    if (b && b->GetCaption() == caption) return b;
    auto* w = dynamic_cast<TWinControl*>(c);
    for (int i = 0; w && i < w->GetControlCount(); ++i)
        if (TSpeedButton* found = FindButton(w->GetControl(i), caption)) return found;
    return nullptr;
}

// Pixels as 0x00RRGGBB, top row first.
struct TPixels {
    int Width = 0;
    int Height = 0;
    std::vector<uint32_t> Data;
    uint32_t At(int x, int y) const { return Data.at(size_t(y) * Width + x) & 0xFFFFFF; }
};

// A 32-bit top-down DIB selected into a memory DC, to paint into and read.
class TDibDC {
public:
    TDibDC(int w, int h) : width_(w), height_(h)
    {
        BITMAPINFO bi = TopDownInfo32(w, h);
        dc_ = CreateCompatibleDC(nullptr);
        dib_ = CreateDIBSection(dc_, &bi, DIB_RGB_COLORS, &bits_, nullptr, 0);
        old_ = SelectObject(dc_, dib_);
    }
    ~TDibDC()
    {
        SelectObject(dc_, old_);
        DeleteObject(dib_);
        DeleteDC(dc_);
    }
    TDibDC(const TDibDC&) = delete;
    TDibDC& operator=(const TDibDC&) = delete;

    HDC Get() const { return dc_; }
    uint32_t At(int x, int y) const
    {
        GdiFlush();
        return static_cast<const uint32_t*>(bits_)[y * width_ + x] & 0xFFFFFF;
    }
    TPixels Pixels() const
    {
        GdiFlush();
        TPixels out;
        out.Width = width_;
        out.Height = height_;
        if (!bits_) return out;
        const uint32_t* p = static_cast<const uint32_t*>(bits_);
        out.Data.assign(p, p + size_t(width_) * height_);
        for (uint32_t& v : out.Data) v &= 0xFFFFFF;
        return out;
    }

private:
    int width_;
    int height_;
    HDC dc_;
    HBITMAP dib_;
    HGDIOBJ old_;
    void* bits_ = nullptr;
};

// What a window shows: its client area, or with wholeWindow its whole area
// (frame and caption included, in window coordinates).
inline TPixels ReadPixels(HWND hwnd, bool wholeWindow = false)
{
    RECT r;
    if (wholeWindow) {
        GetWindowRect(hwnd, &r);
        OffsetRect(&r, -r.left, -r.top);
    } else {
        GetClientRect(hwnd, &r);
    }
    if (r.right <= 0 || r.bottom <= 0) return TPixels();
    TDibDC mem(r.right, r.bottom);
    HDC window = wholeWindow ? GetWindowDC(hwnd) : GetDC(hwnd);
    BitBlt(mem.Get(), 0, 0, r.right, r.bottom, window, 0, 0, SRCCOPY);
    ReleaseDC(hwnd, window);
    return mem.Pixels();
}

// Replaces the Application's message boxes and help calls while it lives.
class TRecorder {
public:
    struct Box {
        AnsiString Text;
        AnsiString Caption;
        UINT Flags;
    };
    struct Help {
        AnsiString File;
        unsigned Command;
        ULONG_PTR Data;
    };

    explicit TRecorder(TApplication* app) : app_(app)
    {
        app_->MessageBoxHook = [this](const AnsiString& text, const AnsiString& caption, UINT flags) {
            Boxes.push_back(Box{text, caption, flags});
            return Reply;
        };
        app_->HelpHook = [this](const AnsiString& file, unsigned command, ULONG_PTR data) {
            Helps.push_back(Help{file, command, data});
            return true;
        };
    }
    ~TRecorder()
    {
        app_->MessageBoxHook = nullptr;
        app_->HelpHook = nullptr;
    }
    TRecorder(const TRecorder&) = delete;
    TRecorder& operator=(const TRecorder&) = delete;

    std::vector<Box> Boxes;
    std::vector<Help> Helps;
    int Reply = IDOK;  // the button every box answers

private:
    TApplication* app_;
};

namespace detail {

inline BOOL CALLBACK CountChild(HWND, LPARAM data)
{
    ++*reinterpret_cast<int*>(data);
    return TRUE;
}

inline BOOL CALLBACK CountTopLevel(HWND hwnd, LPARAM data)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == GetCurrentProcessId()) ++*reinterpret_cast<int*>(data);
    return TRUE;
}

inline BOOL CALLBACK CountAll(HWND hwnd, LPARAM data)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != GetCurrentProcessId()) return TRUE;
    ++*reinterpret_cast<int*>(data);
    EnumChildWindows(hwnd, CountChild, data);
    return TRUE;
}

// Wine has no GetGuiResources; its GDI handle table is reachable from the
// PEB (GdiSharedHandleTable): 65536 entries of 24 bytes, byte 14 the
// object's type, 0 when free (measured with Wine 8).
inline DWORD WineGdiObjects()
{
    unsigned char* peb = nullptr;
    __asm__("movl %%fs:0x30, %0" : "=r"(peb));
    const unsigned char* table = *reinterpret_cast<unsigned char* const*>(peb + 0x94);
    if (!table) return 0;
    DWORD n = 0;
    for (unsigned i = 0; i < 0x10000; ++i)
        if (table[i * 24 + 14]) ++n;
    return n;
}

inline bool UnderWine()
{
    return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}

}  // namespace detail

inline int LiveTopLevelWindows()
{
    int n = 0;
    EnumWindows(detail::CountTopLevel, reinterpret_cast<LPARAM>(&n));
    return n;
}

// GDI objects, USER objects (under Wine: windows, top-level and child) and
// top-level windows of this process.
struct TGuiCounts {
    DWORD Gdi = 0;
    DWORD User = 0;
    int TopLevel = 0;
    bool operator==(const TGuiCounts& o) const { return Gdi == o.Gdi && User == o.User && TopLevel == o.TopLevel; }
};

inline TGuiCounts CountGuiObjects()
{
    GdiFlush();
    TGuiCounts c;
    c.Gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    c.User = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    if (c.Gdi == 0 && detail::UnderWine()) {
        c.Gdi = detail::WineGdiObjects();
        int windows = 0;
        EnumWindows(detail::CountAll, reinterpret_cast<LPARAM>(&windows));
        c.User = static_cast<DWORD>(windows);
    }
    c.TopLevel = LiveTopLevelWindows();
    return c;
}

}  // namespace gui

#endif
