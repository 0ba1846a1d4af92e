// Shared pieces of the toolbar units: one registry of hook procedures for
// four kinds of thread-wide window events, backed by at most three thread
// hooks on the GUI thread, each installed only while a registered procedure
// needs it; plus a pointer-list quicksort, a palette copy and the
// application's active state.
//
// Procedures are called on the GUI thread in registration order; one that
// raises is skipped over (its exception goes nowhere), and the next hook in
// the chain is always called.
#ifndef KESTREL_THREAD_HOOKS_H
#define KESTREL_THREAD_HOOKS_H

#include "winapi.h"
#include "thread_hooks_model.h"

typedef void (*THookProc)(THookProcKind Code, HWND Wnd, WPARAM WParam, LPARAM LParam);

void InstallHookProc(THookProc Proc, THookProcKinds Kinds, bool DesignTime);
void UninstallHookProc(THookProc Proc);
// Removes every hook and forgets every procedure (also done at exit).
void ShutdownHookProcs();
// Test aids.
bool HookProcRegistered(THookProc Proc);
bool ThreadHookInstalled(THookType Hook);

// A new palette with Palette's entries; nullptr for none or an empty one.
// The caller deletes it.
HPALETTE CopyPalette(HPALETTE Palette);

// The thread has an active window.
bool ApplicationIsActive();

#endif
