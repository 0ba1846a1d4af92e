// Threads and Synchronize. The test thread is the main thread: it calls
// InitSynchronize and pumps messages where a GUI thread would.
#include "thread.h"

#include <gtest/gtest.h>

#include <atomic>

#include "exceptions.h"
#include "winapi.h"

namespace {

// Pumps this thread's messages until done() or the time is up.
template <typename Done>
bool PumpUntil(Done done, DWORD timeoutMs = 10000)
{
    DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeoutMs) return false;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

// Runs a function as its Execute.
class FunctionThread : public TThread {
public:
    explicit FunctionThread(std::function<void(FunctionThread*)> body) : TThread(true), body_(std::move(body)) {}
    using TThread::SetReturnValue;

protected:
    void Execute() override { body_(this); }

private:
    std::function<void(FunctionThread*)> body_;
};

class ThreadTest : public ::testing::Test {
protected:
    void SetUp() override { InitSynchronize(); }
};

}  // namespace

TEST_F(ThreadTest, SynchronizeRunsOnTheMainThreadWhileItPumps)
{
    ASSERT_TRUE(IsMainThread());
    // Message-only windows need no display (measured under Wine without one).
    ASSERT_NE(nullptr, FindWindowExA(HWND_MESSAGE, nullptr, "KestrelSynchronizeWindow", nullptr));
    DWORD mainId = GetCurrentThreadId();
    std::atomic<DWORD> workerId{0}, syncId{0};
    FunctionThread thread([&](FunctionThread* self) {
        workerId = GetCurrentThreadId();
        self->Synchronize([&] { syncId = GetCurrentThreadId(); });
        self->SetReturnValue(7);
    });
    EXPECT_NE(0u, thread.GetThreadID());
    EXPECT_NE(nullptr, thread.GetHandle());
    EXPECT_TRUE(thread.GetSuspended());
    thread.Start();
    // Served by the hidden window, through this ordinary message loop.
    ASSERT_TRUE(PumpUntil([&] { return thread.GetFinished(); }));
    EXPECT_EQ(mainId, syncId.load());
    EXPECT_EQ(thread.GetThreadID(), workerId.load());
    EXPECT_NE(mainId, workerId.load());
    EXPECT_EQ(7, thread.WaitFor());
}

TEST_F(ThreadTest, WaitForServesSynchronizeSoItCannotDeadlock)
{
    int counter = 0;  // touched only on the main thread
    FunctionThread thread([&](FunctionThread* self) {
        for (int i = 0; i < 100; i++) self->Synchronize([&] { counter++; });
        self->SetReturnValue(counter);
    });
    thread.Start();
    EXPECT_EQ(100, thread.WaitFor());
}

TEST_F(ThreadTest, ExceptionInSynchronizedCallReachesTheWorker)
{
    AnsiString caught;
    FunctionThread thread([&](FunctionThread* self) {
        try {
            self->Synchronize([] { throw EConvertError("bad value"); });
        } catch (const EConvertError& e) {
            caught = e.Message;
        }
    });
    thread.Start();
    thread.WaitFor();
    EXPECT_EQ("bad value", caught);
    EXPECT_FALSE(thread.GetFatalException());
}

TEST_F(ThreadTest, ExceptionEscapingExecuteIsKeptAndOnTerminateRunsOnMain)
{
    DWORD mainId = GetCurrentThreadId();
    DWORD terminateId = 0;
    TObject* sender = nullptr;
    FunctionThread thread([](FunctionThread*) { throw EInvalidOperation("worker failed"); });
    thread.OnTerminate = [&](TObject* s) {
        terminateId = GetCurrentThreadId();
        sender = s;
    };
    thread.Start();
    thread.WaitFor();
    EXPECT_TRUE(thread.GetFatalException());
    EXPECT_EQ("worker failed", thread.GetFatalExceptionMessage());
    EXPECT_EQ(mainId, terminateId);
    EXPECT_EQ(&thread, sender);
    EXPECT_THROW(std::rethrow_exception(thread.GetFatalException()), EInvalidOperation);

    FunctionThread odd([](FunctionThread*) { throw 42; });
    odd.Start();
    odd.WaitFor();
    EXPECT_EQ("Unknown exception", odd.GetFatalExceptionMessage());
}

TEST_F(ThreadTest, TerminateAndDestroyStopALoopingThread)
{
    std::atomic<int> loops{0};
    auto* thread = new FunctionThread([&](FunctionThread* self) {
        while (!self->GetTerminated()) {
            loops++;
            Sleep(1);
        }
    });
    thread->Start();
    ASSERT_TRUE(PumpUntil([&] { return loops > 3; }));
    delete thread;  // terminates and waits
    int after = loops;
    Sleep(20);
    EXPECT_EQ(after, loops.load());
}

TEST_F(ThreadTest, FreeOnTerminateDeletesTheThreadItself)
{
    std::atomic<bool> gone{false};
    struct Freed : FunctionThread {
        Freed(std::atomic<bool>* flag) : FunctionThread([](FunctionThread*) {}), flag_(flag) {}
        ~Freed() override { *flag_ = true; }
        std::atomic<bool>* flag_;
    };
    auto* thread = new Freed(&gone);
    thread->SetFreeOnTerminate(true);
    EXPECT_THROW(thread->WaitFor(), EInvalidOperation);  // not started yet
    thread->Start();
    EXPECT_TRUE(PumpUntil([&] { return gone.load(); }));
}

TEST_F(ThreadTest, MisuseRaises)
{
    struct Eager : TThread {
        Eager() : TThread(false) {}
        void Execute() override {}
    };
    EXPECT_THROW(Eager(), EInvalidOperation);
    // Never started: WaitFor refuses, and the destructor does not hang.
    FunctionThread never([](FunctionThread*) {});
    EXPECT_THROW(never.WaitFor(), EInvalidOperation);
    FunctionThread self([](FunctionThread* me) {
        try {
            me->WaitFor();
        } catch (const EInvalidOperation&) {
            me->SetReturnValue(1);
        }
    });
    self.Start();
    EXPECT_EQ(1, self.WaitFor());
    EXPECT_THROW(self.SetPriority(static_cast<TThreadPriority>(99)), EPropertyError);
}

TEST_F(ThreadTest, PriorityIsTheSystems)
{
    FunctionThread thread([](FunctionThread*) {});
    thread.SetPriority(tpHigher);
    EXPECT_EQ(tpHigher, thread.GetPriority());
    EXPECT_EQ(THREAD_PRIORITY_ABOVE_NORMAL, GetThreadPriority(thread.GetHandle()));
}
