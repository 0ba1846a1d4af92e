#include "thread.h"

#include <process.h>

#include "exceptions.h"
#include "synchronize.h"

TThread::TThread(bool CreateSuspended)
{
    if (!CreateSuspended) {
        throw EInvalidOperation("A thread cannot start inside its constructor: create it suspended and call Start");
    }
    InitSynchronize();
    // Created suspended so that Handle and ThreadID exist at once.
    unsigned id = 0;
    uintptr_t handle = _beginthreadex(nullptr, 0, ThreadProc, this, CREATE_SUSPENDED, &id);
    if (handle == 0) throw EOutOfResources("Cannot create a thread");
    handle_ = reinterpret_cast<void*>(handle);
    threadId_ = id;
}

TThread::~TThread()
{
    // A thread that frees itself is here on its own stack: nothing to wait for.
    if (GetCurrentThreadId() != threadId_) {
        destroying_ = true;
        terminated_ = true;
        if (!started_.exchange(true) || suspended_) ResumeThread(handle_);
        suspended_ = false;
        WaitServingSynchronize(handle_);
    }
    CloseHandle(handle_);
}

unsigned __attribute__((stdcall)) TThread::ThreadProc(void* parameter)
{
    TThread* thread = static_cast<TThread*>(parameter);
    thread->Run();
    // `thread` may be freed by now (FreeOnTerminate); the exit code is not read.
    return 0;
}

// Nothing may escape: an exception leaving a thread entry ends the process.
void TThread::Run()
{
    try {
        if (!terminated_) Execute();
    } catch (...) {
        fatalException_ = std::current_exception();
    }
    if (!destroying_) {
        try {
            DoTerminate();
        } catch (...) {
            if (!fatalException_) fatalException_ = std::current_exception();
        }
    }
    bool freeSelf = freeOnTerminate_ && !destroying_;
    finished_ = true;
    if (freeSelf) delete this;
}

void TThread::DoTerminate()
{
    if (OnTerminate) Synchronize([this] { OnTerminate(this); });
}

void TThread::Start()
{
    if (!started_.exchange(true)) {
        suspended_ = false;
        ResumeThread(handle_);
    } else if (suspended_) {
        suspended_ = false;
        ResumeThread(handle_);
    }
}

void TThread::Suspend()
{
    if (!started_ || finished_ || suspended_) return;
    suspended_ = true;
    SuspendThread(handle_);
}

int TThread::WaitFor()
{
    if (GetCurrentThreadId() == threadId_) throw EInvalidOperation("A thread cannot wait for itself");
    if (!started_) throw EInvalidOperation("Cannot wait for a thread that was not started");
    if (freeOnTerminate_) throw EInvalidOperation("Cannot wait for a thread that frees itself");
    WaitServingSynchronize(handle_);
    return returnValue_;
}

namespace {

const int kPriorities[] = {
    THREAD_PRIORITY_IDLE, THREAD_PRIORITY_LOWEST, THREAD_PRIORITY_BELOW_NORMAL, THREAD_PRIORITY_NORMAL,
    THREAD_PRIORITY_ABOVE_NORMAL, THREAD_PRIORITY_HIGHEST, THREAD_PRIORITY_TIME_CRITICAL,
};

}  // namespace

TThreadPriority TThread::GetPriority() const
{
    int priority = GetThreadPriority(handle_);
    for (int i = tpIdle; i <= tpTimeCritical; i++) {
        if (kPriorities[i] == priority) return static_cast<TThreadPriority>(i);
    }
    return tpNormal;
}

void TThread::SetPriority(TThreadPriority Value)
{
    if (Value < tpIdle || Value > tpTimeCritical) throw EPropertyError("Invalid thread priority");
    SetThreadPriority(handle_, kPriorities[Value]);
}

AnsiString TThread::GetFatalExceptionMessage() const
{
    if (!fatalException_) return AnsiString();
    try {
        std::rethrow_exception(fatalException_);
    } catch (const Exception& e) {
        return e.Message;
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "Unknown exception";
    }
}

void TThread::Synchronize(const TThreadMethod& Method)
{
    RunOnMainThread(Method);
}

void TThread::Synchronize(TThread*, const TThreadMethod& Method)
{
    RunOnMainThread(Method);
}
