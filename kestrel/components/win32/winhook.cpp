#include "winhook.h"

#include <algorithm>
#include <map>
#include <memory>
#include <vector>

#include "forms.h"
#include "handleexception.h"

namespace {

LRESULT CALLBACK HookWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
LRESULT CALLBACK HelperWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

const UINT UM_REHOOK = WM_APP + 0x129;
const UINT_PTR RehookTimer = 1;

// The shared state of all hooks on one control.
struct THookObject {
    TWinControl* Control = nullptr;
    HWND Wnd = nullptr;        // the window whose procedure we replaced
    WNDPROC OldProc = nullptr;
    std::vector<TWindowHook*> Hooks;
    bool WaitingForWindow = false;
};

std::map<TWinControl*, std::shared_ptr<THookObject>>& Objects()
{
    static auto* objects = new std::map<TWinControl*, std::shared_ptr<THookObject>>;
    return *objects;
}

std::map<HWND, std::shared_ptr<THookObject>>& ByWindow()
{
    static auto* windows = new std::map<HWND, std::shared_ptr<THookObject>>;
    return *windows;
}

// Windows whose procedure could not be given back because someone
// subclassed them after us: ours stays in their chain and passes through.
std::map<HWND, WNDPROC>& PassThrough()
{
    static auto* pass = new std::map<HWND, WNDPROC>;
    return *pass;
}

HWND helperWnd = nullptr;

HWND Helper()
{
    if (helperWnd) return helperWnd;
    static ATOM atom = 0;
    if (!atom) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = HelperWndProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "KestrelWindowHookHelper";
        atom = RegisterClassA(&wc);
    }
    helperWnd = CreateWindowExA(0, "KestrelWindowHookHelper", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    return helperWnd;
}

void Install(THookObject& o)
{
    o.WaitingForWindow = false;
    o.Wnd = o.Control->GetHandle();
    o.OldProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(o.Wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(HookWndProc)));
}

void Uninstall(THookObject& o)
{
    if (!o.Wnd) return;
    HWND wnd = o.Wnd;
    ByWindow().erase(wnd);
    if (IsWindow(wnd)) {
        if (reinterpret_cast<WNDPROC>(GetWindowLongPtrA(wnd, GWLP_WNDPROC)) == HookWndProc)
            SetWindowLongPtrA(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(o.OldProc));
        else
            PassThrough()[wnd] = o.OldProc;
    }
    o.Wnd = nullptr;
    o.OldProc = nullptr;
}

void WaitForWindow(THookObject& o)
{
    o.WaitingForWindow = true;
    if (HWND helper = Helper()) {
        PostMessageA(helper, UM_REHOOK, 0, 0);
        SetTimer(helper, RehookTimer, 100, nullptr);
    }
}

void Hook(const std::shared_ptr<THookObject>& o)
{
    Install(*o);
    ByWindow()[o->Wnd] = o;
}

void ReleaseIfUnused(TWinControl* control)
{
    auto it = Objects().find(control);
    if (it == Objects().end() || !it->second->Hooks.empty()) return;
    Uninstall(*it->second);
    Objects().erase(it);
    if (Objects().empty() && helperWnd) {
        DestroyWindow(helperWnd);
        helperWnd = nullptr;
    }
}

void CallHandler(const THookMessageEvent& handler, TWindowHook* hook, TMessage& m, bool& handled)
{
    try {
        handler(hook, m, handled);
    } catch (...) {
        HandleCallbackException();
    }
}

bool StillHooked(const THookObject& o, TWindowHook* hook)
{
    return std::find(o.Hooks.begin(), o.Hooks.end(), hook) != o.Hooks.end();
}

LRESULT Dispatch(const std::shared_ptr<THookObject>& o, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    WNDPROC old = o->OldProc;
    // Handlers never run while the control is being destroyed: the objects
    // they would touch may be half gone.
    const bool quiet = (o->Control->GetComponentState() & csDestroying) != 0;
    std::vector<TWindowHook*> hooks = o->Hooks;
    TMessage m{msg, wp, lp, 0};
    bool handled = false;
    if (!quiet && msg != WM_QUIT) {
        for (auto it = hooks.rbegin(); it != hooks.rend() && !handled; ++it)
            if (StillHooked(*o, *it) && (*it)->BeforeMessage) CallHandler((*it)->BeforeMessage, *it, m, handled);
    }
    if (msg == WM_DESTROY) {
        // The window goes; a new one (RecreateWnd) is hooked again later.
        Uninstall(*o);
        WaitForWindow(*o);
    }
    if (!handled || msg == WM_DESTROY) m.Result = CallWindowProcA(old, hwnd, msg, wp, lp);
    if (!quiet) {
        bool ignored = false;
        for (TWindowHook* hook : hooks)
            if (StillHooked(*o, hook) && hook->AfterMessage) CallHandler(hook->AfterMessage, hook, m, ignored);
    }
    return m.Result;
}

LRESULT CALLBACK HookWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    auto it = ByWindow().find(hwnd);
    if (it != ByWindow().end()) {
        std::shared_ptr<THookObject> o = it->second;  // keeps it alive if a handler unhooks
        return Dispatch(o, hwnd, msg, wp, lp);
    }
    auto pass = PassThrough().find(hwnd);
    if (pass != PassThrough().end()) {
        WNDPROC old = pass->second;
        if (msg == WM_NCDESTROY) PassThrough().erase(pass);
        return CallWindowProcA(old, hwnd, msg, wp, lp);
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

// Hooks the controls that have a window again; keeps polling for the rest.
void Rehook()
{
    bool waiting = false;
    for (auto& entry : Objects()) {
        THookObject& o = *entry.second;
        if (!o.WaitingForWindow) continue;
        if (o.Control->HandleAllocated() && !(o.Control->GetComponentState() & csDestroying))
            Hook(entry.second);
        else
            waiting = true;
    }
    if (!waiting && helperWnd) KillTimer(helperWnd, RehookTimer);
}

LRESULT CALLBACK HelperWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == UM_REHOOK || (msg == WM_TIMER && wp == RehookTimer)) {
        try {
            Rehook();
        } catch (...) {
            HandleCallbackException();
        }
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

}  // namespace

TWindowHook::TWindowHook(TComponent* AOwner) : TComponent(AOwner) {}

TWindowHook::~TWindowHook()
{
    Detach();
}

void TWindowHook::SetActive(bool Value)
{
    if (Value == active_) return;
    active_ = Value;
    if (active_)
        Attach();
    else
        Detach();
}

void TWindowHook::SetWinControl(TWinControl* Value)
{
    if (Value == control_) return;
    Detach();
    if (control_) control_->RemoveFreeNotification(this);
    control_ = Value;
    if (control_) control_->FreeNotification(this);
    if (active_) Attach();
}

bool TWindowHook::GetIsForm() const
{
    return control_ && control_ == dynamic_cast<TCustomForm*>(GetOwner());
}

void TWindowHook::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == control_) {
        Detach();
        control_ = nullptr;
    }
}

void TWindowHook::Attach()
{
    if (!active_ || !control_ || (GetComponentState() & csDestroying)) return;
    std::shared_ptr<THookObject>& slot = Objects()[control_];
    if (!slot) {
        slot = std::make_shared<THookObject>();
        slot->Control = control_;
    }
    if (StillHooked(*slot, this)) return;
    slot->Hooks.push_back(this);
    if (!slot->Wnd && !slot->WaitingForWindow && !control_->HandleAllocated()) {
        // Hooked when the window is made; forcing it now would make a
        // form's window from its constructor.
        WaitForWindow(*slot);
    } else if (!slot->Wnd && !slot->WaitingForWindow) {
        try {
            Hook(slot);
        } catch (...) {
            slot->Hooks.pop_back();
            ReleaseIfUnused(control_);
            throw;
        }
    }
}

void TWindowHook::Detach()
{
    if (!control_) return;
    auto it = Objects().find(control_);
    if (it == Objects().end()) return;
    auto& hooks = it->second->Hooks;
    hooks.erase(std::remove(hooks.begin(), hooks.end(), this), hooks.end());
    ReleaseIfUnused(control_);
}

void RehookWaitingControls()
{
    Rehook();
}

int WindowHookObjectCount()
{
    return static_cast<int>(Objects().size());
}

bool IsWindowHooked(TWinControl* Control)
{
    return Control && Control->HandleAllocated() &&
           reinterpret_cast<WNDPROC>(GetWindowLongPtrA(Control->GetHandle(), GWLP_WNDPROC)) == HookWndProc;
}
