#include "thread_hooks.h"

#include <vector>

namespace {

HHOOK hookHandles[htCount] = {nullptr, nullptr, nullptr};

LRESULT CALLBACK CallWndProcHook(int code, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK CbtHook(int code, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK GetMessageHook(int code, WPARAM wParam, LPARAM lParam);

void SetThreadHook(THookType hook, bool install)
{
    static const int types[htCount] = {WH_CALLWNDPROC, WH_CBT, WH_GETMESSAGE};
    static const HOOKPROC procs[htCount] = {CallWndProcHook, CbtHook, GetMessageHook};
    if (install) {
        hookHandles[hook] = SetWindowsHookExA(types[hook], procs[hook], nullptr, GetCurrentThreadId());
    } else if (hookHandles[hook]) {
        UnhookWindowsHookEx(hookHandles[hook]);
        hookHandles[hook] = nullptr;
    }
}

// Unhooks at exit whatever is left (unit shut-down).
struct TRegistryHolder {
    THookRegistry Registry{SetThreadHook};
    ~TRegistryHolder() { Registry.Shutdown(); }
};

THookRegistry& Registry()
{
    static TRegistryHolder holder;
    return holder.Registry;
}

void Dispatch(THookProcKind kind, HWND wnd, WPARAM wParam, LPARAM lParam)
{
    for (THookKey key : Registry().ProcsFor(kind)) {
        // A procedure may have been removed by an earlier one of this walk.
        if (!Registry().IsRegistered(key)) continue;
        try {
            reinterpret_cast<THookProc>(key)(kind, wnd, wParam, lParam);
        } catch (...) {
            // One procedure's failure must not stop the others or the chain.
        }
    }
}

LRESULT CALLBACK CallWndProcHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION) {
        const CWPSTRUCT* m = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (m->message == WM_ACTIVATEAPP) Dispatch(hpSendActivateApp, m->hwnd, m->wParam, m->lParam);
        if (m->message == WM_WINDOWPOSCHANGED) Dispatch(hpSendWindowPosChanged, m->hwnd, m->wParam, m->lParam);
    }
    return CallNextHookEx(hookHandles[htCallWndProc], code, wParam, lParam);
}

LRESULT CALLBACK CbtHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_DESTROYWND) Dispatch(hpPreDestroy, reinterpret_cast<HWND>(wParam), 0, 0);
    return CallNextHookEx(hookHandles[htCBT], code, wParam, lParam);
}

// Only messages really taken from the queue count: a PM_NOREMOVE peek would
// report the same move again when it is later removed.
LRESULT CALLBACK GetMessageHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION && wParam == PM_REMOVE) {
        const MSG* m = reinterpret_cast<const MSG*>(lParam);
        if (m->message == WM_MOUSEMOVE) Dispatch(hpGetMessageMouseMove, m->hwnd, m->wParam, m->lParam);
    }
    return CallNextHookEx(hookHandles[htGetMessage], code, wParam, lParam);
}

}  // namespace

void InstallHookProc(THookProc Proc, THookProcKinds Kinds, bool DesignTime)
{
    Registry().Install(reinterpret_cast<THookKey>(Proc), Kinds, DesignTime);
}

void UninstallHookProc(THookProc Proc)
{
    Registry().Uninstall(reinterpret_cast<THookKey>(Proc));
}

void ShutdownHookProcs()
{
    Registry().Shutdown();
}

bool HookProcRegistered(THookProc Proc)
{
    return Registry().IsRegistered(reinterpret_cast<THookKey>(Proc));
}

bool ThreadHookInstalled(THookType Hook)
{
    return hookHandles[Hook] != nullptr;
}

HPALETTE CopyPalette(HPALETTE Palette)
{
    if (!Palette) return nullptr;
    WORD count = 0;
    if (!GetObjectA(Palette, sizeof(count), &count) || count == 0) return nullptr;
    std::vector<BYTE> block(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * count);
    LOGPALETTE* lp = reinterpret_cast<LOGPALETTE*>(block.data());
    lp->palVersion = 0x300;
    lp->palNumEntries = count;
    GetPaletteEntries(Palette, 0, count, lp->palPalEntry);
    return CreatePalette(lp);
}

bool ApplicationIsActive()
{
    return GetActiveWindow() != nullptr;
}
