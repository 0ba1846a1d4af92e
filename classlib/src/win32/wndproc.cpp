// One trampoline for every window the library makes.
//
// The object is bound on the window's first message, which may come before
// WM_NCCREATE (WM_GETMINMAXINFO does for top-level windows), through a
// thread-local hand-off set just around CreateWindowEx. This also works for
// superclassed system controls, whose lpCreateParams is not ours to use. The
// binding is removed at WM_NCDESTROY.
#include "wndproc.h"

#include <map>
#include <string>
#include <unordered_map>

#include "handleexception.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

// GUI objects live on the GUI thread only, so the map needs no lock.
// Never freed: a window may outlive the static objects at exit.
std::unordered_map<HWND, TWinControl*>& Bindings()
{
    static auto* map = new std::unordered_map<HWND, TWinControl*>;
    return *map;
}

// Class name -> the procedure the class had before we superclassed it.
std::map<std::string, WNDPROC>& ClassProcs()
{
    static auto* map = new std::map<std::string, WNDPROC>;
    return *map;
}

thread_local TWinControl* creating = nullptr;

LRESULT CALLBACK ControlWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

}  // namespace

struct WindowBinding {
    static void Bind(HWND hwnd, TWinControl* control)
    {
        Bindings()[hwnd] = control;
        control->handle_ = hwnd;
    }

    static LRESULT Dispatch(TWinControl* control, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
    {
        TMessage m{msg, wp, lp, 0};
        try {
            // A control on its way out (or on a form on its way out) only
            // gets the system's handling: no event may reach a handler whose
            // objects may be gone.
            if (control->IsDestroying() || control->TopParent()->IsDestroying())
                control->DefaultHandler(m);
            else
                control->WndProc(m);
        } catch (...) {
            HandleCallbackException();
        }
        // The handler may have deleted the control: look it up again.
        if (msg == WM_NCDESTROY) {
            auto it = Bindings().find(hwnd);
            if (it != Bindings().end()) {
                TWinControl* c = it->second;
                Bindings().erase(it);
                c->WindowDestroyed();
            }
        }
        return m.Result;
    }

    static HWND Create(TWinControl* control, const TCreateParams& p, HMENU id)
    {
        TWinControl* outer = creating;
        creating = control;
        HWND hwnd = CreateWindowExA(p.ExStyle, p.WinClassName.c_str(), p.Caption.c_str(), p.Style, p.X, p.Y,
                                    p.Width, p.Height, p.WndParent, id, ClassLibInstance(), p.Param);
        creating = outer;
        return hwnd;
    }
};

namespace {

LRESULT CALLBACK ControlWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    auto it = Bindings().find(hwnd);
    TWinControl* control = it != Bindings().end() ? it->second : nullptr;
    if (!control && creating) {
        control = creating;
        creating = nullptr;
        WindowBinding::Bind(hwnd, control);
    }
    if (!control) return DefWindowProcA(hwnd, msg, wp, lp);
    return WindowBinding::Dispatch(control, hwnd, msg, wp, lp);
}

}  // namespace

HINSTANCE ClassLibInstance()
{
    return reinterpret_cast<HINSTANCE>(&__ImageBase);
}

WNDPROC RegisterControlClass(const TCreateParams& Params)
{
    std::string name = Params.WinClassName.c_str();
    auto& procs = ClassProcs();
    auto it = procs.find(name);
    if (it != procs.end()) return it->second;
    WNDCLASSA wc = Params.WindowClass;
    WNDPROC original = wc.lpfnWndProc ? wc.lpfnWndProc : DefWindowProcA;
    wc.lpfnWndProc = ControlWindowProc;
    wc.hInstance = ClassLibInstance();
    wc.lpszClassName = name.c_str();
    wc.lpszMenuName = nullptr;
    wc.style &= ~CS_GLOBALCLASS;
    if (!RegisterClassA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        throw EOutOfResources("Cannot register window class " + Params.WinClassName);
    procs[name] = original;
    return original;
}

TWinControl* FindControl(HWND Handle)
{
    if (!Handle) return nullptr;
    auto it = Bindings().find(Handle);
    return it != Bindings().end() ? it->second : nullptr;
}

void UnbindWindow(HWND hwnd)
{
    Bindings().erase(hwnd);
}

// The control core's part of TWinControl::CreateWindowHandle.
HWND CreateBoundWindow(TWinControl* control, const TCreateParams& p, HMENU id)
{
    return WindowBinding::Create(control, p, id);
}
