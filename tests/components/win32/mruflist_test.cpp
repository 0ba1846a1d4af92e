// The recent-files list: its menu items, clicks, and the round trip through
// the registry and an INI file.
#include "../../gui/win32/gui_fixture.h"
#include "forms.h"
#include "mruflist.h"
#include "sysutils.h"

namespace {

class MRUFileListTest : public GuiTest {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        form = new TForm(app.get());
        menu = new TMainMenu(form);
        file = AddItem(menu->GetItems(), "&File");
        AddItem(file, "&Open");
        AddItem(file, "E&xit");
        AddItem(menu->GetItems(), "&Help");
    }
    TMenuItem* AddItem(TMenuItem* parent, const char* caption)
    {
        auto* item = new TMenuItem(form);
        item->SetCaption(caption);
        parent->Add(item);
        return item;
    }
    // A list that keeps nothing in a store unless a test asks it to.
    TMRUFileList* MakeList()
    {
        auto* list = new TMRUFileList(form);
        list->SetAutoSave(false);
        return list;
    }
    static AnsiString CaptionOf(TMenuItem* parent, int index) { return parent->GetItem(index)->GetCaption(); }

    TForm* form = nullptr;
    TMainMenu* menu = nullptr;
    TMenuItem* file = nullptr;
};

AnsiString RegString(const char* key, const char* name)
{
    HKEY h;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_READ, &h) != ERROR_SUCCESS) return "<no key>";
    char buffer[512] = {};
    DWORD size = sizeof(buffer) - 1;
    DWORD type = 0;
    LONG rc = RegQueryValueExA(h, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(h);
    return rc == ERROR_SUCCESS && type == REG_SZ ? AnsiString(buffer) : AnsiString("<no value>");
}

AnsiString Numbered(int i)
{
    return "C:\\Pictures\\picture " + IntToStr(i) + ".bmp";
}

}  // namespace

TEST_F(MRUFileListTest, EntriesFollowASeparatorAtTheEndOfTheFileMenu)
{
    TMRUFileList* mru = MakeList();
    mru->SetFileMenu(file);
    for (const char* name : {"C:\\a.bmp", "C:\\b.bmp", "C:\\c.bmp"}) mru->InsertItem(0, name);
    ASSERT_EQ(6, file->GetCount());
    EXPECT_STREQ("-", CaptionOf(file, 2).c_str());
    EXPECT_STREQ("&1 C:\\c.bmp", CaptionOf(file, 3).c_str());
    EXPECT_STREQ("&3 C:\\a.bmp", CaptionOf(file, 5).c_str());
    EXPECT_EQ(3, static_cast<TMRUMenuItem*>(file->GetItem(5))->GetItemNumber());
    mru->SetInsertSeparator(true);  // a rebuild never duplicates
    mru->InsertItem(0, "c:\\A.BMP");
    EXPECT_EQ(6, file->GetCount());
    EXPECT_STREQ("&1 C:\\a.bmp", CaptionOf(file, 3).c_str());
    // The Win32 menu shows the same.
    EXPECT_EQ(6, GetMenuItemCount(file->GetHandle()));
    mru->Clear();
    EXPECT_EQ(2, file->GetCount());
    EXPECT_EQ(0, mru->GetCount());
}

TEST_F(MRUFileListTest, EmptyFileMenuPutsEntriesInItsParentSubmenuOnRequest)
{
    TMRUFileList* mru = MakeList();
    TMenuItem* help = menu->GetItems()->GetItem(1);
    TMenuItem* anchor = AddItem(help, "&About");
    anchor->SetMenuIndex(0);
    TMenuItem* empty = AddItem(help, "Recent");
    (void)empty;
    mru->SetFileMenu(help->GetItem(1));
    mru->InsertItem(0, "C:\\x.bmp");
    // Separator and entry go where the empty item is, before it.
    ASSERT_EQ(4, help->GetCount());
    EXPECT_STREQ("-", CaptionOf(help, 1).c_str());
    EXPECT_STREQ("&1 C:\\x.bmp", CaptionOf(help, 2).c_str());
    EXPECT_STREQ("Recent", CaptionOf(help, 3).c_str());

    mru->SetFileMenu(file);
    EXPECT_EQ(2, help->GetCount());
    mru->SetUseSubmenu(true);
    ASSERT_EQ(4, file->GetCount());
    TMenuItem* sub = file->GetItem(3);
    EXPECT_STREQ("Reopen", sub->GetCaption().c_str());
    ASSERT_EQ(1, sub->GetCount());
    EXPECT_STREQ("&1 C:\\x.bmp", CaptionOf(sub, 0).c_str());
    mru->SetSubmenuName("Recent files");
    EXPECT_STREQ("Recent files", CaptionOf(file, 3).c_str());
}

TEST_F(MRUFileListTest, MaximumZeroKeepsNothingAndLoweringTrims)
{
    TMRUFileList* mru = MakeList();
    mru->SetFileMenu(file);
    mru->SetMaximum(0);
    mru->InsertItem(0, "C:\\a.bmp");
    EXPECT_EQ(0, mru->GetCount());
    EXPECT_EQ(2, file->GetCount());
    mru->SetMaximum(3);
    for (int i = 0; i < 4; ++i) mru->InsertItem(0, Numbered(i));
    EXPECT_EQ(3, mru->GetCount());
    EXPECT_STREQ(Numbered(1).c_str(), mru->GetFile(2).c_str());
    mru->SetMaximum(1);
    EXPECT_EQ(1, mru->GetCount());
    EXPECT_EQ(4, file->GetCount());
    mru->SetMaximum(8);
    EXPECT_EQ(1, mru->GetCount());
}

TEST_F(MRUFileListTest, LongNamesAreShortenedButClicksReportTheFullName)
{
    TMRUFileList* mru = MakeList();
    mru->SetFileMenu(file);
    mru->SetRemoveOnClick(false);
    AnsiString longName = "C:\\A very long folder name\\Another very long folder\\Third folder\\picture.bmp";
    mru->InsertItem(0, longName);
    auto* item = static_cast<TMRUMenuItem*>(file->GetItem(3));
    AnsiString shown = item->GetCaption();
    EXPECT_EQ(1, shown.Pos("&1 C:\\...\\"));
    EXPECT_GT(shown.Pos("picture.bmp"), 0);
    EXPECT_STREQ(("&1 " + longName).c_str(), item->GetFullCaption().c_str());
    AnsiString got;
    mru->OnMRUItemClick = [&](TObject*, const AnsiString& name) { got = name; };
    item->Click();
    EXPECT_STREQ(longName.c_str(), got.c_str());
    EXPECT_EQ(1, mru->GetCount());
    mru->SetMaxCaptionWidth(0);
    EXPECT_STREQ(("&1 " + longName).c_str(), CaptionOf(file, 3).c_str());
}

TEST_F(MRUFileListTest, RemoveOnClickDeletesFirstAndTheSenderStaysUsable)
{
    TMRUFileList* mru = MakeList();
    mru->SetFileMenu(file);
    mru->InsertItem(0, "C:\\a.bmp");
    mru->InsertItem(0, "C:\\b.bmp");
    int countSeen = -1;
    AnsiString senderCaption;
    bool senderOutOfMenu = false;
    mru->OnMRUItemClick = [&](TObject* Sender, const AnsiString& name) {
        countSeen = mru->GetCount();
        auto* item = dynamic_cast<TMRUMenuItem*>(Sender);
        ASSERT_NE(nullptr, item);
        senderCaption = item->GetFullCaption();
        senderOutOfMenu = item->GetParent() == nullptr;
        mru->InsertItem(0, name);  // the shell reopens the file
    };
    TMenuItem* clicked = file->GetItem(4);  // "&2 C:\a.bmp"
    menu->DispatchCommand(WORD(clicked->GetCommand()));
    EXPECT_EQ(1, countSeen);
    EXPECT_STREQ("&2 C:\\a.bmp", senderCaption.c_str());
    EXPECT_TRUE(senderOutOfMenu);
    ASSERT_EQ(2, mru->GetCount());
    EXPECT_STREQ("C:\\a.bmp", mru->GetFile(0).c_str());
    EXPECT_EQ(5, file->GetCount());
}

TEST_F(MRUFileListTest, RegistryRoundTripKeepsOrderBeyondTenAndEqualsSigns)
{
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Corvane\\KS\\MRU Items");
    {
        TMRUFileList* mru = MakeList();
        mru->SetMaximum(16);
        mru->SetAutoSaveName("\\Software\\Corvane\\KS");
        mru->SetAutoSave(true);
        for (int i = 11; i >= 1; --i) mru->InsertItem(0, Numbered(i));
        mru->InsertItem(0, "C:\\odd=name.bmp");
        delete mru;  // saves
    }
    EXPECT_STREQ("C:\\odd=name.bmp", RegString("Software\\Corvane\\KS\\MRU Items", "F0").c_str());
    EXPECT_STREQ(Numbered(11).c_str(), RegString("Software\\Corvane\\KS\\MRU Items", "F11").c_str());

    TMRUFileList* back = new TMRUFileList(form);
    back->SetMaximum(16);
    back->SetAutoSaveName("\\Software\\Corvane\\KS");
    back->SetFileMenu(file);
    back->BeginLoading();
    back->EndLoading();  // loads
    ASSERT_EQ(12, back->GetCount());
    EXPECT_STREQ("C:\\odd=name.bmp", back->GetFile(0).c_str());
    for (int i = 1; i <= 11; ++i) EXPECT_STREQ(Numbered(i).c_str(), back->GetFile(i).c_str()) << i;
    EXPECT_EQ(2 + 13, file->GetCount());
    back->SetAutoSave(false);

    // A key that is not there leaves the list as it was.
    back->SetAutoSaveName("\\Software\\Corvane\\Missing");
    back->Load();
    EXPECT_EQ(12, back->GetCount());
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Corvane\\KS\\MRU Items");
}

TEST_F(MRUFileListTest, IniFileRoundTrip)
{
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    AnsiString ini = AnsiString(folder) + "kestrel_mru_test.ini";
    DeleteFileA(ini.c_str());
    TMRUFileList* mru = MakeList();
    mru->SetUseRegistry(false);
    mru->SetAutoSaveName(ini);
    mru->SetMaximum(12);
    for (int i = 11; i >= 0; --i) mru->InsertItem(0, Numbered(i));
    mru->Save();
    mru->Clear();
    mru->Load();
    ASSERT_EQ(12, mru->GetCount());
    for (int i = 0; i < 12; ++i) EXPECT_STREQ(Numbered(i).c_str(), mru->GetFile(i).c_str()) << i;
    // Saving again replaces the section rather than adding to it.
    mru->Clear();
    mru->InsertItem(0, "C:\\only.bmp");
    mru->Save();
    mru->Load();
    EXPECT_EQ(1, mru->GetCount());
    DeleteFileA(ini.c_str());
}

TEST_F(MRUFileListTest, FreedFileMenuIsForgotten)
{
    TMRUFileList* mru = MakeList();
    mru->SetFileMenu(file);
    mru->InsertItem(0, "C:\\a.bmp");
    delete file;
    EXPECT_EQ(nullptr, mru->GetFileMenu());
    mru->InsertItem(0, "C:\\b.bmp");  // no menu to touch
    EXPECT_EQ(2, mru->GetCount());
}
