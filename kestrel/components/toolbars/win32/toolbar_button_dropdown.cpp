// Dropdown menus of toolbar buttons, and TDropdownList, the window that
// hears their menu messages.
#include "toolbar_button.h"

#include <algorithm>
#include <typeinfo>

#include "application.h"
#include "forms.h"
#include "handleexception.h"
#include "dock.h"
#include "tool_window.h"

namespace {

const char DropdownClass[] = "KestrelDropdownList";

LRESULT CALLBACK DropdownProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    auto* list = reinterpret_cast<TDropdownList*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (list) {
        TMessage m{msg, wp, lp, 0};
        try {
            if (list->HandleMessage(m)) return m.Result;
        } catch (...) {
            HandleCallbackException();
            return 0;
        }
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

HWND MakeDropdownWindow(TDropdownList* list)
{
    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DropdownProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = DropdownClass;
        if (!RegisterClassA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
            throw EOutOfResources("Cannot register the dropdown menu window class");
        registered = true;
    }
    HWND hwnd = CreateWindowExA(WS_EX_TOOLWINDOW, DropdownClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    if (!hwnd) throw EOutOfResources("Cannot create the dropdown menu window");
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(list));
    return hwnd;
}

bool IsPress(UINT msg)
{
    return msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN || msg == WM_LBUTTONDBLCLK ||
           msg == WM_RBUTTONDBLCLK || msg == WM_MBUTTONDBLCLK;
}

// The dock the button's tool window is docked to, if any; a side dock puts
// the menu beside the button.
TDock* DockOf(TControl* button)
{
    auto* bar = dynamic_cast<TCustomToolWindow*>(button->GetParent());
    return bar ? bar->GetDockedTo() : nullptr;
}

}  // namespace

// ---- the button's side

void TToolbarButton::Dropdown()
{
    TWinControl* parent = GetParent();
    if (parent && parent->HandleAllocated() && GetCapture() == parent->GetHandle()) ReleaseCapture();
    bool showMenu = dropdownMenu_ != nullptr;
    bool removeClicks = true;
    if (OnDropdown) OnDropdown(this, showMenu, removeClicks);
    if (showMenu && dropdownMenu_ && parent) {
        // Below the button; beside it when its bar is docked at a side.
        POINT at = ClientToScreen(POINT{0, height_});
        bool alignRight = false;
        TDock* dock = DockOf(this);
        if (dock && dock->GetPosition() == dpLeft) {
            at = ClientToScreen(POINT{width_, 0});
        } else if (dock && dock->GetPosition() == dpRight) {
            at = ClientToScreen(POINT{0, 0});
            alignRight = true;
        }
        Repaint();
        PopupAt(dropdownMenu_, at, alignRight);
    }
    if (removeClicks) RemoveQueuedClicks();
}

void TToolbarButton::PopupAt(TPopupMenu* Menu, POINT At, bool AlignRight)
{
    Menu->SetPopupComponent(this);
    if (typeid(*Menu) != typeid(TPopupMenu)) {
        TPopupAlignment old = Menu->GetAlignment();
        if (AlignRight) Menu->SetAlignment(paRight);
        try {
            Menu->Popup(At.x, At.y);
        } catch (...) {
            Menu->SetAlignment(old);
            throw;
        }
        Menu->SetAlignment(old);
        return;
    }
    if (Menu->OnPopup) Menu->OnPopup(Menu);
    static const UINT align[] = {TPM_LEFTALIGN, TPM_RIGHTALIGN, TPM_CENTERALIGN};
    UINT flags = align[AlignRight ? paRight : Menu->GetAlignment()] | TPM_RETURNCMD |
                 (Menu->GetTrackButton() == tbRightButton ? TPM_RIGHTBUTTON : TPM_LEFTBUTTON);
    TDropdownList* list = DropdownList();
    list->AddMenu(Menu);
    UINT command = UINT(TrackPopupMenu(Menu->GetHandle(), flags, At.x, At.y, 0, list->GetWindow(), nullptr));
    if (command) Menu->DispatchCommand(WORD(command));
}

// The click that closes the menu must not open it again: presses on this
// button waiting in the queue go; other mouse-button messages are put back.
void TToolbarButton::RemoveQueuedClicks()
{
    TWinControl* parent = GetParent();
    HWND own = parent && parent->HandleAllocated() ? parent->GetHandle() : nullptr;
    RECT bounds = GetBoundsRect();
    std::vector<MSG> keep;
    MSG m;
    while (PeekMessageA(&m, nullptr, WM_LBUTTONDOWN, WM_MBUTTONDBLCLK, PM_REMOVE)) {
        POINT p = PointFromLParam(m.lParam);
        bool onThis = own && m.hwnd == own && PtInRect(&bounds, p);
        if (!(IsPress(m.message) && onThis)) keep.push_back(m);
    }
    for (const MSG& k : keep) PostMessageA(k.hwnd, k.message, k.wParam, k.lParam);
}

// ---- TDropdownList

TDropdownList::TDropdownList() : TComponent(nullptr) {}

TDropdownList::~TDropdownList()
{
    if (window_) DestroyWindow(window_);
}

TDropdownList* DropdownList()
{
    static TDropdownList list;
    return &list;
}

void TDropdownList::AddMenu(TPopupMenu* Menu)
{
    if (!Menu || std::find(menus_.begin(), menus_.end(), Menu) != menus_.end()) return;
    if (!window_) window_ = MakeDropdownWindow(this);
    menus_.push_back(Menu);
    FreeNotification(Menu);
}

void TDropdownList::RemoveMenu(TPopupMenu* Menu)
{
    auto it = std::find(menus_.begin(), menus_.end(), Menu);
    if (it == menus_.end()) return;
    menus_.erase(it);
    RemoveFreeNotification(Menu);
    if (menus_.empty() && window_) {
        DestroyWindow(window_);
        window_ = nullptr;
    }
}

void TDropdownList::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    auto it = std::find(menus_.begin(), menus_.end(), AComponent);
    if (it == menus_.end()) return;
    menus_.erase(it);
    if (menus_.empty() && window_) {
        DestroyWindow(window_);
        window_ = nullptr;
    }
}

TMenuItem* TDropdownList::FindItem(UINT_PTR Value, TFindItemKind Kind)
{
    for (TPopupMenu* menu : menus_) {
        if (TMenuItem* item = menu->FindItem(Value, Kind)) return item;
    }
    return nullptr;
}

bool TDropdownList::ShowItemHelp(const HELPINFO* Info)
{
    if (Info->iContextType != HELPINFO_MENUITEM) return false;
    TMenuItem* item = FindItem(UINT_PTR(Info->iCtrlId), fkCommand);
    if (!item) item = FindItem(reinterpret_cast<UINT_PTR>(Info->hItemHandle), fkHandle);
    if (!item || !Application) return false;
    TCustomForm* active = nullptr;
    HWND focus = GetActiveWindow();
    if (focus) active = dynamic_cast<TCustomForm*>(FindControl(focus));
    bool contextPopup = active && (active->GetBorderIcons() & biHelp);
    if (contextPopup) return Application->HelpCommand(HELP_CONTEXTPOPUP, ULONG_PTR(item->GetHelpContext()));
    return Application->HelpContext(item->GetHelpContext());
}

bool TDropdownList::HandleMessage(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_HELP:
        ShowItemHelp(reinterpret_cast<const HELPINFO*>(Message.LParam));
        Message.Result = 1;
        return true;
    case WM_COMMAND:
    case WM_INITMENUPOPUP:
        for (TPopupMenu* menu : std::vector<TPopupMenu*>(menus_)) {
            if (menu->HandleMenuMessage(Message)) return true;
        }
        return false;
    case WM_MENUSELECT: {
        UINT flags = HIWORD(Message.WParam);
        TMenuItem* item = nullptr;
        if (!(flags == 0xFFFF && !Message.LParam)) {
            UINT_PTR id = LOWORD(Message.WParam);
            if (flags & MF_POPUP) {
                HMENU sub = GetSubMenu(reinterpret_cast<HMENU>(Message.LParam), int(id));
                item = FindItem(reinterpret_cast<UINT_PTR>(sub), fkHandle);
            } else {
                item = FindItem(id, fkCommand);
            }
        }
        if (Application) Application->SetHint(item ? item->GetHint() : AnsiString());
        Message.Result = 0;
        return true;
    }
    default: return false;
    }
}
