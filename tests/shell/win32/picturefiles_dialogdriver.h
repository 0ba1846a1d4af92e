// Drives a real file dialog from inside its modal loop: a 50 ms timer runs
// one step per tick on the visible dialog; a step answers false to be
// retried on the next tick. After about 15 s, or when the steps are done
// and a dialog is still open, it is cancelled rather than hang the run.
#ifndef TESTS_SHELL_PICTUREFILES_DIALOGDRIVER_H
#define TESTS_SHELL_PICTUREFILES_DIALOGDRIVER_H

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <commctrl.h>

#include "winapi.h"

namespace dialogdriver {

typedef std::function<bool(HWND dialog)> Step;

struct State {
    std::vector<Step> steps;
    size_t next = 0;
    int ticks = 0;
    UINT_PTR timer = 0;
};
inline State& Current()
{
    static State state;
    return state;
}

inline BOOL CALLBACK FindFileDialog(HWND hwnd, LPARAM lp)
{
    char cls[32] = "";
    GetClassNameA(hwnd, cls, sizeof cls);
    if (strcmp(cls, "#32770") == 0 && IsWindowVisible(hwnd)) {
        *reinterpret_cast<HWND*>(lp) = hwnd;
        return FALSE;
    }
    return TRUE;
}

inline void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD)
{
    State& s = Current();
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindFileDialog, reinterpret_cast<LPARAM>(&dialog));
    if (++s.ticks > 300 || s.next >= s.steps.size()) {
        if (dialog) PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        if (!dialog || s.ticks > 300) KillTimer(nullptr, id);
        return;
    }
    try {
        if (dialog && s.steps[s.next](dialog)) s.next++;
    } catch (...) {
        s.next = s.steps.size();  // exceptions never leave a timer callback
    }
}

inline void Start(std::vector<Step> steps)
{
    State& s = Current();
    s.steps = std::move(steps);
    s.next = 0;
    s.ticks = 0;
    s.timer = SetTimer(nullptr, 0, 50, Tick);
}

// True when every step ran.
inline bool Finish()
{
    State& s = Current();
    KillTimer(nullptr, s.timer);
    return s.next == s.steps.size();
}

inline void Press(HWND dialog, int button)
{
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), LPARAM(GetDlgItem(dialog, button)));
}

inline BOOL CALLBACK FindList(HWND hwnd, LPARAM lp)
{
    char cls[32] = "";
    GetClassNameA(hwnd, cls, sizeof cls);
    if (strcmp(cls, "SysListView32") == 0) {
        *reinterpret_cast<HWND*>(lp) = hwnd;
        return FALSE;
    }
    return TRUE;
}

// Selects the list's file whose name starts with prefix, and only it.
inline bool SelectFile(HWND dialog, const char* prefix)
{
    HWND list = nullptr;
    EnumChildWindows(dialog, FindList, reinterpret_cast<LPARAM>(&list));
    if (!list) return false;
    LVFINDINFOA find = {};
    find.flags = LVFI_PARTIAL | LVFI_STRING;
    find.psz = prefix;
    int index = int(SendMessageA(list, LVM_FINDITEMA, WPARAM(-1), reinterpret_cast<LPARAM>(&find)));
    if (index < 0) return false;
    LVITEMA item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, WPARAM(-1), reinterpret_cast<LPARAM>(&item));
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, WPARAM(index), reinterpret_cast<LPARAM>(&item));
    return true;
}

inline void TypeName(HWND dialog, const std::string& name)
{
    SendMessageA(dialog, CDM_SETCONTROLTEXT, 0x47c, reinterpret_cast<LPARAM>(name.c_str()));
}

}  // namespace dialogdriver

#endif
