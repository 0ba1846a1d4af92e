// TMenuItem: one entry of a menu, and the Win32 menu of its children.
#include "menus.h"

#include <algorithm>
#include <vector>

namespace {

const char IndexOutOfRange[] = "Menu index out of range";
const char InsertedTwice[] = "Menu inserted twice";
const char NotInMenu[] = "Sub-menu is not in menu";

// Command ids in use. Ids start above the dialog button ids (IDOK = 1 ...)
// that a WM_COMMAND from a dialog key may carry; they fit the 16 bits that
// WM_COMMAND has for them.
const UINT FirstCommand = 100;
const UINT LastCommand = 0xFFFF;

std::vector<bool>& CommandsInUse()
{
    static auto* used = new std::vector<bool>(LastCommand + 1, false);
    return *used;
}

UINT AllocateCommand()
{
    auto& used = CommandsInUse();
    for (UINT id = FirstCommand; id <= LastCommand; ++id) {
        if (!used[id]) {
            used[id] = true;
            return id;
        }
    }
    throw EMenuError("Too many menu items");
}

void ReleaseCommand(UINT id)
{
    CommandsInUse()[id] = false;
}

void RemoveAllEntries(HMENU menu)
{
    // RemoveMenu, not DeleteMenu: submenus belong to their items.
    for (int n = GetMenuItemCount(menu); n > 0; --n) RemoveMenu(menu, 0, MF_BYPOSITION);
}

}  // namespace

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner), command_(AllocateCommand()) {}

TMenuItem::~TMenuItem()
{
    destroying_ = true;
    if (parent_) parent_->Remove(this);
    if (handle_) RemoveAllEntries(handle_);
    while (!items_.empty()) delete items_.back();
    if (handle_) DestroyMenu(handle_);
    ReleaseCommand(command_);
}

void TMenuItem::SetCaption(const AnsiString& Value)
{
    if (Value == caption_) return;
    caption_ = Value;
    Changed();
}

void TMenuItem::SetShortCut(TShortCut Value)
{
    if (Value == shortCut_) return;
    shortCut_ = Value;
    Changed();
}

void TMenuItem::SetChecked(bool Value)
{
    if (Value == checked_) return;
    checked_ = Value;
    if (Value && radioItem_) UncheckRadioSiblings();
    Changed();
}

void TMenuItem::SetRadioItem(bool Value)
{
    if (Value == radioItem_) return;
    radioItem_ = Value;
    if (Value && checked_) UncheckRadioSiblings();
    Changed();
}

void TMenuItem::SetGroupIndex(int Value)
{
    if (Value == groupIndex_) return;
    groupIndex_ = Value;
    if (radioItem_ && checked_) UncheckRadioSiblings();
    Changed();
}

void TMenuItem::UncheckRadioSiblings()
{
    if (!parent_) return;
    for (TMenuItem* other : parent_->items_) {
        if (other != this && other->radioItem_ && other->groupIndex_ == groupIndex_ && other->checked_) {
            other->checked_ = false;
            other->Changed();
        }
    }
}

void TMenuItem::SetEnabled(bool Value)
{
    if (Value == enabled_) return;
    enabled_ = Value;
    Changed();
}

void TMenuItem::SetVisible(bool Value)
{
    if (Value == visible_) return;
    visible_ = Value;
    Changed();
}

void TMenuItem::SetDefault(bool Value)
{
    if (Value == default_) return;
    // Windows shows one default item per menu.
    if (Value && parent_)
        for (TMenuItem* other : parent_->items_) other->default_ = false;
    default_ = Value;
    Changed();
}

void TMenuItem::SetBreak(TMenuBreak Value)
{
    if (Value == break_) return;
    break_ = Value;
    Changed();
}

TMenuItem* TMenuItem::GetItem(int Index) const
{
    if (Index < 0 || Index >= GetCount()) throw EMenuError(IndexOutOfRange);
    return items_[size_t(Index)];
}

int TMenuItem::GetMenuIndex() const
{
    return parent_ ? parent_->IndexOf(this) : -1;
}

void TMenuItem::SetMenuIndex(int Value)
{
    if (!parent_) return;
    TMenuItem* parent = parent_;
    int count = parent->GetCount();
    Value = std::max(0, std::min(Value, count - 1));
    if (Value == GetMenuIndex()) return;
    auto& list = parent->items_;
    list.erase(std::find(list.begin(), list.end(), this));
    list.insert(list.begin() + Value, this);
    parent->ChildrenChanged();
}

void TMenuItem::Insert(int Index, TMenuItem* Item)
{
    if (!Item) return;
    bool cycle = false;
    for (const TMenuItem* p = this; p && !cycle; p = p->parent_) cycle = p == Item;
    if (Item->parent_ || Item->menu_ || cycle) throw EMenuError(InsertedTwice);
    if (Index < 0 || Index > GetCount()) throw EMenuError(IndexOutOfRange);
    items_.insert(items_.begin() + Index, Item);
    Item->parent_ = this;
    if (Item->checked_ && Item->radioItem_) Item->UncheckRadioSiblings();
    ChildrenChanged();
}

void TMenuItem::Remove(TMenuItem* Item)
{
    int index = IndexOf(Item);
    if (index < 0) throw EMenuError(NotInMenu);
    Delete(index);
}

void TMenuItem::Delete(int Index)
{
    TMenuItem* item = GetItem(Index);
    items_.erase(items_.begin() + Index);
    item->parent_ = nullptr;
    ChildrenChanged();
}

void TMenuItem::Clear()
{
    while (!items_.empty()) delete items_.back();
}

int TMenuItem::IndexOf(const TMenuItem* Item) const
{
    auto it = std::find(items_.begin(), items_.end(), Item);
    return it == items_.end() ? -1 : int(it - items_.begin());
}

TMenuItem* TMenuItem::Find(const AnsiString& ACaption) const
{
    AnsiString wanted = StripHotkey(ACaption);
    for (TMenuItem* item : items_)
        if (StripHotkey(item->caption_).AnsiCompareIC(wanted) == 0) return item;
    return nullptr;
}

TMenu* TMenuItem::GetMenu() const
{
    const TMenuItem* root = this;
    while (root->parent_) root = root->parent_;
    return root->menu_;
}

AnsiString TMenuItem::GetMenuText() const
{
    AnsiString keys = ShortCutToText(shortCut_);
    return keys.IsEmpty() ? caption_ : caption_ + "\t" + keys;
}

void TMenuItem::Click()
{
    if (enabled_ && OnClick) OnClick(this);
}

HMENU TMenuItem::GetHandle()
{
    if (!handle_) {
        handle_ = menu_ ? menu_->CreateRootHandle() : CreatePopupMenu();
        if (!handle_) throw EOutOfResources("Cannot create a menu");
        RebuildHandle();
    }
    return handle_;
}

TMenuItem* TMenuItem::FindItem(UINT_PTR Value, TFindItemKind Kind)
{
    for (TMenuItem* item : items_) {
        bool hit = false;
        switch (Kind) {
        case fkCommand: hit = item->command_ == Value; break;
        case fkHandle: hit = item->handle_ && reinterpret_cast<UINT_PTR>(item->handle_) == Value; break;
        case fkShortCut: hit = item->visible_ && item->shortCut_ != scNone && item->shortCut_ == Value; break;
        }
        if (hit) return item;
        // A hidden item's children cannot be reached by their keys either.
        if (Kind == fkShortCut && !item->visible_) continue;
        if (TMenuItem* found = item->FindItem(Value, Kind)) return found;
    }
    return nullptr;
}

void TMenuItem::Changed()
{
    if (parent_) parent_->RebuildHandle();
}

void TMenuItem::ChildrenChanged()
{
    RebuildHandle();
    // Gaining the first child or losing the last makes the item a submenu
    // or a command in its own parent.
    Changed();
}

void TMenuItem::RebuildHandle()
{
    if (destroying_) return;
    if (handle_) {
        RemoveAllEntries(handle_);
        for (TMenuItem* item : items_)
            if (item->visible_) item->AppendTo(handle_);
    }
    if (menu_) menu_->MenuChanged();
}

void TMenuItem::AppendTo(HMENU menu)
{
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
    AnsiString text = GetMenuText();
    if (IsLine()) {
        info.fType = MFT_SEPARATOR;
        info.fMask &= ~MIIM_STRING;
    } else {
        info.fType = MFT_STRING;
        info.dwTypeData = const_cast<char*>(text.c_str());
    }
    if (radioItem_) info.fType |= MFT_RADIOCHECK;
    if (break_ == mbBreak) info.fType |= MFT_MENUBREAK;
    if (break_ == mbBarBreak) info.fType |= MFT_MENUBARBREAK;
    if (checked_) info.fState |= MFS_CHECKED;
    if (!enabled_) info.fState |= MFS_GRAYED;
    if (default_) info.fState |= MFS_DEFAULT;
    info.wID = command_;
    info.hSubMenu = items_.empty() ? nullptr : GetHandle();
    InsertMenuItemA(menu, UINT(GetMenuItemCount(menu)), TRUE, &info);
}
