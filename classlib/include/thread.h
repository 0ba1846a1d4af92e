// TThread: a worker thread with the class library's life cycle, and
// Synchronize, which runs a call on the main (GUI) thread.
//
// The main thread is the one that calls InitSynchronize (the application at
// start-up; otherwise the first thread to make a TThread). It owns a hidden
// message-only window: Synchronize posts to it and waits, so the call runs
// in whatever message loop the main thread is in, modal ones and message
// boxes included. A main thread that waits in WaitFor serves the calls too.
// An exception thrown by the synchronized call is re-raised in the thread
// that asked for it.
//
// C++ builds the base before the derived part, so a thread cannot start
// inside TThread's constructor (Execute would run on a half-built object):
// construct with CreateSuspended true and call Start() when ready. Passing
// false raises EInvalidOperation, so that no caller waits for a thread that
// never runs.
//
// An exception escaping Execute never ends the process: it is kept in
// FatalException. OnTerminate runs on the main thread after Execute.
#ifndef CLASSLIB_THREAD_H
#define CLASSLIB_THREAD_H

#include <atomic>
#include <exception>
#include <functional>

#include "ansistring.h"
#include "component.h"

using TThreadMethod = std::function<void()>;

enum TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

// Makes the calling thread the main thread and creates its hidden window.
// Later calls (from any thread) do nothing.
void InitSynchronize();
// Runs the waiting Synchronize calls when called on the main thread; true
// if there were any. For message loops that want to serve them early.
bool CheckSynchronize();
// True on the main thread (and before InitSynchronize, on any thread).
bool IsMainThread();

class TThread : public TObject {
public:
    explicit TThread(bool CreateSuspended);
    // A thread still running is told to terminate and waited for; OnTerminate
    // and FreeOnTerminate are not honoured from here on.
    ~TThread() override;

    // Starts a thread created suspended, or resumes one stopped by Suspend.
    void Start();
    void Resume() { Start(); }
    // Stops the thread wherever it is (use with care: it may hold a lock).
    void Suspend();
    // Asks Execute to end; Execute polls GetTerminated().
    void Terminate() { terminated_ = true; }
    bool GetTerminated() const { return terminated_; }
    // Waits for the end and answers ReturnValue. On the main thread it
    // serves Synchronize calls meanwhile. Raises EInvalidOperation for a
    // thread never started, for the thread itself, and for a thread that
    // frees itself.
    int WaitFor();

    bool GetFreeOnTerminate() const { return freeOnTerminate_; }
    void SetFreeOnTerminate(bool Value) { freeOnTerminate_ = Value; }
    TThreadPriority GetPriority() const;
    void SetPriority(TThreadPriority Value);
    bool GetSuspended() const { return suspended_; }
    bool GetFinished() const { return finished_; }
    void* GetHandle() const { return handle_; }
    unsigned long GetThreadID() const { return threadId_; }
    int GetReturnValue() const { return returnValue_; }
    // What escaped Execute (or OnTerminate), null if nothing.
    std::exception_ptr GetFatalException() const { return fatalException_; }
    // Its message ("" when none).
    AnsiString GetFatalExceptionMessage() const;

    TNotifyEvent OnTerminate;

    // Runs Method on the main thread and waits for it; directly when called
    // on the main thread.
    void Synchronize(const TThreadMethod& Method);
    template <typename T>
    void Synchronize(T* Object, void (T::*Method)())
    {
        Synchronize([Object, Method] { (Object->*Method)(); });
    }
    static void Synchronize(TThread* Thread, const TThreadMethod& Method);

protected:
    virtual void Execute() = 0;
    // Runs OnTerminate (on the main thread).
    virtual void DoTerminate();
    void SetReturnValue(int Value) { returnValue_ = Value; }

private:
    static unsigned __attribute__((stdcall)) ThreadProc(void* parameter);
    void Run();

    void* handle_ = nullptr;
    unsigned long threadId_ = 0;
    std::atomic<bool> terminated_{false};
    std::atomic<bool> finished_{false};
    std::atomic<bool> started_{false};
    std::atomic<bool> destroying_{false};
    bool suspended_ = true;
    std::atomic<bool> freeOnTerminate_{false};
    int returnValue_ = 0;
    std::exception_ptr fatalException_;
};

#endif
