// TPopupMenu: a context menu, tracked with a hidden window of its own.
//
// The hidden window receives WM_INITMENUPOPUP and WM_MENUSELECT while the
// menu is up, so a popup menu works whatever window it is shown over; it
// lives only as long as the Popup call.
#include "menus.h"

#include "handleexception.h"
#include "wndproc.h"

namespace {

const char TrackerClass[] = "ClassLibPopupTracker";

LRESULT CALLBACK TrackerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    auto* menu = reinterpret_cast<TPopupMenu*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (menu) {
        TMessage m{msg, wp, lp, 0};
        try {
            if (menu->HandleMenuMessage(m)) return m.Result;
        } catch (...) {
            HandleCallbackException();
            return 0;
        }
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

void RegisterTracker()
{
    static bool registered = false;
    if (registered) return;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = TrackerProc;
    wc.hInstance = ClassLibInstance();
    wc.lpszClassName = TrackerClass;
    if (!RegisterClassA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        throw EOutOfResources("Cannot register the popup menu window class");
    registered = true;
}

// The tracking window, destroyed when the popup has closed.
class Tracker {
public:
    explicit Tracker(TPopupMenu* menu)
    {
        RegisterTracker();
        hwnd_ = CreateWindowExA(WS_EX_TOOLWINDOW, TrackerClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                ClassLibInstance(), nullptr);
        if (!hwnd_) throw EOutOfResources("Cannot create the popup menu window");
        SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(menu));
    }
    ~Tracker() { DestroyWindow(hwnd_); }
    Tracker(const Tracker&) = delete;
    Tracker& operator=(const Tracker&) = delete;
    HWND Handle() const { return hwnd_; }

private:
    HWND hwnd_;
};

}  // namespace

TPopupMenu::TPopupMenu(TComponent* AOwner) : TMenu(AOwner) {}

TPopupMenu::~TPopupMenu() {}

void TPopupMenu::SetPopupComponent(TComponent* Value)
{
    if (Value == popupComponent_) return;
    if (popupComponent_) RemoveFreeNotification(popupComponent_);
    popupComponent_ = Value;
    if (Value) FreeNotification(Value);
}

void TPopupMenu::Notification(TComponent* AComponent, TOperation Operation)
{
    TMenu::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == popupComponent_) popupComponent_ = nullptr;
}

void TPopupMenu::DoPopup()
{
    if (OnPopup) OnPopup(this);
}

void TPopupMenu::Popup(int X, int Y)
{
    UINT command = 0;
    try {
        DoPopup();
        static const UINT align[] = {TPM_LEFTALIGN, TPM_RIGHTALIGN, TPM_CENTERALIGN};
        UINT flags = align[alignment_] | TPM_RETURNCMD |
                     (trackButton_ == tbRightButton ? TPM_RIGHTBUTTON : TPM_LEFTBUTTON);
        Tracker tracker(this);
        command = UINT(TrackPopupMenu(GetHandle(), flags, X, Y, 0, tracker.Handle(), nullptr));
        if (command) DispatchCommand(WORD(command));
    } catch (...) {
        // As if the click had come through the message loop.
        HandleCallbackException();
    }
}
