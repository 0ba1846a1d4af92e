// The tool window's modal mouse loops: dragging to a dock or to a floating
// place, and resizing a floating window by its borders.
#include <algorithm>

#include "forms.h"
#include "screen.h"
#include "tool_window_model.h"
#include "drag_loop.h"
#include "tool_window.h"
#include "workarea.h"

namespace {

// The docks a form offers: depth first, top docks first, then bottom, left
// and right ones (each searched for nested ones), then other windows.
void CollectDocks(TWinControl* parent, std::vector<TDock*>& out)
{
    static const TDockPosition order[] = {dpTop, dpBottom, dpLeft, dpRight};
    for (TDockPosition pos : order) {
        for (int i = 0; i < parent->GetControlCount(); ++i) {
            TDock* dock = dynamic_cast<TDock*>(parent->GetControl(i));
            if (dock && dock->GetPosition() == pos) {
                out.push_back(dock);
                CollectDocks(dock, out);
            }
        }
    }
    for (int i = 0; i < parent->GetControlCount(); ++i) {
        TControl* c = parent->GetControl(i);
        TWinControl* w = dynamic_cast<TWinControl*>(c);
        if (w && !dynamic_cast<TDock*>(c) && !dynamic_cast<TCustomToolWindow*>(c)) CollectDocks(w, out);
    }
}

// Ctrl held when the drag starts; later changes come as key messages.
bool CtrlHeld()
{
    return GetKeyState(VK_CONTROL) < 0 || (GetAsyncKeyState(VK_CONTROL) & 0x8000) != 0;
}

struct TCandidate {
    TDock* Dock;
    SIZE Size;  // outer size docked there
};

struct TDragState {
    POINT Grab;
    SIZE Start;
    SIZE Floating;
    std::vector<TCandidate> Docks;
    bool NoDock = false;
    TDock* Target = nullptr;
    RECT Outline = {0, 0, 0, 0};
    POINT Last = {0, 0};
};

}  // namespace

void TCustomToolWindow::BeginMoving(POINT Grab)
{
    TCustomForm* form = GetParentForm();
    if (!form) return;
    TDragState st;
    st.Grab = Grab;
    st.Start = SIZE{GetWidth(), GetHeight()};
    st.NoDock = CtrlHeld();
    std::vector<TDock*> docks;
    CollectDocks(form, docks);
    if (Screen) {
        for (int i = 0; i < Screen->GetFormCount(); ++i) {
            TCustomForm* f = Screen->GetForms(i);
            if (f != form && std::find(dockForms_.begin(), dockForms_.end(), f) != dockForms_.end())
                CollectDocks(f, docks);
        }
    }
    SIZE client;
    OrderControls(false, nullptr, client);
    RECT ff = FloatingFrame();
    st.Floating = SIZE{client.cx + ff.left + ff.right, client.cy + ff.top + ff.bottom};
    for (TDock* d : docks) {
        if (!d->GetVisible() || !d->GetAllowDrag() || !(dockableTo_ & DockableBit(d->GetPosition()))) continue;
        if (!d->HandleAllocated() || !IsWindowVisible(d->GetHandle())) continue;
        SIZE size{GetWidth(), GetHeight()};
        if (d != dockedTo_) {
            OrderControls(false, d, client);
            RECT f = DockedFrame(d);
            size = SIZE{client.cx + f.left + f.right, client.cy + f.top + f.bottom};
        }
        st.Docks.push_back(TCandidate{d, size});
    }

    HWND wnd = GetHandle();
    bool accepted = false;
    {
        drag_loop::TLoopGrab grab(wnd);
        drag_loop::TOutline outline(grab.DC());
        auto step = [&](POINT p) {
            st.Last = p;
            st.Target = nullptr;
            SIZE size = st.Floating;
            if (!st.NoDock) {
                for (const TCandidate& c : st.Docks) {
                    RECT dr;
                    GetWindowRect(c.Dock->GetHandle(), &dr);
                    if (c.Dock->GetToolbarCount() == 0) {
                        if (c.Dock->IsVertical())
                            InflateRect(&dr, 1, 0);
                        else
                            InflateRect(&dr, 0, 1);
                    }
                    TRect zone = DockZone(ToTRect(dr), st.Grab.x, st.Grab.y, st.Start.cx, st.Start.cy);
                    if (!zone.Contains(p.x, p.y)) continue;
                    int left = OutlineStart(p.x, st.Grab.x, st.Start.cx, c.Size.cx);
                    int top = OutlineStart(p.y, st.Grab.y, st.Start.cy, c.Size.cy);
                    TRect r{left, top, left + c.Size.cx, top + c.Size.cy};
                    if (!r.Intersects(ToTRect(dr))) continue;
                    if (c.Dock->IsVertical() && (p.y < dr.top || p.y >= dr.bottom)) continue;
                    bool accept = true;
                    if (c.Dock->OnRequestDock) c.Dock->OnRequestDock(c.Dock, this, accept);
                    if (!accept) continue;
                    st.Target = c.Dock;
                    st.Outline = ToRECT(r);
                    outline.Show(st.Outline, 1);
                    return;
                }
            }
            RECT here = {p.x, p.y, p.x + 1, p.y + 1};
            RECT work = WorkAreaNear(here);
            p.x = std::min(std::max(p.x, work.left), work.right - 1);
            p.y = std::min(std::max(p.y, work.top), work.bottom - 1);
            int left = OutlineStart(p.x, st.Grab.x, st.Start.cx, size.cx);
            int top = OutlineStart(p.y, st.Grab.y, st.Start.cy, size.cy);
            TRect r{left, top, left + size.cx, top + size.cy};
            r = KeepOutlineReachable(r, ToTRect(work), ff.left, ff.top - ff.bottom);
            st.Outline = ToRECT(r);
            outline.Show(st.Outline, ff.left);
        };
        // Start where the press was, whatever the cursor says by now.
        RECT wr;
        GetWindowRect(wnd, &wr);
        step(POINT{wr.left + Grab.x, wr.top + Grab.y});
        MSG msg;
        while (GetCapture() == wnd) {
            if (!GetMessageA(&msg, nullptr, 0, 0)) {
                PostQuitMessage(static_cast<int>(msg.wParam));
                break;
            }
            switch (msg.message) {
            case WM_MOUSEMOVE: step(drag_loop::ScreenPointOf(wnd, msg)); continue;
            case WM_LBUTTONUP:
                step(drag_loop::ScreenPointOf(wnd, msg));
                accepted = true;
                break;
            case WM_LBUTTONDOWN:
            case WM_LBUTTONDBLCLK: break;
            case WM_KEYDOWN:
            case WM_KEYUP:
                if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) break;
                if (msg.wParam == VK_CONTROL) {
                    st.NoDock = msg.message == WM_KEYDOWN;
                    step(st.Last);
                }
                continue;
            default:
                if (drag_loop::IsMouseButtonMessage(msg.message)) continue;
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
                continue;
            }
            break;
        }
    }
    if (!accepted) return;
    if (st.Target) {
        TDock* d = st.Target;
        POINT origin{st.Outline.left, st.Outline.top};
        ::ScreenToClient(d->GetHandle(), &origin);
        bool vertical = d->IsVertical();
        int acrossCentre = vertical ? origin.x + (st.Outline.right - st.Outline.left) / 2
                                    : origin.y + (st.Outline.bottom - st.Outline.top) / 2;
        bool before = false;
        int row = d->GetRowOf(acrossCentre, before);
        auto rowHasOthers = [&](int r) {
            for (int i = 0; i < d->GetToolbarCount(); ++i)
                if (d->GetToolbars(i) != this && d->GetToolbars(i)->dockRow_ == r) return true;
            return false;
        };
        if (!before && fullSize_ && rowHasOthers(row)) {
            ++row;
            before = true;
        }
        if (before) {
            for (int i = 0; i < d->GetToolbarCount(); ++i) {
                TCustomToolWindow* bar = d->GetToolbars(i);
                if (bar != this && bar->dockRow_ >= row) ++bar->dockRow_;
            }
        }
        dockRow_ = row;
        dockPos_ = vertical ? origin.y : origin.x;
        if (dockedTo_ == d)
            d->ArrangeToolbars();
        else
            SetDockedTo(d);
    } else {
        floatingPos_ = POINT{st.Outline.left, st.Outline.top};
        if (dockedTo_)
            SetDockedTo(nullptr);
        else
            PlaceHolder();
        if (OnMove) OnMove(this);
    }
    MoveOnScreen(true);
}

void TCustomToolWindow::BeginSizing(int HitCode, POINT From)
{
    if (dockedTo_ || !resizable_) return;
    HWND wnd = GetHandle();
    RECT start;
    GetWindowRect(wnd, &start);
    RECT f = FloatingFrame();
    SIZE minClient = MinimumClientSize();
    int minW = minClient.cx + f.left + f.right;
    int minH = minClient.cy + f.top + f.bottom;
    bool left = HitCode == HTLEFT || HitCode == HTTOPLEFT || HitCode == HTBOTTOMLEFT;
    bool right = HitCode == HTRIGHT || HitCode == HTTOPRIGHT || HitCode == HTBOTTOMRIGHT;
    bool top = HitCode == HTTOP || HitCode == HTTOPLEFT || HitCode == HTTOPRIGHT;
    bool bottom = HitCode == HTBOTTOM || HitCode == HTBOTTOMLEFT || HitCode == HTBOTTOMRIGHT;
    POINT from = From;
    RECT rect = start;
    bool accepted = false;
    SizingBegin(HitCode);
    try {
        drag_loop::TLoopGrab grab(wnd);
        drag_loop::TOutline outline(grab.DC());
        if (GetSystemMetrics(SM_CMONITORS) <= 1) {
            RECT work = WorkAreaNear(start);
            ClipCursor(&work);
        }
        auto step = [&](POINT p) {
            int dx = p.x - from.x;
            int dy = p.y - from.y;
            RECT r = start;
            if (left) r.left = std::min(start.left + dx, start.right - minW);
            if (right) r.right = std::max(start.right + dx, start.left + minW);
            if (top) r.top = std::min(start.top + dy, start.bottom - minH);
            if (bottom) r.bottom = std::max(start.bottom + dy, start.top + minH);
            SizingAdjust(r, HitCode);
            rect = r;
            outline.Show(rect, f.left);
        };
        MSG msg;
        while (GetCapture() == wnd) {
            if (!GetMessageA(&msg, nullptr, 0, 0)) {
                PostQuitMessage(static_cast<int>(msg.wParam));
                break;
            }
            if (msg.message == WM_MOUSEMOVE) {
                step(drag_loop::ScreenPointOf(wnd, msg));
                continue;
            }
            if (msg.message == WM_LBUTTONUP) {
                step(drag_loop::ScreenPointOf(wnd, msg));
                accepted = true;
                break;
            }
            if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) break;
            if (drag_loop::IsMouseButtonMessage(msg.message) || msg.message == WM_KEYDOWN || msg.message == WM_KEYUP) {
                if (msg.message == WM_LBUTTONDOWN) break;
                continue;
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    } catch (...) {
        SizingEnd(false);
        throw;
    }
    SizingEnd(accepted);
    if (!accepted) return;
    floatingPos_ = POINT{rect.left, rect.top};
    arranging_ = true;
    TCustomControl::SetBounds(0, 0, rect.right - rect.left, rect.bottom - rect.top);
    arranging_ = false;
    ArrangeControls();
    PlaceHolder();
    MoveOnScreen(true);
    if (OnMove) OnMove(this);
}
