// Synchronize: calls queued by worker threads, run by the main thread from
// its hidden window (in any message loop) or from WaitFor.
#include "synchronize.h"

#include <deque>

#include "exceptions.h"
#include "handleexception.h"

namespace {

const UINT WM_SYNCHRONIZE = WM_APP + 0x5C1;
const char kWindowClass[] = "KestrelSynchronizeWindow";

struct Request {
    const TThreadMethod* method;
    std::exception_ptr error;
    HANDLE done;
};

// Made on first use, from whichever thread comes first; never destroyed,
// since worker threads may still use it while statics are torn down.
struct SyncState {
    SyncState()
    {
        InitializeCriticalSection(&lock);
        pending = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    }
    CRITICAL_SECTION lock;
    HANDLE pending;  // signalled whenever a request is queued
    std::deque<Request*> queue;
    volatile LONG mainThreadId = 0;
    HWND window = nullptr;
};

SyncState& State()
{
    static SyncState* state = new SyncState;
    return *state;
}

LRESULT CALLBACK SynchronizeWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg != WM_SYNCHRONIZE) return DefWindowProcA(hwnd, msg, wParam, lParam);
    try {
        CheckSynchronize();
    } catch (...) {
        HandleCallbackException();
    }
    return 0;
}

HWND CreateSynchronizeWindow()
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = SynchronizeWndProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kWindowClass;
    RegisterClassA(&wc);  // fails harmlessly when already registered
    return CreateWindowExA(0, kWindowClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
}

Request* PopRequest()
{
    SyncState& state = State();
    EnterCriticalSection(&state.lock);
    Request* request = nullptr;
    if (!state.queue.empty()) {
        request = state.queue.front();
        state.queue.pop_front();
    }
    LeaveCriticalSection(&state.lock);
    return request;
}

}  // namespace

void InitSynchronize()
{
    SyncState& state = State();
    LONG self = static_cast<LONG>(GetCurrentThreadId());
    if (InterlockedCompareExchange(&state.mainThreadId, self, 0) != 0) return;
    // Without a window (no display) the calls are still served by WaitFor
    // and CheckSynchronize.
    state.window = CreateSynchronizeWindow();
}

bool IsMainThread()
{
    LONG main = State().mainThreadId;
    return main == 0 || static_cast<DWORD>(main) == GetCurrentThreadId();
}

bool CheckSynchronize()
{
    if (State().mainThreadId == 0 || !IsMainThread()) return false;
    bool any = false;
    while (Request* request = PopRequest()) {
        any = true;
        try {
            (*request->method)();
        } catch (...) {
            request->error = std::current_exception();
        }
        SetEvent(request->done);
    }
    return any;
}

void RunOnMainThread(const TThreadMethod& method)
{
    if (IsMainThread()) {
        method();
        return;
    }
    Request request = {&method, nullptr, CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    if (!request.done) throw EOutOfResources("Cannot create an event for Synchronize");
    SyncState& state = State();
    EnterCriticalSection(&state.lock);
    state.queue.push_back(&request);
    LeaveCriticalSection(&state.lock);
    SetEvent(state.pending);
    if (state.window) PostMessageA(state.window, WM_SYNCHRONIZE, 0, 0);
    WaitForSingleObject(request.done, INFINITE);
    CloseHandle(request.done);
    if (request.error) std::rethrow_exception(request.error);
}

void WaitServingSynchronize(HANDLE handle)
{
    if (!IsMainThread()) {
        WaitForSingleObject(handle, INFINITE);
        return;
    }
    HANDLE handles[2] = {handle, State().pending};
    while (true) {
        DWORD result = MsgWaitForMultipleObjects(2, handles, FALSE, INFINITE, QS_SENDMESSAGE);
        if (result == WAIT_OBJECT_0 || result == WAIT_FAILED) return;
        if (result == WAIT_OBJECT_0 + 1) {
            CheckSynchronize();
        } else {
            // Delivers messages other threads sent to our windows.
            MSG msg;
            PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
        }
    }
}
