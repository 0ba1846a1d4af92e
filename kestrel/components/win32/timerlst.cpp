#include "timerlst.h"

#include "exceptions.h"
#include "handleexception.h"

namespace {

const char* const WindowClassName = "KestrelTimerList";
const UINT_PTR TimerId = 1;

LRESULT CALLBACK TimerWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_TIMER && wParam == TimerId) {
        auto* list = reinterpret_cast<TTimerList*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        // An exception must not cross the system's frames.
        try {
            if (list) list->TimerTick();
        } catch (...) {
            HandleCallbackException();
        }
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

void RegisterWindowClass()
{
    static bool registered = false;
    if (registered) return;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = TimerWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = WindowClassName;
    if (!RegisterClassA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        throw EOutOfResources("Cannot register the timer window class");
    registered = true;
}

}  // namespace

TTimerList::TTimerList(TComponent* AOwner) : TCustomTimerList(AOwner) {}

TTimerList::~TTimerList()
{
    Shutdown();
}

unsigned TTimerList::TickCount()
{
    return GetTickCount();
}

void TTimerList::AllocateTimer()
{
    if (window_) return;
    RegisterWindowClass();
    window_ = CreateWindowExA(0, WindowClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    if (!window_) throw EOutOfResources("Cannot create the timer window");
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

void TTimerList::ReleaseTimer()
{
    if (!window_) return;
    SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
    window_ = nullptr;
}

bool TTimerList::StartSystemTimer(unsigned Milliseconds)
{
    return window_ && SetTimer(window_, TimerId, Milliseconds, nullptr) != 0;
}

void TTimerList::StopSystemTimer()
{
    if (window_) KillTimer(window_, TimerId);
}

void TTimerList::HandleEventException()
{
    HandleCallbackException();
}
