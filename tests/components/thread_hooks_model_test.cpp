#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "list.h"
#include "thread_hooks_model.h"

namespace {

void ProcA() {}
void ProcB() {}

struct THookLog {
    std::vector<std::pair<THookType, bool>> Calls;
    THookRegistry::TInstaller Installer()
    {
        return [this](THookType h, bool on) { Calls.push_back({h, on}); };
    }
};

}  // namespace

TEST(HookRegistry, CountsRegistrationsAndInstallsHooksOnce)
{
    THookLog log;
    THookRegistry reg(log.Installer());
    THookProcKinds kinds = HookKind(hpSendWindowPosChanged) | HookKind(hpPreDestroy);
    reg.Install(ProcA, kinds, false);
    reg.Install(ProcA, HookKind(hpGetMessageMouseMove), false);  // kinds stay as first given
    EXPECT_EQ(2, reg.RefCount(ProcA));
    EXPECT_TRUE(reg.HookInstalled(htCallWndProc));
    EXPECT_TRUE(reg.HookInstalled(htCBT));
    EXPECT_FALSE(reg.HookInstalled(htGetMessage));
    EXPECT_EQ(2u, log.Calls.size());
    reg.Uninstall(ProcA);
    EXPECT_TRUE(reg.IsRegistered(ProcA));
    EXPECT_TRUE(reg.HookInstalled(htCallWndProc));
    reg.Uninstall(ProcA);
    EXPECT_FALSE(reg.IsRegistered(ProcA));
    EXPECT_FALSE(reg.HookInstalled(htCallWndProc));
    EXPECT_FALSE(reg.HookInstalled(htCBT));
    EXPECT_EQ(4u, log.Calls.size());
    reg.Uninstall(ProcA);  // unknown: nothing happens
    EXPECT_EQ(0, reg.Count());
}

TEST(HookRegistry, DesignTimeListsButInstallsNothing)
{
    THookLog log;
    THookRegistry reg(log.Installer());
    reg.Install(ProcA, HookKind(hpSendActivateApp), true);
    EXPECT_TRUE(reg.IsRegistered(ProcA));
    EXPECT_TRUE(log.Calls.empty());
    reg.Install(ProcB, HookKind(hpSendActivateApp), false);
    reg.Uninstall(ProcA);  // must not take the count below what ProcB holds
    EXPECT_TRUE(reg.HookInstalled(htCallWndProc));
}

TEST(HookRegistry, ProcsForIsASnapshotInRegistrationOrder)
{
    THookLog log;
    THookRegistry reg(log.Installer());
    reg.Install(ProcB, HookKind(hpGetMessageMouseMove), false);
    reg.Install(ProcA, HookKind(hpGetMessageMouseMove) | HookKind(hpPreDestroy), false);
    std::vector<THookKey> procs = reg.ProcsFor(hpGetMessageMouseMove);
    ASSERT_EQ(2u, procs.size());
    EXPECT_EQ(reinterpret_cast<THookKey>(ProcB), procs[0]);
    reg.Uninstall(ProcB);  // during a walk: the copy stays whole
    EXPECT_EQ(2u, procs.size());
    EXPECT_EQ(1u, reg.ProcsFor(hpPreDestroy).size());
    reg.Shutdown();
    EXPECT_FALSE(reg.HookInstalled(htGetMessage));
    EXPECT_EQ(0, reg.Count());
}

TEST(ListSortEx, SortsWithTheContextArgument)
{
    std::mt19937 rng(7);
    std::vector<int> values(1000);
    for (int& v : values) v = static_cast<int>(rng() % 500);
    TList list;
    for (int& v : values) list.Add(&v);
    int descending = -1;
    ListSortEx(
        &list,
        [](void* a, void* b, void* data) {
            int sign = *static_cast<int*>(data);
            return sign * (*static_cast<int*>(a) - *static_cast<int*>(b));
        },
        &descending);
    for (int i = 1; i < list.GetCount(); ++i)
        EXPECT_GE(*static_cast<int*>(list.GetItems(i - 1)), *static_cast<int*>(list.GetItems(i)));
    TList one;
    int x = 1;
    one.Add(&x);
    int calls = 0;
    auto counting = [&calls](void*, void*, void*) { return ++calls; };
    ListSortEx(&one, counting, nullptr);
    TList none;
    ListSortEx(&none, counting, nullptr);
    ListSortEx(nullptr, counting, nullptr);
    EXPECT_EQ(0, calls);
}
