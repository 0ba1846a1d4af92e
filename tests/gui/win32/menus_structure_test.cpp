// Menu items and the Win32 menus that mirror them: structure, states,
// shortcut names and misuse.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "menus.h"

namespace {

std::string MenuString(HMENU menu, int pos)
{
    char text[256] = "";
    GetMenuStringA(menu, UINT(pos), text, sizeof text, MF_BYPOSITION);
    return text;
}

std::vector<std::string> MenuStrings(HMENU menu)
{
    std::vector<std::string> out;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) out.push_back(MenuString(menu, i));
    return out;
}

UINT State(HMENU menu, int pos)
{
    return GetMenuState(menu, UINT(pos), MF_BYPOSITION);
}

TMenuItem* NewItem(TMenuItem* parent, const char* caption)
{
    auto* item = new TMenuItem(nullptr);
    item->SetCaption(caption);
    if (parent) parent->Add(item);
    return item;
}

void ExpectMenuError(const std::function<void()>& f, const char* message)
{
    try {
        f();
        ADD_FAILURE() << "no EMenuError, expected " << message;
    } catch (const EMenuError& e) {
        EXPECT_STREQ(message, e.Message.c_str());
    }
}

class MenuStructure : public ::testing::Test {
protected:
    TPopupMenu menu{nullptr};
    TMenuItem* root = menu.GetItems();
};

}  // namespace

TEST_F(MenuStructure, InsertAndDeleteAreMirroredAndDeleteDoesNotFree)
{
    NewItem(root, "A");
    NewItem(root, "B");
    NewItem(root, "C");
    HMENU h = menu.GetHandle();
    EXPECT_EQ((std::vector<std::string>{"A", "B", "C"}), MenuStrings(h));

    auto* x = new TMenuItem(nullptr);
    x->SetCaption("X");
    root->Insert(1, x);
    EXPECT_EQ((std::vector<std::string>{"A", "X", "B", "C"}), MenuStrings(h));
    EXPECT_EQ(1, x->GetMenuIndex());
    EXPECT_EQ(root, x->GetParent());

    TMenuItem* a = root->GetItem(0);
    root->Delete(0);
    EXPECT_EQ((std::vector<std::string>{"X", "B", "C"}), MenuStrings(h));
    EXPECT_EQ(nullptr, a->GetParent());
    EXPECT_EQ(-1, a->GetMenuIndex());
    delete a;

    // Deleting an item takes it out of its parent and its menu.
    delete x;
    EXPECT_EQ((std::vector<std::string>{"B", "C"}), MenuStrings(h));
    EXPECT_EQ(2, root->GetCount());

    root->Clear();
    EXPECT_EQ(0, GetMenuItemCount(h));
}

TEST_F(MenuStructure, HiddenItemsAreLeftOutOfTheWin32Menu)
{
    NewItem(root, "A");
    TMenuItem* b = NewItem(root, "B");
    NewItem(root, "C");
    HMENU h = menu.GetHandle();
    b->SetVisible(false);
    EXPECT_EQ((std::vector<std::string>{"A", "C"}), MenuStrings(h));
    EXPECT_EQ(1, b->GetMenuIndex()) << "MenuIndex counts hidden items";
    b->SetVisible(true);
    EXPECT_EQ((std::vector<std::string>{"A", "B", "C"}), MenuStrings(h));
}

TEST_F(MenuStructure, StatesFollowTheProperties)
{
    TMenuItem* check = NewItem(root, "Check");
    TMenuItem* gray = NewItem(root, "Gray");
    NewItem(root, "-");
    TMenuItem* column = NewItem(root, "Column");
    TMenuItem* bar = NewItem(root, "Bar");
    TMenuItem* def = NewItem(root, "Default");
    HMENU h = menu.GetHandle();

    check->SetChecked(true);
    gray->SetEnabled(false);
    column->SetBreak(mbBreak);
    bar->SetBreak(mbBarBreak);
    def->SetDefault(true);

    EXPECT_TRUE(State(h, 0) & MF_CHECKED);
    EXPECT_TRUE(State(h, 1) & MF_GRAYED);
    EXPECT_FALSE(State(h, 0) & MF_GRAYED);
    EXPECT_TRUE(State(h, 2) & MF_SEPARATOR);
    EXPECT_TRUE(check->IsLine() == false && root->GetItem(2)->IsLine());
    EXPECT_TRUE(State(h, 3) & MF_MENUBREAK);
    EXPECT_TRUE(State(h, 4) & MF_MENUBARBREAK);
    EXPECT_EQ(GetMenuItemID(h, 5), GetMenuDefaultItem(h, FALSE, 0));

    check->SetChecked(false);
    gray->SetEnabled(true);
    column->SetBreak(mbNone);
    EXPECT_FALSE(State(h, 0) & MF_CHECKED);
    EXPECT_FALSE(State(h, 1) & MF_GRAYED);
    EXPECT_FALSE(State(h, 3) & MF_MENUBREAK);

    // Only one default per menu.
    check->SetDefault(true);
    EXPECT_FALSE(def->GetDefault());
    EXPECT_EQ(GetMenuItemID(h, 0), GetMenuDefaultItem(h, FALSE, 0));
}

TEST_F(MenuStructure, AnItemBecomesASubmenuWithItsFirstChildAndStopsWithItsLast)
{
    TMenuItem* file = NewItem(root, "&File");
    HMENU h = menu.GetHandle();
    EXPECT_FALSE(State(h, 0) & MF_POPUP);
    EXPECT_EQ(file->GetCommand(), GetMenuItemID(h, 0));

    TMenuItem* open = NewItem(file, "&Open");
    ASSERT_TRUE(State(h, 0) & MF_POPUP);
    EXPECT_EQ(file->GetHandle(), GetSubMenu(h, 0));
    EXPECT_EQ((std::vector<std::string>{"&Open"}), MenuStrings(file->GetHandle()));
    EXPECT_EQ(open->GetCommand(), GetMenuItemID(file->GetHandle(), 0));

    // Changes inside the submenu reach its handle.
    open->SetCaption("&Open...");
    NewItem(file, "E&xit");
    EXPECT_EQ((std::vector<std::string>{"&Open...", "E&xit"}), MenuStrings(file->GetHandle()));

    file->Clear();
    EXPECT_FALSE(State(h, 0) & MF_POPUP);
    EXPECT_EQ(&menu, file->GetMenu());
}

TEST_F(MenuStructure, ARadioItemUnchecksTheOthersOfItsGroupOnly)
{
    std::vector<TMenuItem*> items;
    for (int i = 0; i < 4; ++i) {
        TMenuItem* item = NewItem(root, "R");
        item->SetRadioItem(true);
        item->SetGroupIndex(i < 3 ? 1 : 2);
        items.push_back(item);
    }
    TMenuItem* plain = NewItem(root, "Plain");
    plain->SetChecked(true);
    items[3]->SetChecked(true);
    items[0]->SetChecked(true);
    items[1]->SetChecked(true);
    EXPECT_FALSE(items[0]->GetChecked());
    EXPECT_TRUE(items[1]->GetChecked());
    EXPECT_TRUE(items[3]->GetChecked()) << "another group";
    EXPECT_TRUE(plain->GetChecked()) << "not a radio item";
    HMENU h = menu.GetHandle();
    EXPECT_FALSE(State(h, 0) & MF_CHECKED);
    EXPECT_TRUE(State(h, 1) & MF_CHECKED);
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    GetMenuItemInfoA(h, 1, TRUE, &info);
    EXPECT_TRUE(info.fType & MFT_RADIOCHECK);
}

TEST_F(MenuStructure, ShortCutTextIsAppendedAfterATab)
{
    TMenuItem* save = NewItem(root, "&Save");
    save->SetShortCut(ShortCut('S', ssCtrl));
    TMenuItem* zoom = NewItem(root, "Zoom in");
    zoom->SetShortCut(ShortCut(VK_OEM_PLUS, ssCtrl | ssShift));
    HMENU h = menu.GetHandle();
    EXPECT_EQ("&Save\tCtrl+S", MenuString(h, 0));
    EXPECT_EQ("Zoom in\tShift+Ctrl++", MenuString(h, 1));
    save->SetShortCut(scNone);
    EXPECT_EQ("&Save", MenuString(h, 0));
}

TEST(ShortCuts, NamesAndTheirReverse)
{
    EXPECT_STREQ("Ctrl+S", ShortCutToText(ShortCut('S', ssCtrl)).c_str());
    EXPECT_STREQ("Shift+Ctrl+Alt+F5", ShortCutToText(ShortCut(VK_F5, ssAlt | ssCtrl | ssShift)).c_str());
    EXPECT_STREQ("Del", ShortCutToText(ShortCut(VK_DELETE, 0)).c_str());
    EXPECT_STREQ("Num 7", ShortCutToText(ShortCut(VK_NUMPAD7, 0)).c_str());
    EXPECT_STREQ("", ShortCutToText(ShortCut(0xFF, ssCtrl)).c_str()) << "a key without a name";
    EXPECT_EQ(scNone, ShortCut(0x1FF, 0)) << "not a virtual key";
    EXPECT_EQ(TShortCut('S' | scCtrl), ShortCut('S', ssCtrl | ssLeft)) << "mouse bits do not count";

    // Every named key, with every modifier set, reads back.
    for (int key = 1; key < 256; ++key) {
        for (TShiftState shift : {0u, unsigned(ssShift), unsigned(ssCtrl | ssAlt)}) {
            TShortCut s = ShortCut(WORD(key), shift);
            AnsiString text = ShortCutToText(s);
            if (text.IsEmpty()) continue;
            EXPECT_EQ(s, TextToShortCut(text)) << text.c_str();
            EXPECT_EQ(s, TextToShortCut(text.LowerCase())) << text.c_str();
        }
    }
    EXPECT_EQ(TShortCut(VK_OEM_PLUS | scCtrl), TextToShortCut("Ctrl++"));
    EXPECT_EQ(scNone, TextToShortCut("Ctrl+"));
    EXPECT_EQ(scNone, TextToShortCut("Hyper+S"));
    EXPECT_EQ(scNone, TextToShortCut(""));

    WORD key;
    TShiftState shift;
    ShortCutToKey(ShortCut(VK_F2, ssShift | ssAlt), key, shift);
    EXPECT_EQ(VK_F2, key);
    EXPECT_EQ(unsigned(ssShift | ssAlt), shift);

    EXPECT_STREQ("Save As", StripHotkey("Save &As").c_str());
    EXPECT_STREQ("Fish & Chips", StripHotkey("Fish && Chips").c_str());
    EXPECT_STREQ("End", StripHotkey("End&").c_str());
}

TEST_F(MenuStructure, MisuseRaisesMenuErrors)
{
    TMenuItem* a = NewItem(root, "A");
    TMenuItem* child = NewItem(a, "Child");
    ExpectMenuError([&] { root->GetItem(1); }, "Menu index out of range");
    ExpectMenuError([&] { root->GetItem(-1); }, "Menu index out of range");
    ExpectMenuError([&] { root->Delete(5); }, "Menu index out of range");
    ExpectMenuError([&] { root->Insert(0, a); }, "Menu inserted twice");
    ExpectMenuError([&] { child->Add(a); }, "Menu inserted twice") ;
    ExpectMenuError([&] { a->Add(a); }, "Menu inserted twice");
    ExpectMenuError([&] { a->Add(root); }, "Menu inserted twice");
    std::unique_ptr<TMenuItem> loose(new TMenuItem(nullptr));
    ExpectMenuError([&] { root->Insert(7, loose.get()); }, "Menu index out of range");
    ExpectMenuError([&] { root->Remove(loose.get()); }, "Sub-menu is not in menu");
    ExpectMenuError([&] { root->Remove(child); }, "Sub-menu is not in menu");
    // Nothing changed.
    EXPECT_EQ(1, root->GetCount());
    EXPECT_EQ(1, a->GetCount());
    EXPECT_EQ(nullptr, loose->GetParent());
}

TEST_F(MenuStructure, FindIndexOfAndMenuIndex)
{
    TMenuItem* save = NewItem(root, "&Save");
    TMenuItem* saveAs = NewItem(root, "Save &As...");
    TMenuItem* exitItem = NewItem(root, "E&xit");
    EXPECT_EQ(saveAs, root->Find("save as..."));
    EXPECT_EQ(save, root->Find("SAVE"));
    EXPECT_EQ(nullptr, root->Find("Open"));
    EXPECT_EQ(2, root->IndexOf(exitItem));
    EXPECT_EQ(-1, root->IndexOf(nullptr));

    exitItem->SetMenuIndex(0);
    EXPECT_EQ((std::vector<std::string>{"E&xit", "&Save", "Save &As..."}), MenuStrings(menu.GetHandle()));
    save->SetMenuIndex(99);
    EXPECT_EQ(2, save->GetMenuIndex());
    EXPECT_EQ((std::vector<std::string>{"E&xit", "Save &As...", "&Save"}), MenuStrings(menu.GetHandle()));
}

TEST_F(MenuStructure, FindItemByCommandHandleAndShortCut)
{
    TMenuItem* edit = NewItem(root, "Edit");
    TMenuItem* copy = NewItem(edit, "Copy");
    copy->SetShortCut(ShortCut('C', ssCtrl));
    TMenuItem* hiddenParent = NewItem(root, "Hidden");
    TMenuItem* paste = NewItem(hiddenParent, "Paste");
    paste->SetShortCut(ShortCut('V', ssCtrl));
    hiddenParent->SetVisible(false);

    EXPECT_EQ(copy, menu.FindItem(copy->GetCommand(), fkCommand));
    EXPECT_EQ(edit, menu.FindItem(reinterpret_cast<UINT_PTR>(edit->GetHandle()), fkHandle));
    EXPECT_EQ(root, menu.FindItem(reinterpret_cast<UINT_PTR>(menu.GetHandle()), fkHandle));
    EXPECT_EQ(copy, menu.FindItem(ShortCut('C', ssCtrl), fkShortCut));
    EXPECT_EQ(nullptr, menu.FindItem(ShortCut('V', ssCtrl), fkShortCut)) << "under a hidden item";
    EXPECT_EQ(nullptr, menu.FindItem(0xFFFF, fkCommand));
}

TEST(MenuCommands, AreUniqueAndComeBackWhenFreed)
{
    std::set<UINT> ids;
    std::vector<std::unique_ptr<TMenuItem>> items;
    for (int i = 0; i < 50; ++i) {
        items.emplace_back(new TMenuItem(nullptr));
        EXPECT_GE(items.back()->GetCommand(), 100u);
        EXPECT_LE(items.back()->GetCommand(), 0xFFFFu);
        ids.insert(items.back()->GetCommand());
    }
    EXPECT_EQ(50u, ids.size());
    UINT freed = items[10]->GetCommand();
    items.clear();
    std::unique_ptr<TMenuItem> again(new TMenuItem(nullptr));
    EXPECT_LE(again->GetCommand(), freed) << "ids are reused, so they last a long session";
}

TEST(MenuHandles, AreDestroyedWithTheirItemsAndMenus)
{
    HMENU rootHandle;
    HMENU subHandle;
    HMENU loneHandle;
    {
        TMainMenu menu(nullptr);
        TMenuItem* file = NewItem(menu.GetItems(), "File");
        NewItem(file, "Open");
        TMenuItem* lone = NewItem(nullptr, "Lone");
        NewItem(lone, "Child");
        loneHandle = lone->GetHandle();
        rootHandle = menu.GetHandle();
        subHandle = file->GetHandle();
        EXPECT_TRUE(IsMenu(rootHandle));
        delete lone;
        EXPECT_FALSE(IsMenu(loneHandle));
        EXPECT_TRUE(IsMenu(subHandle));
    }
    EXPECT_FALSE(IsMenu(rootHandle));
    EXPECT_FALSE(IsMenu(subHandle));
}

TEST(MenuItems, OwnedItemsAreFreedWithTheirOwnerInAnyOrder)
{
    // Items owned by a component (as a form owns them) and also children of
    // each other: the owner frees the later ones first, and a parent freed
    // before its children must not free them twice.
    auto* owner = new TComponent(nullptr);
    auto* child = new TMenuItem(owner);
    auto* parent = new TMenuItem(owner);
    parent->Add(child);
    auto* menu = new TPopupMenu(owner);
    menu->GetItems()->Add(parent);
    EXPECT_EQ(3, owner->GetComponentCount());
    delete owner;  // menu, then parent (which frees child), then nothing
}
