// Menus at work on a form: commands, submenus opening, shortcuts, hints,
// popup menus, and exceptions from handlers.
#include <string>
#include <vector>

#include "extctrls.h"
#include "gui_fixture.h"
#include "menus.h"
#include "stdctrls.h"

namespace {

// A form showing a main menu through TForm::SetMenu.
class TMenuForm : public TForm {
public:
    explicit TMenuForm(TComponent* owner) : TForm(owner), Menu(new TMainMenu(this)) {}

    void ShowMenu() { SetMenu(Menu); }

    TMainMenu* Menu;
};

TMenuItem* NewItem(TComponent* owner, TMenuItem* parent, const char* caption, std::vector<std::string>* log = nullptr)
{
    auto* item = new TMenuItem(owner);
    item->SetCaption(caption);
    if (log) item->OnClick = [log, caption](TObject*) { log->push_back(caption); };
    parent->Add(item);
    return item;
}

class MenuDispatch : public GuiTest {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        form = new TMenuForm(app.get());
        root = form->Menu->GetItems();
        file = NewItem(form, root, "&File", &log);
        open = NewItem(form, file, "&Open", &log);
        save = NewItem(form, file, "&Save", &log);
        save->SetShortCut(ShortCut('S', ssCtrl));
        form->ShowMenu();
    }

    void Command(TMenuItem* item)
    {
        SendMessageA(form->GetHandle(), WM_COMMAND, item->GetCommand(), 0);
    }

    TMenuForm* form = nullptr;
    TMenuItem* root = nullptr;
    TMenuItem* file = nullptr;
    TMenuItem* open = nullptr;
    TMenuItem* save = nullptr;
    std::vector<std::string> log;
};

}  // namespace

TEST_F(MenuDispatch, TheFormShowsTheMenuBar)
{
    HWND h = form->GetHandle();
    EXPECT_EQ(form->Menu->GetHandle(), GetMenu(h));
    ASSERT_EQ(1, GetMenuItemCount(GetMenu(h)));
    EXPECT_EQ(file->GetHandle(), GetSubMenu(GetMenu(h), 0));
    // A new top-level entry shows at once.
    NewItem(form, root, "&Help");
    EXPECT_EQ(2, GetMenuItemCount(GetMenu(h)));
}

TEST_F(MenuDispatch, ACommandClicksItsItemUnlessDisabled)
{
    Command(open);
    EXPECT_EQ((std::vector<std::string>{"&Open"}), log);
    open->SetEnabled(false);
    Command(open);
    EXPECT_EQ(1u, log.size());
    // A control's notification with the same number is not a menu command.
    SendMessageA(form->GetHandle(), WM_COMMAND, save->GetCommand(), reinterpret_cast<LPARAM>(form->GetHandle()));
    EXPECT_EQ(1u, log.size());
}

TEST_F(MenuDispatch, OpeningASubmenuClicksItsItemFirst)
{
    // The usual use: the parent's handler updates its children before they show.
    file->OnClick = [this](TObject*) { save->SetEnabled(false); };
    SendMessageA(form->GetHandle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file->GetHandle()), 0);
    EXPECT_FALSE(save->GetEnabled());
    EXPECT_TRUE(GetMenuState(file->GetHandle(), 1, MF_BYPOSITION) & MF_GRAYED);
}

TEST_F(MenuDispatch, AnExceptionInOnClickIsShownAndTheProgramGoesOn)
{
    open->OnClick = [](TObject*) { throw Exception("Cannot open the picture"); };
    Command(open);
    ASSERT_EQ(1u, recorder->Boxes.size());
    EXPECT_STREQ("Cannot open the picture.", recorder->Boxes[0].Text.c_str());
    Command(save);
    EXPECT_EQ((std::vector<std::string>{"&Save"}), log);
    EXPECT_TRUE(IsWindow(form->GetHandle()));
}

TEST_F(MenuDispatch, ShortCutsFindTheirItemThroughTheParents)
{
    std::vector<std::string> order;
    file->OnClick = [&](TObject*) { order.push_back("file"); };
    save->OnClick = [&](TObject*) { order.push_back("save"); };
    EXPECT_TRUE(form->Menu->IsShortCut('S', ssCtrl));
    EXPECT_EQ((std::vector<std::string>{"file", "save"}), order);

    EXPECT_FALSE(form->Menu->IsShortCut('S', 0));
    EXPECT_FALSE(form->Menu->IsShortCut('S', ssCtrl | ssShift));

    // A parent handler that disables the item stops it.
    order.clear();
    file->OnClick = [&](TObject*) { save->SetEnabled(false); };
    EXPECT_FALSE(form->Menu->IsShortCut('S', ssCtrl));
    EXPECT_TRUE(order.empty());

    // From a key message: Alt comes in the message.
    TMenuItem* exitItem = NewItem(form, file, "E&xit", &log);
    exitItem->SetShortCut(ShortCut(VK_F4, ssAlt));
    TMessage key{WM_SYSKEYDOWN, VK_F4, LPARAM(1 | (KF_ALTDOWN << 16)), 0};
    EXPECT_TRUE(form->Menu->IsShortCut(key));
    EXPECT_EQ("E&xit", log.back());
    TMessage up{WM_SYSKEYUP, VK_F4, LPARAM(1 | (KF_ALTDOWN << 16)), 0};
    EXPECT_FALSE(form->Menu->IsShortCut(up));
}

TEST_F(MenuDispatch, SelectingAnItemShowsItsHint)
{
    open->SetHint("Opens a picture");
    SendMessageA(form->GetHandle(), WM_MENUSELECT, MAKEWPARAM(open->GetCommand(), MF_HILITE),
                 reinterpret_cast<LPARAM>(file->GetHandle()));
    EXPECT_STREQ("Opens a picture", app->GetHint().c_str());
    file->SetHint("File commands");
    SendMessageA(form->GetHandle(), WM_MENUSELECT, MAKEWPARAM(0, MF_POPUP | MF_HILITE),
                 reinterpret_cast<LPARAM>(form->Menu->GetHandle()));
    EXPECT_STREQ("File commands", app->GetHint().c_str());
    SendMessageA(form->GetHandle(), WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    EXPECT_STREQ("", app->GetHint().c_str());
}

TEST_F(MenuDispatch, TheMenuOutlivesTheFormWindowAndNothingLeaks)
{
    HMENU bar = form->Menu->GetHandle();
    form->GetHandle();
    form->DestroyHandle();
    EXPECT_TRUE(IsMenu(bar)) << "taken off the window before it was destroyed";
    EXPECT_EQ(bar, GetMenu(form->GetHandle())) << "a new window shows it again";

    gui::TGuiCounts before = gui::CountGuiObjects();
    {
        auto* other = new TMenuForm(app.get());
        for (int i = 0; i < 5; ++i) NewItem(other, NewItem(other, other->Menu->GetItems(), "Top"), "Sub");
        other->ShowMenu();
        other->Show();
        gui::PumpUntilIdle();
        delete other;
    }
    gui::PumpUntilIdle();
    EXPECT_EQ(before.TopLevel, gui::CountGuiObjects().TopLevel);
    EXPECT_EQ(before.User, gui::CountGuiObjects().User);
}

TEST_F(MenuDispatch, TheFormLetsGoOfAFreedMenuAndAMenuOfAFreedForm)
{
    HWND h = form->GetHandle();
    delete form->Menu;
    EXPECT_EQ(nullptr, form->GetMenu());
    EXPECT_EQ(nullptr, GetMenu(h));

    // A menu owned elsewhere survives the form that showed it.
    auto* menu = new TMainMenu(app.get());
    NewItem(menu, menu->GetItems(), "&Edit");
    auto* other = new TForm(app.get());
    other->SetMenu(menu);
    HMENU bar = menu->GetHandle();
    EXPECT_EQ(bar, GetMenu(other->GetHandle()));
    delete other;
    EXPECT_TRUE(IsMenu(bar));
    EXPECT_EQ(nullptr, menu->GetWindowHandle());
    delete menu;
}

TEST_F(MenuDispatch, TheClientAreaLiesBelowTheBar)
{
    auto* plain = new TForm(app.get());
    plain->SetBounds(0, 0, 300, 200);
    int withoutBar = plain->GetClientHeight();
    form->SetBounds(0, 0, 300, 200);
    EXPECT_LT(form->GetClientHeight(), withoutBar) << "before the window exists";
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    panel->SetAlign(alClient);
    form->Show();
    gui::PumpUntilIdle();
    RECT client;
    GetClientRect(form->GetHandle(), &client);
    EXPECT_EQ(client.bottom, form->GetClientHeight());
    EXPECT_EQ(client.bottom, panel->GetHeight());
    form->SetClientHeight(150);
    GetClientRect(form->GetHandle(), &client);
    EXPECT_EQ(150, client.bottom);

    // Taking the bar away gives its height to the client.
    form->SetMenu(nullptr);
    gui::PumpUntilIdle();
    GetClientRect(form->GetHandle(), &client);
    EXPECT_GT(client.bottom, 150);
    EXPECT_EQ(client.bottom, panel->GetHeight());
    delete plain;
}

TEST_F(MenuDispatch, AShortCutKeyReachesTheMenuBeforeTheFocusedControl)
{
    auto* edit = new TEdit(form);
    edit->SetParent(form);
    form->Show();
    gui::PumpUntilIdle();
    edit->SetFocus();
    std::vector<std::string> keys;
    edit->OnKeyDown = [&](TObject*, unsigned short& key, TShiftState) { keys.push_back(std::to_string(key)); };
    // Ctrl held in this thread's key state only: no other program's window
    // on the display can take the keys.
    BYTE state[256];
    GetKeyboardState(state);
    BYTE ctrl = state[VK_CONTROL];
    state[VK_CONTROL] = 0x80;
    SetKeyboardState(state);
    gui::PostKey(edit, 'S');
    gui::PostKey(edit, 'Q');
    state[VK_CONTROL] = ctrl;
    SetKeyboardState(state);
    // The parent is clicked first, so that it can update the item.
    EXPECT_EQ((std::vector<std::string>{"&File", "&Save"}), log);
    EXPECT_EQ((std::vector<std::string>{"81"}), keys) << "Ctrl+S went to the menu, Ctrl+Q to the edit";
}

TEST_F(MenuDispatch, KeysInAnotherFormReachTheMainFormsShortCutsWhileItIsEnabled)
{
    TMenuForm* mainForm = nullptr;
    app->CreateForm(mainForm);
    NewItem(mainForm, mainForm->Menu->GetItems(), "&Kick", &log)->SetShortCut(ShortCut('K', ssCtrl));
    mainForm->ShowMenu();
    mainForm->Show();
    auto* other = new TForm(app.get());
    auto* edit = new TEdit(other);
    edit->SetParent(other);
    other->Show();
    gui::PumpUntilIdle();
    edit->SetFocus();
    std::vector<std::string> keys;
    edit->OnKeyDown = [&](TObject*, unsigned short& key, TShiftState) { keys.push_back(std::to_string(key)); };
    BYTE state[256];
    GetKeyboardState(state);
    BYTE ctrl = state[VK_CONTROL];
    state[VK_CONTROL] = 0x80;
    SetKeyboardState(state);
    gui::PostKey(edit, 'K');
    EnableWindow(mainForm->GetHandle(), FALSE);  // as while a modal dialog runs
    gui::PostKey(edit, 'K');
    EnableWindow(mainForm->GetHandle(), TRUE);
    state[VK_CONTROL] = ctrl;
    SetKeyboardState(state);
    EXPECT_EQ((std::vector<std::string>{"&Kick"}), log);
    EXPECT_EQ((std::vector<std::string>{"75"}), keys) << "the second Ctrl+K went to the edit";
}

// Popup menus: TrackPopupMenu waits in its own loop, so a timer looks at
// the open menu and then ends it.
namespace {

struct PopupProbe {
    bool MenuWasVisible = false;
    std::vector<WORD> Keys;  // typed into the open menu; none = EndMenu
    int Ticks = 0;
};
PopupProbe* probe = nullptr;

BOOL CALLBACK FindMenuWindow(HWND hwnd, LPARAM data)
{
    char name[32] = "";
    GetClassNameA(hwnd, name, sizeof name);
    if (strcmp(name, "#32768") == 0 && IsWindowVisible(hwnd)) {
        *reinterpret_cast<HWND*>(data) = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND OpenMenuWindow()
{
    HWND found = nullptr;
    EnumWindows(FindMenuWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

void CALLBACK PopupTimer(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND menu = OpenMenuWindow();
    if (!menu && ++probe->Ticks < 40) return;
    KillTimer(nullptr, id);
    probe->MenuWasVisible = menu != nullptr;
    if (probe->Keys.empty()) {
        EndMenu();
        return;
    }
    for (WORD key : probe->Keys) {
        PostMessageA(menu, WM_KEYDOWN, key, 1);
        PostMessageA(menu, WM_KEYUP, key, 0xC0000001);
    }
}

}  // namespace

TEST_F(MenuDispatch, PopupFiresOnPopupBeforeTheMenuShowsAndEndsCleanly)
{
    auto* popup = new TPopupMenu(form);
    std::vector<std::string> popLog;
    NewItem(form, popup->GetItems(), "Cut", &popLog);
    bool menuVisibleInOnPopup = true;
    popup->OnPopup = [&](TObject* sender) {
        EXPECT_EQ(popup, sender);
        menuVisibleInOnPopup = OpenMenuWindow() != nullptr;
    };
    form->SetBounds(100, 100, 300, 200);
    form->Show();
    gui::PumpUntilIdle();
    popup->SetPopupComponent(form);

    PopupProbe p;
    probe = &p;
    gui::TGuiCounts before = gui::CountGuiObjects();
    SetTimer(nullptr, 0, 50, PopupTimer);
    popup->Popup(150, 150);
    probe = nullptr;
    EXPECT_FALSE(menuVisibleInOnPopup);
    EXPECT_TRUE(p.MenuWasVisible);
    EXPECT_TRUE(popLog.empty());
    EXPECT_EQ(form, popup->GetPopupComponent());
    gui::PumpUntilIdle();
    EXPECT_EQ(before.TopLevel, gui::LiveTopLevelWindows()) << "the tracking window is gone";
}

TEST_F(MenuDispatch, AnItemChosenInAPopupIsClickedAndItsExceptionGoesToTheApplication)
{
    auto* popup = new TPopupMenu(form);
    std::vector<std::string> popLog;
    TMenuItem* cut = NewItem(form, popup->GetItems(), "Cut", &popLog);
    TMenuItem* copy = NewItem(form, popup->GetItems(), "Copy", &popLog);
    (void)cut;
    form->SetBounds(100, 100, 300, 200);
    form->Show();
    gui::PumpUntilIdle();

    PopupProbe p;
    p.Keys = {VK_DOWN, VK_DOWN, VK_RETURN};
    probe = &p;
    SetTimer(nullptr, 0, 50, PopupTimer);
    popup->Popup(150, 150);
    EXPECT_TRUE(p.MenuWasVisible);
    EXPECT_EQ((std::vector<std::string>{"Copy"}), popLog);

    copy->OnClick = [](TObject*) { throw Exception("Nothing to copy"); };
    PopupProbe p2;
    p2.Keys = {VK_DOWN, VK_DOWN, VK_RETURN};
    probe = &p2;
    SetTimer(nullptr, 0, 50, PopupTimer);
    EXPECT_NO_THROW(popup->Popup(150, 150));
    probe = nullptr;
    ASSERT_EQ(1u, recorder->Boxes.size());
    EXPECT_STREQ("Nothing to copy.", recorder->Boxes[0].Text.c_str());
}

TEST_F(MenuDispatch, PopupComponentIsClearedWhenTheComponentGoes)
{
    auto* popup = new TPopupMenu(form);
    auto* other = new TForm(app.get());
    popup->SetPopupComponent(other);
    delete other;
    EXPECT_EQ(nullptr, popup->GetPopupComponent());
    EXPECT_EQ(paLeft, popup->GetAlignment());
    EXPECT_EQ(tbRightButton, popup->GetTrackButton());
    EXPECT_TRUE(popup->GetAutoPopup());
}

TEST_F(MenuDispatch, AContextMenuKeyOrRightClickShowsThePopupMenuForTheControl)
{
    auto* popup = new TPopupMenu(form);
    NewItem(form, popup->GetItems(), "Cut");
    bool shown = false;
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    panel->SetBounds(20, 20, 100, 60);
    panel->SetPopupMenu(popup);
    form->SetBounds(100, 100, 300, 200);
    form->Show();
    gui::PumpUntilIdle();
    popup->OnPopup = [&](TObject*) {
        shown = true;
    };
    PopupProbe p;
    probe = &p;
    SetTimer(nullptr, 0, 50, PopupTimer);
    SendMessageA(panel->GetHandle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(panel->GetHandle()), MAKELPARAM(-1, -1));
    probe = nullptr;
    EXPECT_TRUE(shown);
    EXPECT_TRUE(p.MenuWasVisible);
    EXPECT_EQ(panel, popup->GetPopupComponent());

    // Without AutoPopup the control leaves it alone; a freed menu is dropped.
    shown = false;
    popup->SetAutoPopup(false);
    SendMessageA(panel->GetHandle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(panel->GetHandle()), MAKELPARAM(150, 150));
    EXPECT_FALSE(shown);
    delete popup;
    EXPECT_EQ(nullptr, panel->GetPopupMenu());
    SendMessageA(panel->GetHandle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(panel->GetHandle()), MAKELPARAM(150, 150));
}
