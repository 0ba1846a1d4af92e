#include <gtest/gtest.h>

#include "seh_guard.h"

namespace {

void WriteNull(void*) { *static_cast<volatile int*>(nullptr) = 1; }
void Raise(void*) { RaiseException(0xE0001234, 0, 0, nullptr); }
void Count(void* arg) { ++*static_cast<int*>(arg); }

}  // namespace

TEST(SehGuard, FaultsComeBackAsCodes)
{
    int n = 0;
    struct Case {
        void (*fn)(void*);
        DWORD code;
    } cases[] = {{WriteNull, EXCEPTION_ACCESS_VIOLATION}, {Raise, 0xE0001234}, {Count, 0}};
    for (int round = 0; round < 2; round++)
        for (const Case& c : cases) EXPECT_EQ(c.code, GuardedCall(c.fn, &n));
    EXPECT_EQ(2, n);
    // The chain is whole again: a C++ exception still reaches its handler.
    EXPECT_THROW(throw 1, int);
}
