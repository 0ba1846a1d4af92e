// TMenu (the root item and the dispatch of menu messages) and TMainMenu.
#include "menus.h"

#include "application.h"

TMenu::TMenu(TComponent* AOwner) : TComponent(AOwner), items_(new TMenuItem(nullptr))
{
    items_->menu_ = this;
}

TMenu::~TMenu()
{
    delete items_;
}

HMENU TMenu::CreateRootHandle()
{
    return CreatePopupMenu();
}

TMenuItem* TMenu::FindItem(UINT_PTR Value, TFindItemKind Kind)
{
    if (Kind == fkHandle && items_->handle_ && reinterpret_cast<UINT_PTR>(items_->handle_) == Value) return items_;
    return items_->FindItem(Value, Kind);
}

bool TMenu::DispatchCommand(WORD Command)
{
    TMenuItem* item = FindItem(Command, fkCommand);
    if (!item) return false;
    item->Click();
    return true;
}

bool TMenu::DispatchPopup(HMENU Handle)
{
    TMenuItem* item = FindItem(reinterpret_cast<UINT_PTR>(Handle), fkHandle);
    if (!item) return false;
    item->Click();
    return true;
}

namespace {

// Clicks the parents from the top down, so that an OnClick that updates its
// submenu's items (as when the submenu opens) has run; then the item itself
// if it is still enabled and visible.
bool ClickFromTop(TMenuItem* item)
{
    if (TMenuItem* parent = item->GetParent()) {
        if (!ClickFromTop(parent)) return false;
    }
    if (!item->GetEnabled() || !item->GetVisible()) return false;
    item->Click();
    return true;
}

}  // namespace

bool TMenu::IsShortCut(WORD Key, TShiftState Shift)
{
    TShortCut key = ShortCut(Key, Shift);
    if ((key & 0xFF) == 0) return false;
    TMenuItem* item = FindItem(key, fkShortCut);
    if (!item) return false;
    return ClickFromTop(item);
}

bool TMenu::IsShortCut(const TMessage& KeyMessage)
{
    if (KeyMessage.Msg != WM_KEYDOWN && KeyMessage.Msg != WM_SYSKEYDOWN) return false;
    TShiftState shift = KeyDataToShiftState(KeyMessage.LParam);
    if (GetKeyState(VK_SHIFT) < 0) shift |= ssShift;
    if (GetKeyState(VK_CONTROL) < 0) shift |= ssCtrl;
    return IsShortCut(MessageKey(KeyMessage), shift);
}

bool TMenu::HandleMenuMessage(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_COMMAND:
        // Menus send 0 in LParam and in the high word (1 for accelerators).
        if (Message.LParam != 0 || HIWORD(Message.WParam) > 1) return false;
        if (!DispatchCommand(LOWORD(Message.WParam))) return false;
        Message.Result = 0;
        return true;
    case WM_INITMENUPOPUP:
        if (!DispatchPopup(reinterpret_cast<HMENU>(Message.WParam))) return false;
        Message.Result = 0;
        return true;
    case WM_MENUSELECT: {
        // (item or position, flags, menu): flags 0xFFFF with no menu = closed.
        UINT flags = HIWORD(Message.WParam);
        HMENU menu = reinterpret_cast<HMENU>(Message.LParam);
        TMenuItem* item = nullptr;
        if (flags == 0xFFFF && !menu) {
            if (Application) Application->SetHint("");
            return false;
        }
        if (flags & MF_SYSMENU) return false;
        if (flags & MF_POPUP) {
            HMENU sub = GetSubMenu(menu, LOWORD(Message.WParam));
            item = sub ? FindItem(reinterpret_cast<UINT_PTR>(sub), fkHandle) : nullptr;
        } else {
            item = FindItem(LOWORD(Message.WParam), fkCommand);
        }
        if (!item) return false;
        if (Application) Application->SetHint(item->GetHint());
        Message.Result = 0;
        return true;
    }
    default: return false;
    }
}

TMainMenu::TMainMenu(TComponent* AOwner) : TMenu(AOwner) {}

TMainMenu::~TMainMenu()
{
    // The window would destroy the menu again with itself.
    SetWindowHandle(nullptr);
}

HMENU TMainMenu::CreateRootHandle()
{
    return CreateMenu();
}

void TMainMenu::SetWindowHandle(HWND Window)
{
    if (Window == window_) return;
    TMenuItem* root = GetItems();
    if (window_ && IsWindow(window_) && root->HandleAllocated() && ::GetMenu(window_) == root->GetHandle())
        ::SetMenu(window_, nullptr);
    window_ = Window;
    if (window_) ::SetMenu(window_, GetHandle());
}

void TMainMenu::MenuChanged()
{
    if (window_) DrawMenuBar(window_);
}
