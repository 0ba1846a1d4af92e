#include "list.h"

#include <gtest/gtest.h>

#include "exceptions.h"

namespace {

void* P(int n)
{
    return reinterpret_cast<void*>(static_cast<intptr_t>(n));
}

int N(void* p)
{
    return static_cast<int>(reinterpret_cast<intptr_t>(p));
}

// The list's items as "1 2 3" for readable comparisons.
std::string Items(const TList& list)
{
    std::string text;
    for (int i = 0; i < list.GetCount(); i++) {
        if (i) text += ' ';
        text += std::to_string(N(list.GetItems(i)));
    }
    return text;
}

}  // namespace

TEST(TListEdit, AddInsertDeleteRemoveKeepOrder)
{
    TList list;
    EXPECT_EQ(0, list.Add(P(1)));
    EXPECT_EQ(1, list.Add(P(3)));
    list.Insert(1, P(2));
    list.Insert(3, P(4));  // at Count: appends
    EXPECT_EQ("1 2 3 4", Items(list));
    list.Delete(0);
    EXPECT_EQ(1, list.Remove(P(3)));
    EXPECT_EQ(-1, list.Remove(P(3)));
    EXPECT_EQ("2 4", Items(list));
    EXPECT_EQ(P(2), list.First());
    EXPECT_EQ(P(4), list.Last());
    list.SetItems(0, P(9));
    EXPECT_EQ(0, list.IndexOf(P(9)));
    EXPECT_EQ(-1, list.IndexOf(P(2)));
}

TEST(TListEdit, ManyAddsGrowAndClearFrees)
{
    TList list;
    for (int i = 0; i < 10000; i++) list.Add(P(i));
    EXPECT_EQ(10000, list.GetCount());
    EXPECT_GE(list.GetCapacity(), 10000);
    EXPECT_EQ(P(9999), list.GetItems(9999));
    list.Clear();
    EXPECT_EQ(0, list.GetCount());
    EXPECT_EQ(0, list.GetCapacity());
    list.SetCount(3);
    EXPECT_EQ("0 0 0", Items(list));
}

TEST(TListEdit, ExchangeAndMove)
{
    TList list;
    for (int i = 0; i < 5; i++) list.Add(P(i));
    list.Exchange(0, 4);
    EXPECT_EQ("4 1 2 3 0", Items(list));
    list.Move(0, 3);
    EXPECT_EQ("1 2 3 4 0", Items(list));
    list.Move(4, 0);
    EXPECT_EQ("0 1 2 3 4", Items(list));
}

TEST(TListErrors, BadIndexesRaiseWithTheIndex)
{
    TList list;
    list.Add(P(1));
    try {
        list.GetItems(5);
        FAIL();
    } catch (const EListError& e) {
        EXPECT_STREQ("List index out of bounds (5)", e.what());
    }
    EXPECT_THROW(list.GetItems(-1), EListError);
    EXPECT_THROW(list.Insert(2, P(0)), EListError);
    EXPECT_THROW(list.Delete(1), EListError);
    EXPECT_THROW(list.Exchange(0, 1), EListError);
    EXPECT_THROW(list.Move(0, 1), EListError);
    EXPECT_THROW(list.SetCapacity(0), EListError);
    EXPECT_THROW(list.SetCount(-1), EListError);
    EXPECT_THROW(list.SetCapacity(0x7FFFFFFF), EOutOfMemory);
    TList empty;
    EXPECT_THROW(empty.First(), EListError);
    EXPECT_THROW(empty.Last(), EListError);
    EXPECT_EQ("1", Items(list));
}

TEST(TListSort, StableByTheCompareFunction)
{
    TList list;
    // Tens are the key, units the original order.
    int values[] = {31, 12, 33, 11, 22, 32, 13, 21};
    for (int v : values) list.Add(P(v));
    list.Sort([](void* a, void* b) { return N(a) / 10 - N(b) / 10; });
    EXPECT_EQ("12 11 13 22 21 31 33 32", Items(list));
}

TEST(TListSort, InconsistentCompareNeverLeavesTheList)
{
    TList list;
    for (int i = 0; i < 1000; i++) list.Add(P(i % 37));
    int calls = 0;
    list.Sort([&calls](void*, void*) { return (calls++ % 3) - 1; });
    EXPECT_EQ(1000, list.GetCount());
    long sum = 0;
    for (int i = 0; i < list.GetCount(); i++) sum += N(list.GetItems(i));
    long expected = 0;
    for (int i = 0; i < 1000; i++) expected += i % 37;
    EXPECT_EQ(expected, sum);
}
