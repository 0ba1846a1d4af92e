// Pieces shared by the tool window's modal mouse loops (moving, resizing,
// the close button): the exclusive-or outline on the desktop, the grab of
// capture and desktop lock that every way out of a loop releases.
#ifndef KESTREL_DRAG_LOOP_H
#define KESTREL_DRAG_LOOP_H

#include "winapi.h"

#include <algorithm>

#include "geometry_winapi.h"
#include "tool_window_model.h"

namespace drag_loop {

// Draws and erases the drag outline on the desktop in exclusive-or fashion
// with a halftone brush, so that drawing twice erases.
class TOutline {
public:
    explicit TOutline(HDC dc) : dc_(dc)
    {
        static const WORD pattern[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
        bitmap_ = CreateBitmap(8, 8, 1, 1, pattern);
        brush_ = CreatePatternBrush(bitmap_);
    }
    ~TOutline()
    {
        Erase();
        DeleteObject(brush_);
        DeleteObject(bitmap_);
    }
    TOutline(const TOutline&) = delete;
    TOutline& operator=(const TOutline&) = delete;

    void Show(const RECT& r, int thickness)
    {
        if (drawn_ && EqualRect(&r, &rect_) && thickness == thickness_) return;
        Erase();
        rect_ = r;
        thickness_ = thickness;
        Draw();
        drawn_ = true;
    }
    void Erase()
    {
        if (!drawn_) return;
        Draw();
        drawn_ = false;
    }

private:
    void Draw()
    {
        if (!dc_) return;
        HGDIOBJ old = SelectObject(dc_, brush_);
        int w = rect_.right - rect_.left;
        int h = rect_.bottom - rect_.top;
        int t = std::min(thickness_, std::min(w, h) / 2);
        if (t < 1) t = 1;
        PatBlt(dc_, rect_.left, rect_.top, w, t, PATINVERT);
        PatBlt(dc_, rect_.left, rect_.bottom - t, w, t, PATINVERT);
        PatBlt(dc_, rect_.left, rect_.top + t, t, h - 2 * t, PATINVERT);
        PatBlt(dc_, rect_.right - t, rect_.top + t, t, h - 2 * t, PATINVERT);
        SelectObject(dc_, old);
    }

    HDC dc_;
    HBITMAP bitmap_ = nullptr;
    HBRUSH brush_ = nullptr;
    RECT rect_ = {0, 0, 0, 0};
    int thickness_ = 1;
    bool drawn_ = false;
};

// Mouse capture, the desktop lock and its DC, released on every way out of
// a loop.
class TLoopGrab {
public:
    explicit TLoopGrab(HWND wnd) : wnd_(wnd)
    {
        MSG msg;
        // Paint what is pending before the desktop is locked.
        while (PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) DispatchMessageA(&msg);
        locked_ = LockWindowUpdate(GetDesktopWindow()) != FALSE;
        dc_ = GetDCEx(GetDesktopWindow(), nullptr, DCX_CACHE | (locked_ ? DCX_LOCKWINDOWUPDATE : 0));
        SetCapture(wnd_);
    }
    ~TLoopGrab()
    {
        if (GetCapture() == wnd_) ReleaseCapture();
        ClipCursor(nullptr);
        if (dc_) ReleaseDC(GetDesktopWindow(), dc_);
        if (locked_) LockWindowUpdate(nullptr);
    }
    TLoopGrab(const TLoopGrab&) = delete;
    TLoopGrab& operator=(const TLoopGrab&) = delete;
    HDC DC() const { return dc_; }

private:
    HWND wnd_;
    HDC dc_ = nullptr;
    bool locked_ = false;
};

// The pointer on the screen for a mouse message taken while we hold the
// capture, whose place is relative to our client area.
inline POINT ScreenPointOf(HWND wnd, const MSG& msg)
{
    POINT p = PointFromLParam(msg.lParam);
    ClientToScreen(wnd, &p);
    return p;
}

inline bool IsMouseButtonMessage(UINT m)
{
    return m >= WM_LBUTTONDOWN && m <= WM_MBUTTONDBLCLK;
}

}  // namespace drag_loop

#endif
