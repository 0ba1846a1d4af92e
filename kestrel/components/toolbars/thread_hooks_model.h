// The registry behind the toolbar units' shared window hooks, independent of
// Windows: procedures registered with reference counts for a set of event
// kinds, and the usage count of each of the three thread hooks those kinds
// need. The Windows side installs and removes the hooks when told to, and
// asks for the procedures of a kind when an event comes.
//
// Also ListSortEx, the quicksort of a pointer list with a context argument.
#ifndef KESTREL_THREAD_HOOKS_MODEL_H
#define KESTREL_THREAD_HOOKS_MODEL_H

#include <functional>
#include <vector>

class TList;

// Event kinds (bit n of a kind set is kind n).
enum THookProcKind {
    hpSendActivateApp = 0,      // WM_ACTIVATEAPP received
    hpSendWindowPosChanged = 1,  // WM_WINDOWPOSCHANGED received
    hpPreDestroy = 2,            // a window is about to be destroyed
    hpGetMessageMouseMove = 3,   // WM_MOUSEMOVE taken from the queue
};
typedef unsigned THookProcKinds;
inline THookProcKinds HookKind(THookProcKind k)
{
    return 1u << k;
}

// The thread hooks behind the kinds.
enum THookType { htCallWndProc = 0, htCBT = 1, htGetMessage = 2, htCount = 3 };

// Procedures are told apart by address only.
typedef void (*THookKey)();

class THookRegistry {
public:
    // Install(hook, true) must install the thread hook, (hook, false) remove it.
    using TInstaller = std::function<void(THookType Hook, bool Install)>;
    explicit THookRegistry(TInstaller Installer) : installer_(std::move(Installer)) {}
    THookRegistry(const THookRegistry&) = delete;
    THookRegistry& operator=(const THookRegistry&) = delete;

    // A second registration only counts; the kinds stay as first given, and
    // so do the hooks it holds (the ones uninstalling will release). At
    // design time the procedure is listed but holds no hook.
    void Install(THookKey Proc, THookProcKinds Kinds, bool DesignTime);
    // Unknown procedures are ignored.
    void Uninstall(THookKey Proc);
    // Removes every installed hook and forgets every procedure.
    void Shutdown();

    // The procedures of a kind in registration order, copied, so that a
    // procedure may register or unregister while the caller walks the copy.
    std::vector<THookKey> ProcsFor(THookProcKind Kind) const;
    bool IsRegistered(THookKey Proc) const;
    int RefCount(THookKey Proc) const;
    bool HookInstalled(THookType Hook) const { return installed_[Hook]; }
    int HookUsage(THookType Hook) const { return usage_[Hook]; }
    int Count() const { return static_cast<int>(entries_.size()); }

private:
    struct TEntry {
        THookKey Proc;
        int RefCount;
        THookProcKinds Kinds;
        int HookRefs;  // registrations that hold the hooks (not design time)
    };
    static std::vector<THookType> HooksFor(THookProcKinds Kinds);
    int Find(THookKey Proc) const;

    TInstaller installer_;
    std::vector<TEntry> entries_;
    int usage_[htCount] = {0, 0, 0};
    bool installed_[htCount] = {false, false, false};
};

// Sorts List in place by Compare(Item1, Item2, Data) (negative, zero or
// positive) with a recursive quicksort round the middle item. Lists of fewer
// than two items are left alone. Not stable.
using TListSortCompareEx = std::function<int(void* Item1, void* Item2, void* Data)>;
void ListSortEx(TList* List, const TListSortCompareEx& Compare, void* Data);

#endif
