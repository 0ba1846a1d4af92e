// The main window started in-process as the program starts it: the first
// picture, the pen, the bars, its messages, zoom, progress, the Window menu
// and the shut-down request.
#include <cstdio>
#include <functional>
#include <regex>
#include <string>
#include <vector>

#include "../../gui/win32/timed_step.h"
#include "appsettings.h"
#include "brushes_tools.h"
#include "dragtimer.h"
#include "imageform.h"
#include "imagewindow_host.h"
#include "lang.h"
#include "mainform.h"
#include "mainwindow_fixture.h"
#include "mainmessages.h"
#include "messages.h"
#include "mruflist.h"
#include "paintkit_host.h"
#include "palettebar.h"
#include "preferences.h"
#include "picturefiles_win32.h"
#include "pictureview.h"
#include "brushstate.h"
#include "programpictures.h"
#include "registry_fixture.h"
#include "saved_positions.h"
#include "toolbuttons.h"
#include "tool_host.h"
#include "toolmanager.h"

namespace {

TEST_F(MainWindow, StartsWithOneBlankUntitledPictureAndTheContinuousPen)
{
    EXPECT_TRUE(started);
    ASSERT_EQ(1, ImageFormCount());
    TImageForm* f = First();
    EXPECT_STREQ("Untitled 1", f->GetCaption().c_str());
    EXPECT_EQ(416, f->Picture.Width());
    EXPECT_EQ(312, f->Picture.Height());
    EXPECT_EQ(0xFFFFFFu, *f->Picture.At(200, 100) & 0xFFFFFF);  // the background colour
    EXPECT_TRUE(f->Fresh);
    EXPECT_EQ(&PenBrushTools().penCont, CurrentTool);
    // First start: the bars dock into the picture's window.
    EXPECT_EQ(f->LeftDock, MainForm->Toolbar->GetDockedTo());
    EXPECT_EQ(f->RightDock, MainForm->Palettebar->GetDockedTo());
    EXPECT_TRUE(MainForm->ToolbarVisib->GetChecked());
    for (TToolbar* bar : {MainForm->Toolbar, MainForm->Palettebar}) {
        EXPECT_EQ(DockableBit(dpLeft) | DockableBit(dpRight), bar->GetDockableTo());
        EXPECT_EQ(fmOnTopOfAllForms, bar->GetFloatingMode());
    }
}

TEST_F(MainWindow, IsAsWideAsItsMenuBar)
{
    HWND h = MainForm->GetHandle();
    int sum = 0;
    for (int i = 0; i < GetMenuItemCount(GetMenu(h)); ++i) {
        RECT r;
        ASSERT_TRUE(GetMenuItemRect(h, GetMenu(h), i, &r));
        sum += r.right - r.left + 1;
    }
    EXPECT_EQ(sum + MainForm->GetWidth() - MainForm->GetClientWidth() + 32, MainForm->GetWidth());
}

TEST_F(MainWindow, PenDraggedOverTheViewPaintsThePicture)
{
    TImageForm* f = First();
    TControl* view = f->ShowBuf;
    gui::MouseMove(view, 20, 40);
    gui::MouseDown(view, 20, 40);
    for (int x = 24; x <= 80; x += 4) gui::MouseMove(view, x, 40, MK_LBUTTON);
    gui::MouseUp(view, 80, 40);
    gui::PumpUntilIdle();
    int painted = 0;
    for (int x = 20; x <= 80; ++x) painted += (*f->Picture.At(x, 40) & 0xFFFFFF) != 0xFFFFFF;
    EXPECT_GT(painted, 50);
    EXPECT_NE(nullptr, f->Picture.undoHead);
}

TEST_F(MainWindow, MovingSnapsToTheWorkAreaAndMaximisingSpansIt)
{
    RECT r = {WorkArea.left + 3, 300, WorkArea.left + 303, 360};
    Send(WM_MOVING, WMSZ_LEFT, reinterpret_cast<LPARAM>(&r));
    EXPECT_EQ(WorkArea.left, r.left);
    r = RECT{WorkArea.left + 4, 300, WorkArea.left + 304, 360};
    Send(WM_MOVING, WMSZ_LEFT, reinterpret_cast<LPARAM>(&r));
    EXPECT_EQ(WorkArea.left + 4, r.left);
    MINMAXINFO info = {};
    Send(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(WorkArea.left - 4, info.ptMaxPosition.x);
    EXPECT_EQ(WorkArea.top - 3, info.ptMaxPosition.y);
    EXPECT_EQ(WorkArea.right - WorkArea.left + 10, info.ptMaxSize.x);
    EXPECT_EQ(MainForm->GetHeight(), info.ptMaxSize.y);
}

TEST_F(MainWindow, NewImageMessageOpensABlankPictureUnlessClosing)
{
    EXPECT_EQ(0, Send(UM_NEWIMAGE));
    gui::PumpUntilIdle();
    ASSERT_EQ(2, ImageFormCount());
    EXPECT_EQ(416, GetImageForm(1)->Picture.Width());
    MainForm->Closing = true;
    Send(UM_NEWIMAGE);
    EXPECT_EQ(2, ImageFormCount());
    MainForm->Closing = false;
}

TEST_F(MainWindow, ComponentMessagesAreIgnoredWhileNoComponentIsCurrent)
{
    int w = First()->Picture.Width();
    EXPECT_EQ(0, Send(UM_COMPPROGRESS, 7, 0));
    EXPECT_EQ(0, Send(UM_COMPRESIZE, 0xFFFF, 0x7FFFFFFF));
    EXPECT_EQ(0, Send(UM_COMPSETPARAM, 0x0000FFFF, 0));
    EXPECT_EQ(w, First()->Picture.Width());
    EXPECT_EQ(&PenBrushTools().penCont, CurrentTool);
}

TEST_F(MainWindow, ZoomFollowsFactorsAndPictureSizes)
{
    MainForm->SetZoom(0.7);
    EXPECT_EQ(-1, MainForm->Zoom->GetPosition());
    EXPECT_EQ(AnsiString("2/3"), MainForm->ZoomLabel->GetCaption());
    MainForm->SetZoom(0.1);
    EXPECT_EQ(-4, MainForm->Zoom->GetPosition());
    EXPECT_EQ(0x40001ul, MainForm->GetZoomCode());
    MainForm->SetZoom(2.9);
    EXPECT_EQ(2, MainForm->Zoom->GetPosition());
    EXPECT_DOUBLE_EQ(2.0, MainForm->GetZoom());

    TImageForm* big = CreateImageWindow(2000, 1000, "");
    ASSERT_NE(nullptr, big);
    MainForm->ShowZoomPosition(32);
    MainForm->UpdateView();
    EXPECT_EQ(16, MainForm->Zoom->GetPosition());
    EXPECT_EQ(16, big->ZoomStep);

    TImageForm* tiny = CreateImageWindow(3, 3, "");
    ASSERT_NE(nullptr, tiny);
    MainForm->ShowZoomPosition(-2);
    MainForm->UpdateView();
    EXPECT_EQ(1, MainForm->Zoom->GetPosition());
}

TEST_F(MainWindow, WindowMenuNumbersThePicturesAndActivatesTheChosenOne)
{
    First()->Fresh = false;  // else the next window would take its place
    for (int i = 1; i < 10; ++i) CreateImageWindow(20, 20, "")->Show();
    gui::PumpUntilIdle();
    ASSERT_EQ(10, ImageFormCount());
    MainForm->WindowMenuClick(MainForm->Window1);
    TMenuItem* menu = MainForm->Window1;
    int first = MainForm->WindowMenuFixed;
    ASSERT_EQ(first + 10, menu->GetCount());
    EXPECT_EQ(1, menu->GetItem(first)->GetCaption().Pos("[ 1] "));
    EXPECT_EQ(1, menu->GetItem(first + 8)->GetCaption().Pos("[ 9] "));
    EXPECT_EQ(1, menu->GetItem(first + 9)->GetCaption().Pos("[10] "));
    int checked = 0;
    for (int i = first; i < menu->GetCount(); ++i) checked += menu->GetItem(i)->GetChecked();
    EXPECT_EQ(1, checked);
    menu->GetItem(first + 2)->Click();
    gui::PumpUntilIdle();
    EXPECT_EQ(GetImageForm(2), CurrentImageForm);
    EXPECT_EQ(GetImageForm(2)->GetHandle(), GetForegroundWindow());
}

TEST_F(MainWindow, LongOperationDisablesTheMainWindowsAndReportsItsTime)
{
    BeginProgress(100);
    EXPECT_FALSE(IsWindowEnabled(MainForm->GetHandle()));
    EXPECT_FALSE(MainForm->Toolbar->GetEnabled());
    EXPECT_FALSE(MainForm->Palettebar->GetEnabled());
    EXPECT_EQ(0, ProgressCancelFlag);
    StepProgress(50);
    EndProgress();
    EXPECT_TRUE(IsWindowEnabled(MainForm->GetHandle()));
    EXPECT_TRUE(MainForm->Toolbar->GetEnabled());
    EXPECT_EQ(1, ProgressCancelFlag);
    std::string text = First()->GetStatusText(3).c_str();
    EXPECT_TRUE(std::regex_match(text, std::regex("^\\S+ +[0-9]+\\.[0-9]{2} \\S+$"))) << text;
}

TEST_F(MainWindow, PicturesHiddenOnMinimiseComeBackOnRestore)
{
    HWND picture = First()->GetHandle();
    ASSERT_TRUE(IsWindowVisible(picture));
    ShowWindow(MainForm->GetHandle(), SW_MINIMIZE);
    gui::PumpUntilIdle();
    EXPECT_FALSE(IsWindowVisible(picture));
    ShowWindow(MainForm->GetHandle(), SW_RESTORE);
    gui::PumpUntilIdle();
    EXPECT_TRUE(IsWindowVisible(picture));
}

void OnPreferences(std::function<void(TPreferences*)> work)
{
    gui::WhenOpen<TPreferences>(std::move(work));
}

// The preferences command: the dialog opens from the File menu over the
// settings; OK applies them to the main window's own parts, Cancel to none.
TEST_F(MainWindow, PreferencesOkAppliesAndCancelChangesNothing)
{
    ASSERT_TRUE(started);
    int before = PaletteBarCells.Count();
    TMRUFileList* recent = MainForm->MRUFileList1;
    int length = recent->GetMaximum();
    recent->InsertItem(0, "C:\\a.bmp");
    recent->InsertItem(0, "C:\\b.bmp");
    // A shorter recent-file list and its clearing wait for OK: Cancel keeps
    // every entry.
    OnPreferences([recent](TPreferences* d) {
        d->PalEntries->SetValue(40);
        d->FileListLength->SetValue(1);
        d->ClrFListBtn->Click();
        EXPECT_EQ(recent->GetCount(), 2);
        d->CancelBtn->Click();
    });
    MainForm->PrefsMenu->Click();
    EXPECT_EQ(AppSettings.Palette, 8);
    EXPECT_EQ(PaletteBarCells.Count(), before);
    EXPECT_EQ(recent->GetMaximum(), length) << "the tried length goes with Cancel";
    EXPECT_EQ(recent->GetCount(), 2) << "and the entries stay";

    OnPreferences([](TPreferences* d) {
        d->FileListLength->SetValue(1);
        d->OkBtn->Click();
    });
    MainForm->PrefsMenu->Click();
    ASSERT_EQ(recent->GetCount(), 1);
    EXPECT_EQ(recent->GetFile(0), AnsiString("C:\\b.bmp"));
    OnPreferences([](TPreferences* d) {
        d->ClrFListBtn->Click();
        d->OkBtn->Click();
    });
    MainForm->PrefsMenu->Click();
    EXPECT_EQ(recent->GetCount(), 0);

    OnPreferences([](TPreferences* d) {
        d->PalEntries->SetValue(40);
        d->FileListLength->SetValue(3);
        d->OkBtn->Click();
    });
    MainForm->PrefsMenu->Click();
    EXPECT_EQ(AppSettings.Palette, 40);
    EXPECT_EQ(PaletteBarCells.Count(), 40);
    EXPECT_EQ(MainForm->MRUFileList1->GetMaximum(), 3);
}

TEST_F(MainWindow, TwainIsOptional)
{
    const char* saved = TwainLibraryName;
    TwainLibraryName = "no-such-twain.dll";
    EXPECT_FALSE(TwainAvailable());
    TwainLibraryName = "kernel32.dll";  // there, but without the entry
    EXPECT_FALSE(TwainAvailable());
    TwainLibraryName = saved;
    EXPECT_FALSE(MainForm->Acquire1->GetEnabled());
    EXPECT_FALSE(MainForm->SelectSource1->GetEnabled());
}

TEST_F(MainWindow, CancelledSaveKeepsEverythingAndStoresNoSettings)
{
    const std::string keys = "HKCU\\Software\\Corvane\\KS";
    std::string before = RegQuery(keys + " /s");
    First()->Picture.modified = 1;
    recorder->Reply = IDCANCEL;
    EXPECT_FALSE(MainForm->CloseQuery());
    gui::PumpUntilIdle();
    EXPECT_EQ(1, ImageFormCount());
    EXPECT_FALSE(MainForm->Closing);
    EXPECT_EQ(1u, recorder->Boxes.size());
    EXPECT_EQ(before, RegQuery(keys + " /s"));
    First()->Picture.modified = 0;
}

TEST_F(MainWindow, ClosingUnchangedStoresSettingsAndBarPositions)
{
    EXPECT_TRUE(MainForm->CloseQuery());
    EXPECT_TRUE(MainForm->Closing);
    gui::PumpUntilIdle();
    EXPECT_EQ(0, ImageFormCount());  // and no blank picture replaces the last one
    std::string prefs = RegQuery("HKCU\\Software\\Corvane\\KS\\Preferences");
    EXPECT_NE(std::string::npos, prefs.find("AlwaysDock")) << prefs;
    std::string placement = RegQuery("HKCU\\Software\\Corvane\\KS\\MainForm");
    EXPECT_NE(std::string::npos, placement.find("Left")) << placement;
    std::string bars = RegQuery("HKCU\\Software\\Corvane\\KS\\Toolbars\\Toolbar");
    EXPECT_NE(std::string::npos, bars.find("DockRow")) << bars;
}

class MainWindowWithFiles : public MainWindow {
protected:
    std::vector<std::string> Arguments() override
    {
        WriteSmallBmp("mainform_a.bmp");
        WriteSmallBmp("mainform_b.bmp");
        std::remove("mainform_missing.bmp");
        return {"mainform_a.bmp", "mainform_missing.bmp", "mainform_b.bmp"};
    }
    void TearDown() override
    {
        MainWindow::TearDown();
        std::remove("mainform_a.bmp");
        std::remove("mainform_b.bmp");
    }
};

TEST_F(MainWindowWithFiles, OpensUpToTheFirstFileThatFails)
{
    EXPECT_TRUE(started);
    ASSERT_EQ(1, ImageFormCount());
    EXPECT_NE(0, First()->GetCaption().Pos("mainform_a.bmp"));
    EXPECT_EQ(2, First()->Picture.Width());
    ASSERT_EQ(1u, recorder->Boxes.size());  // the missing file, and nothing of b
    EXPECT_EQ(AnsiString(Translate("ErrOpenImg")), recorder->Boxes[0].Text);
    ASSERT_EQ(1, MainForm->MRUFileList1->GetCount());
    EXPECT_NE(0, MainForm->MRUFileList1->GetFile(0).Pos("mainform_a.bmp"));
    EXPECT_EQ(&PenBrushTools().penCont, CurrentTool);
}

}  // namespace

namespace {

// The program carries the cursors the tools ask for by number and the
// browser's folder glyphs.
TEST(ProgramResources, CursorsAndFolderGlyphsAreInTheProgram)
{
    HMODULE program = LoadLibraryExA("kestrel.exe", nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!program) GTEST_SKIP() << "kestrel.exe is not beside the tests";
    for (const char* name : {"CROSS", "CROSSPLU", "CROSSMIN", "CROSSOK", "FILL", "HAND", "ROTATE", "SPRAY",
                             "AIRBRUSH", "WAND", "WANDPLU", "WANDMIN", "PIPETTE"}) {
        HANDLE cursor = LoadImageA(program, name, IMAGE_CURSOR, 0, 0, 0);
        EXPECT_NE(nullptr, cursor) << name;
        if (cursor) DestroyCursor(static_cast<HCURSOR>(cursor));
    }
    for (const char* name : {"FOLDER", "PARENTF"}) {
        HANDLE bitmap = LoadImageA(program, name, IMAGE_BITMAP, 0, 0, 0);
        EXPECT_NE(nullptr, bitmap) << name;
        if (bitmap) DeleteObject(bitmap);
    }
    FreeLibrary(program);
}

}  // namespace
