#include "thread_hooks_model.h"

#include <algorithm>

#include "list.h"

std::vector<THookType> THookRegistry::HooksFor(THookProcKinds Kinds)
{
    std::vector<THookType> hooks;
    if (Kinds & (HookKind(hpSendActivateApp) | HookKind(hpSendWindowPosChanged))) hooks.push_back(htCallWndProc);
    if (Kinds & HookKind(hpPreDestroy)) hooks.push_back(htCBT);
    if (Kinds & HookKind(hpGetMessageMouseMove)) hooks.push_back(htGetMessage);
    return hooks;
}

int THookRegistry::Find(THookKey Proc) const
{
    for (size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].Proc == Proc) return static_cast<int>(i);
    return -1;
}

void THookRegistry::Install(THookKey Proc, THookProcKinds Kinds, bool DesignTime)
{
    int i = Find(Proc);
    if (i >= 0) {
        ++entries_[i].RefCount;
    } else {
        entries_.push_back(TEntry{Proc, 1, Kinds, 0});
        i = static_cast<int>(entries_.size()) - 1;
    }
    if (DesignTime) return;
    TEntry& e = entries_[i];
    ++e.HookRefs;
    for (THookType hook : HooksFor(e.Kinds)) {
        ++usage_[hook];
        if (!installed_[hook]) {
            installer_(hook, true);
            installed_[hook] = true;
        }
    }
}

void THookRegistry::Uninstall(THookKey Proc)
{
    int i = Find(Proc);
    if (i < 0) return;
    TEntry& e = entries_[i];
    THookProcKinds kinds = e.Kinds;
    // Design-time registrations are released first: they hold no hook.
    bool heldHooks = e.HookRefs > 0 && e.HookRefs >= e.RefCount;
    if (heldHooks) --e.HookRefs;
    if (--e.RefCount <= 0) entries_.erase(entries_.begin() + i);
    if (!heldHooks) return;
    for (THookType hook : HooksFor(kinds)) {
        if (usage_[hook] > 0) --usage_[hook];
        if (usage_[hook] == 0 && installed_[hook]) {
            installed_[hook] = false;
            installer_(hook, false);
        }
    }
}

void THookRegistry::Shutdown()
{
    for (int hook = 0; hook < htCount; ++hook) {
        usage_[hook] = 0;
        if (installed_[hook]) {
            installed_[hook] = false;
            installer_(static_cast<THookType>(hook), false);
        }
    }
    entries_.clear();
}

std::vector<THookKey> THookRegistry::ProcsFor(THookProcKind Kind) const
{
    std::vector<THookKey> procs;
    for (const TEntry& e : entries_)
        if (e.Kinds & HookKind(Kind)) procs.push_back(e.Proc);
    return procs;
}

bool THookRegistry::IsRegistered(THookKey Proc) const
{
    return Find(Proc) >= 0;
}

int THookRegistry::RefCount(THookKey Proc) const
{
    int i = Find(Proc);
    return i < 0 ? 0 : entries_[i].RefCount;
}

namespace {

void QuickSort(TList* list, int lo, int hi, const TListSortCompareEx& compare, void* data)
{
    while (lo < hi) {
        int i = lo;
        int j = hi;
        void* pivot = list->GetItems(lo + (hi - lo) / 2);
        while (i <= j) {
            while (compare(list->GetItems(i), pivot, data) < 0) ++i;
            while (compare(list->GetItems(j), pivot, data) > 0) --j;
            if (i <= j) {
                if (i != j) list->Exchange(i, j);
                ++i;
                --j;
            }
        }
        // Recurse into the smaller part so that the depth stays logarithmic.
        if (j - lo < hi - i) {
            QuickSort(list, lo, j, compare, data);
            lo = i;
        } else {
            QuickSort(list, i, hi, compare, data);
            hi = j;
        }
    }
}

}  // namespace

void ListSortEx(TList* List, const TListSortCompareEx& Compare, void* Data)
{
    if (!List || List->GetCount() < 2) return;
    QuickSort(List, 0, List->GetCount() - 1, Compare, Data);
}
