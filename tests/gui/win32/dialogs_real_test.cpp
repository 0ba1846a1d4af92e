// The real file and colour dialogs, driven under Wine by a timer that finds
// the open dialog, types a name into it and presses a button.
#include <stdio.h>

#include <string>
#include <vector>

#include "dialogs.h"
#include "gui_fixture.h"

namespace {

// The file dialog's name box (a ComboBoxEx32 under Wine, measured).
const int FileNameBox = 0x47c;

struct Driver {
    std::string Title;              // of the dialog to find
    std::vector<std::string> Names; // typed, one per tick, each followed by Button
    int Button = IDOK;
    size_t Next = 0;
    int Ticks = 0;
    bool Found = false;
};
Driver* driver = nullptr;

struct FindData {
    const char* Title;
    HWND Found;
};

BOOL CALLBACK FindDialog(HWND hwnd, LPARAM lp)
{
    auto* data = reinterpret_cast<FindData*>(lp);
    char cls[32] = "";
    char title[128] = "";
    GetClassNameA(hwnd, cls, sizeof cls);
    GetWindowTextA(hwnd, title, sizeof title);
    if (strcmp(cls, "#32770") == 0 && IsWindowVisible(hwnd) && data->Title == std::string(title)) {
        data->Found = hwnd;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK DriveTimer(HWND, UINT, UINT_PTR id, DWORD)
{
    FindData data{driver->Title.c_str(), nullptr};
    EnumThreadWindows(GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&data));
    if (!data.Found) {
        // Give up after about 10 s rather than hang the run.
        if (++driver->Ticks > 200) KillTimer(nullptr, id);
        return;
    }
    driver->Found = true;
    if (driver->Next < driver->Names.size()) {
        SendMessageA(data.Found, CDM_SETCONTROLTEXT, FileNameBox,
                     reinterpret_cast<LPARAM>(driver->Names[driver->Next].c_str()));
    }
    ++driver->Next;
    if (driver->Next >= driver->Names.size()) KillTimer(nullptr, id);
    PostMessageA(data.Found, WM_COMMAND, MAKEWPARAM(driver->Button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(data.Found, driver->Button)));
}

// Starts driving the next dialog titled title; the timer stops by itself.
void Drive(Driver& d)
{
    driver = &d;
    SetTimer(nullptr, 0, 50, DriveTimer);
}

std::string TempFolder()
{
    char base[MAX_PATH];
    GetTempPathA(sizeof base, base);
    std::string dir = std::string(base) + "kestrel-dialogs-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(dir.c_str(), nullptr);
    for (const char* name : {"a.txt", "b.txt"}) {
        FILE* f = fopen((dir + "\\" + name).c_str(), "w");
        if (f) fclose(f);
    }
    return dir;
}

void RemoveFolder(const std::string& dir)
{
    for (const char* name : {"a.txt", "b.txt"}) DeleteFileA((dir + "\\" + name).c_str());
    RemoveDirectoryA(dir.c_str());
}

class RealDialog : public GuiTest {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        dir = TempFolder();
    }
    void TearDown() override
    {
        driver = nullptr;
        RemoveFolder(dir);
        GuiTest::TearDown();
    }
    std::string dir;
};

}  // namespace

TEST_F(RealDialog, OpenDialogReturnsTheFileTypedIntoIt)
{
    TOpenDialog dialog(nullptr);
    dialog.SetTitle("Kestrel open test");
    dialog.SetInitialDir(dir.c_str());
    dialog.SetFilter("Text|*.txt|All|*.*");
    dialog.SetOptions(ofFileMustExist | ofHideReadOnly);
    std::vector<std::string> events;
    dialog.OnShow = [&](TObject*) {
        events.push_back("show");
        EXPECT_NE(nullptr, dialog.GetHandle());
    };
    dialog.OnFolderChange = [&](TObject*) { events.push_back("folder"); };
    dialog.OnCanClose = [&](TObject*, bool&) {
        events.push_back("canclose");
        EXPECT_STREQ((dir + "\\b.txt").c_str(), dialog.GetFileName().c_str());
    };
    dialog.OnClose = [&](TObject*) { events.push_back("close"); };
    Driver d;
    d.Title = "Kestrel open test";
    d.Names = {"b.txt"};
    Drive(d);
    ASSERT_TRUE(dialog.Execute());
    EXPECT_TRUE(d.Found);
    EXPECT_STREQ((dir + "\\b.txt").c_str(), dialog.GetFileName().c_str());
    ASSERT_EQ(1, dialog.GetFiles()->GetCount());
    EXPECT_STREQ((dir + "\\b.txt").c_str(), dialog.GetFiles()->GetStrings(0).c_str());
    EXPECT_EQ(nullptr, dialog.GetHandle());
    ASSERT_GE(events.size(), 4u);
    EXPECT_EQ("show", events.front());
    EXPECT_EQ("folder", events[1]);
    EXPECT_EQ("canclose", events[events.size() - 2]);
    EXPECT_EQ("close", events.back());
}

TEST_F(RealDialog, CanCloseKeepsTheDialogOpenUntilItAgrees)
{
    TOpenDialog dialog(nullptr);
    dialog.SetTitle("Kestrel refuse test");
    dialog.SetInitialDir(dir.c_str());
    int asked = 0;
    dialog.OnCanClose = [&](TObject*, bool& canClose) { canClose = ++asked > 1; };
    Driver d;
    d.Title = "Kestrel refuse test";
    d.Names = {"a.txt", "b.txt"};
    Drive(d);
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(2, asked);
    EXPECT_STREQ((dir + "\\b.txt").c_str(), dialog.GetFileName().c_str());
}

TEST_F(RealDialog, SaveDialogAddsTheDefaultExtension)
{
    TSaveDialog dialog(nullptr);
    dialog.SetTitle("Kestrel save test");
    dialog.SetInitialDir(dir.c_str());
    dialog.SetDefaultExt("txt");
    dialog.SetOptions(ofOverwritePrompt | ofPathMustExist);
    Driver d;
    d.Title = "Kestrel save test";
    d.Names = {"new picture"};
    Drive(d);
    ASSERT_TRUE(dialog.Execute());
    EXPECT_STREQ((dir + "\\new picture.txt").c_str(), dialog.GetFileName().c_str());
}

TEST_F(RealDialog, MultiSelectGivesEveryFile)
{
    TOpenDialog dialog(nullptr);
    dialog.SetTitle("Kestrel multi test");
    dialog.SetInitialDir(dir.c_str());
    dialog.SetOptions(ofAllowMultiSelect | ofFileMustExist);
    Driver d;
    d.Title = "Kestrel multi test";
    d.Names = {"\"a.txt\" \"b.txt\""};
    Drive(d);
    ASSERT_TRUE(dialog.Execute());
    ASSERT_EQ(2, dialog.GetFiles()->GetCount());
    EXPECT_STREQ((dir + "\\a.txt").c_str(), dialog.GetFiles()->GetStrings(0).c_str());
    EXPECT_STREQ((dir + "\\b.txt").c_str(), dialog.GetFiles()->GetStrings(1).c_str());
    EXPECT_STREQ((dir + "\\a.txt").c_str(), dialog.GetFileName().c_str());
}

TEST_F(RealDialog, CancelLeavesTheFileNameAlone)
{
    TOpenDialog dialog(nullptr);
    dialog.SetTitle("Kestrel cancel test");
    dialog.SetFileName("keep.txt");
    Driver d;
    d.Title = "Kestrel cancel test";
    d.Button = IDCANCEL;
    Drive(d);
    EXPECT_FALSE(dialog.Execute());
    EXPECT_TRUE(d.Found);
    EXPECT_STREQ("keep.txt", dialog.GetFileName().c_str());
}

TEST_F(RealDialog, ChainedHookSeesTheDialogMessages)
{
    TOpenDialog dialog(nullptr);
    dialog.SetTitle("Kestrel hook test");
    dialog.SetInitialDir(dir.c_str());
    bool sawInit = false;
    int notifications = 0;
    dialog.OnDialogMessage = [&](TObject*, HWND hook, UINT msg, WPARAM, LPARAM, LRESULT&) {
        if (msg == WM_INITDIALOG) sawInit = GetParent(hook) != nullptr;
        if (msg == WM_NOTIFY) ++notifications;
        return false;  // the library still handles it
    };
    bool shown = false;
    dialog.OnShow = [&](TObject*) { shown = true; };
    Driver d;
    d.Title = "Kestrel hook test";
    d.Names = {"a.txt"};
    Drive(d);
    ASSERT_TRUE(dialog.Execute());
    EXPECT_TRUE(sawInit);
    EXPECT_GT(notifications, 0);
    EXPECT_TRUE(shown);
}

TEST_F(RealDialog, ColourDialogKeepsTheColourOnOk)
{
    TColorDialog dialog(nullptr);
    dialog.SetColor(0x00336699);
    dialog.GetCustomColors()->Add("ColorA=112233");
    bool shown = false;
    bool closed = false;
    dialog.OnShow = [&](TObject*) { shown = true; };
    dialog.OnClose = [&](TObject*) { closed = true; };
    Driver d;
    d.Title = "Color";
    Drive(d);
    ASSERT_TRUE(dialog.Execute());
    EXPECT_TRUE(d.Found);
    EXPECT_EQ(0x00336699, dialog.GetColor());
    EXPECT_STREQ("112233", dialog.GetCustomColors()->GetValues("ColorA").c_str());
    EXPECT_STREQ("FFFFFF", dialog.GetCustomColors()->GetValues("ColorP").c_str());
    EXPECT_TRUE(shown);
    EXPECT_TRUE(closed);
}

namespace {

// A child-dialog template with one static control, id 1234, built in memory.
std::vector<unsigned char> ExtraTemplate()
{
    std::vector<WORD> w;
    auto dword = [&](DWORD v) {
        w.push_back(LOWORD(v));
        w.push_back(HIWORD(v));
    };
    dword(WS_CHILD | WS_VISIBLE | DS_3DLOOK | DS_CONTROL | WS_CLIPSIBLINGS);
    dword(0);
    w.push_back(1);                                    // one control
    for (short v : {0, 0, 200, 30}) w.push_back(WORD(v));
    w.insert(w.end(), {0, 0, 0});                      // no menu, class or title
    if (w.size() % 2) w.push_back(0);                  // items are DWORD-aligned
    dword(WS_CHILD | WS_VISIBLE | SS_LEFT);
    dword(0);
    for (short v : {5, 5, 100, 12}) w.push_back(WORD(v));
    w.push_back(1234);
    w.insert(w.end(), {0xFFFF, 0x0082});               // STATIC
    for (const char* c = "Extra"; *c; ++c) w.push_back(WORD(*c));
    w.push_back(0);
    w.push_back(0);                                    // no creation data
    const auto* bytes = reinterpret_cast<const unsigned char*>(w.data());
    return std::vector<unsigned char>(bytes, bytes + w.size() * sizeof(WORD));
}

}  // namespace

TEST_F(RealDialog, ATemplateAddsItsControlsAndTheCurrentFolderIsKept)
{
    char before[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof before, before);
    TOpenDialog dialog(nullptr);
    dialog.SetTitle("Kestrel template test");
    dialog.SetInitialDir(dir.c_str());
    dialog.SetOptions(ofNoChangeDir | ofFileMustExist);
    std::vector<unsigned char> data = ExtraTemplate();
    dialog.SetTemplateData(data.data(), data.size());
    std::string extra;
    dialog.OnShow = [&](TObject*) {
        // The template's dialog is a child of the file dialog.
        HWND hook = FindWindowExA(dialog.GetHandle(), nullptr, "#32770", nullptr);
        char text[32] = "";
        GetDlgItemTextA(hook, 1234, text, sizeof text);
        extra = text;
    };
    Driver d;
    d.Title = "Kestrel template test";
    d.Names = {"a.txt"};
    Drive(d);
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ("Extra", extra);
    EXPECT_STREQ((dir + "\\a.txt").c_str(), dialog.GetFileName().c_str());
    char after[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof after, after);
    EXPECT_STREQ(before, after);
}

TEST_F(RealDialog, FontDialogRunsWithItsHookAndReturnsTheFontItShows)
{
    TFontDialog dialog(nullptr);
    dialog.GetFont()->SetSize(12);
    bool shown = false;
    std::string face;
    dialog.OnShow = [&](TObject*) {
        shown = dialog.GetHandle() != nullptr;
        // The face box; which faces exist depends on the machine's fonts.
        char text[LF_FACESIZE] = "";
        GetDlgItemTextA(dialog.GetHandle(), 0x470, text, sizeof text);
        face = text;
    };
    Driver d;
    d.Title = "Font";
    Drive(d);
    ASSERT_TRUE(dialog.Execute());
    EXPECT_TRUE(d.Found);
    EXPECT_TRUE(shown);
    EXPECT_EQ(nullptr, dialog.GetHandle());
    EXPECT_FALSE(face.empty());
    EXPECT_EQ(face, dialog.GetFont()->GetName().c_str());
    EXPECT_NE(nullptr, dialog.GetFont()->GetHandle());
}
