// The preferences dialog over real image windows: what its boxes try on the
// windows at once, what Cancel takes back, and what the windows and
// pictures do after OK (level layout, instant brush, undo folder and
// limits with real spill files, a new language).
#include "../../painting/win32/imageform_fixture.h"
#include "../../gui/win32/timed_step.h"
#include "../lang_fixture.h"

#include <filesystem>

#include "appsettings.h"
#include "preferences.h"
#include "preferences_follow.h"
#include "programpictures.h"
#include "selection_trace.h"
#include "undo_entry.h"
#include "undo_platform.h"
#include "undo_settings.h"
#include "userlevel.h"

namespace {

namespace fs = std::filesystem;

struct ToggleLayout {
    bool antiAlias, instBrush;
    int panel0, progressLeft;
    bool operator==(const ToggleLayout& o) const
    {
        return antiAlias == o.antiAlias && instBrush == o.instBrush && panel0 == o.panel0 &&
               progressLeft == o.progressLeft;
    }
};

ToggleLayout LayoutOf(TImageForm* f)
{
    return {f->AntiAliasBtn->GetVisible(), f->InstBrushBtn->GetVisible(),
            f->StatusBar->GetPanels()->GetItems(0)->GetWidth(), f->ProgressBar->GetLeft()};
}

int FilesIn(const fs::path& dir)
{
    int n = 0;
    for (auto& entry : fs::directory_iterator(dir)) n += entry.is_regular_file();
    return n;
}

class PrefsApply : public ImageFormTest {
protected:
    TAppSettings saved;
    fs::path root, folderA, folderB;

    void SetUp() override
    {
        ImageFormTest::SetUp();
        saved = AppSettings;
        root = fs::temp_directory_path() / ("prefsapply-" + CurrentTestName());
        fs::remove_all(root);
        folderA = root / "a";
        folderB = root / "b";
        fs::create_directories(folderA);
        fs::create_directories(folderB);
        SetUndoPlatform(nullptr);
        AppSettings = TAppSettings();
        AppSettings.UndoDir = Dir(folderA);
        AppSettings.UndoMem = 0;  // every step to a spill file
        AppSettings.UndoDisk = MaxUndoKB;
        Store();
    }
    void TearDown() override
    {
        ImageFormTest::TearDown();  // the windows' steps and files go with them
        while (CurrentBrush.undoHead) UDBuffer::DropUndo(&CurrentBrush);
        CurrentBrush.Free();
        AppSettings = saved;
        ApplySettingsToCore(TAppSettings());
        UndoSettings = TUndoSettings();
        AntiAlias = Clipping = OptimBrush = false;
        fs::remove_all(root);
    }

    static AnsiString Dir(const fs::path& p) { return AnsiString((p.string() + "\\").c_str()); }

    // The settings as start-up hands them to the painting core.
    static void Store()
    {
        ApplySettingsToCore(AppSettings);
        AntiAlias = AppSettings.AntiAlias;
        Clipping = AppSettings.Clipping;
    }

    // Runs the dialog over AppSettings, driven by work, and lets the windows
    // and pictures follow as the preferences command does.
    static TPreferencesResult Run(std::function<void(TPreferences*)> work)
    {
        gui::WhenOpen<TPreferences>(std::move(work));
        TPreferencesResult r = RunPreferences(AppSettings, "", TryPreferencesOnImageWindows);
        FollowPreferencesInPictures(r);
        return r;
    }

    TImageForm* TwoWindows()
    {
        TImageForm* first = NewShownWindow(40, 30);
        first->Fresh = false;
        return NewShownWindow(40, 30) ? first : nullptr;
    }
};

}  // namespace

// A window made at one level and switched to the other looks like one made
// at that level; switching is not applied twice.
TEST_F(PrefsApply, LevelShowsOrHidesTheTogglesAsAWindowMadeAtThatLevel)
{
    Level = LevelNovice;
    TImageForm* novice = NewShownWindow(40, 30);
    novice->Fresh = false;
    Level = LevelExpert;
    TImageForm* expert = NewShownWindow(40, 30);
    ToggleLayout n = LayoutOf(novice), e = LayoutOf(expert);
    EXPECT_EQ(e.panel0 - n.panel0, 28);
    EXPECT_EQ(e.progressLeft - n.progressLeft, 28);
    EXPECT_TRUE(e.antiAlias && e.instBrush);
    EXPECT_FALSE(n.antiAlias || n.instBrush);

    AppSettings.Level = LevelExpert;
    Store();
    EXPECT_TRUE(Run([](TPreferences* d) {
                    d->Level->SetItemIndex(LevelNovice);
                    d->OkBtn->Click();
                }).levelChanged);
    EXPECT_TRUE(LayoutOf(expert) == n);
    EXPECT_TRUE(LayoutOf(novice) == n);
    Run([](TPreferences* d) {
        d->Level->SetItemIndex(LevelExpert);
        d->OkBtn->Click();
    });
    EXPECT_TRUE(LayoutOf(expert) == e);
    EXPECT_TRUE(LayoutOf(novice) == e);
}

// The boxes are tried on every window while the dialog is open; Cancel
// takes the tries back, OK keeps them and makes them the settings. Instant
// brush on drops the current picture's selection with an undo step.
TEST_F(PrefsApply, TriedTogglesGoBackOnCancelAndStayOnOk)
{
    TImageForm* other = TwoWindows();
    ASSERT_NE(other, nullptr);
    UDBuffer& pic = CurrentImageForm->Picture;
    for (int y = 5; y <= 9; ++y)
        for (int x = 5; x <= 9; ++x) *pic.At(x, y) |= SelectedBit;
    pic.selMinX = pic.selMinY = 5;
    pic.selMaxX = pic.selMaxY = 9;
    pic.TraceSelection();
    ASSERT_TRUE(pic.HasSelection());

    auto allDown = [&] {
        return other->AntiAliasBtn->GetDown() && other->InstBrushBtn->GetDown() &&
               CurrentImageForm->AntiAliasBtn->GetDown() && CurrentImageForm->InstBrushBtn->GetDown();
    };
    auto anyDown = [&] {
        return other->AntiAliasBtn->GetDown() || other->InstBrushBtn->GetDown() ||
               CurrentImageForm->AntiAliasBtn->GetDown() || CurrentImageForm->InstBrushBtn->GetDown();
    };
    bool tried = false, settingsKept = false;
    auto tryBoth = [&](TPreferences* d) {
        d->AntiAliasCB->SetChecked(true);
        d->InstBrushCB->SetChecked(true);
        tried = allDown();
        settingsKept = !AntiAlias && !InstBrush;
    };
    Run([&](TPreferences* d) {
        tryBoth(d);
        d->CancelBtn->Click();
    });
    EXPECT_TRUE(tried);
    EXPECT_TRUE(settingsKept);
    EXPECT_FALSE(anyDown());
    EXPECT_FALSE(AntiAlias || InstBrush || AppSettings.AntiAlias);
    EXPECT_TRUE(pic.HasSelection());

    Run([&](TPreferences* d) {
        tryBoth(d);
        d->OkBtn->Click();
    });
    EXPECT_TRUE(allDown());
    EXPECT_TRUE(AntiAlias && InstBrush && AppSettings.AntiAlias);
    EXPECT_FALSE(pic.HasSelection());
    ASSERT_NE(pic.undoHead, nullptr);
    EXPECT_STREQ(pic.undoHead->key.c_str(), "DelSel");
    EXPECT_EQ(*pic.At(7, 7) & SelectedBit, 0u);
}

// Every picture's spill files (other windows, the brush, redo steps) go to
// the new folder and their steps still restore from there.
TEST_F(PrefsApply, NewUndoFolderTakesEverySpillFile)
{
    TImageForm* other = TwoWindows();
    ASSERT_NE(other, nullptr);
    UDBuffer& pic = CurrentImageForm->Picture;
    *pic.At(3, 3) = 0x123456;
    ASSERT_TRUE(UDBuffer::SaveUndo(&pic, "Paint", nullptr, -1, 0, 0, 0));
    *pic.At(3, 3) = 0xABCDEF;
    ASSERT_TRUE(UDBuffer::SaveUndo(&pic, "Paint", nullptr, -1, 0, 0, 0));
    *pic.At(3, 3) = 0x555555;
    ASSERT_TRUE(UDBuffer::Undo(&pic, true));
    ASSERT_TRUE(UDBuffer::SaveUndo(&other->Picture, "Paint", nullptr, 0, 0, 9, 9));
    CurrentBrush.Alloc(Pair<int>{8, 8});
    ASSERT_TRUE(UDBuffer::SaveUndo(&CurrentBrush, "Brush", nullptr, -1, 0, 0, 0));
    ASSERT_EQ(FilesIn(folderA), 4);

    EXPECT_TRUE(Run([&](TPreferences* d) {
                    d->UndoDirEdit->SetText(Dir(folderB));
                    d->OkBtn->Click();
                }).undoDirChanged);
    EXPECT_STREQ(AppSettings.UndoDir.c_str(), Dir(folderB).c_str());
    EXPECT_EQ(FilesIn(folderA), 0);
    EXPECT_EQ(FilesIn(folderB), 4);
    // Each restore reads a moved file: the old folder is empty.
    ASSERT_TRUE(UDBuffer::Redo(&pic));
    EXPECT_EQ(*pic.At(3, 3), 0x555555u);
    ASSERT_TRUE(UDBuffer::Undo(&pic, false));
    EXPECT_EQ(*pic.At(3, 3), 0xABCDEFu);
    ASSERT_TRUE(UDBuffer::Undo(&pic, false));
    EXPECT_EQ(*pic.At(3, 3), 0x123456u);
    EXPECT_TRUE(recorder->Boxes.empty());
}

// Lower limits take effect at once: the current picture's older steps
// spill, its newest stays in memory.
TEST_F(PrefsApply, LowerUndoMemoryTrimsTheCurrentPicture)
{
    AppSettings.UndoMem = 1024;
    Store();
    ASSERT_NE(NewShownWindow(40, 30), nullptr);
    UDBuffer& pic = CurrentImageForm->Picture;
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(UDBuffer::SaveUndo(&pic, "Paint", nullptr, -1, 0, 0, 0));
    ASSERT_EQ(FilesIn(folderA), 0);

    Run([](TPreferences* d) {
        d->UndoMemEdit->SetValue(0);
        d->OkBtn->Click();
    });
    EXPECT_EQ(AppSettings.UndoMem, 0);
    EXPECT_FALSE(pic.undoHead->onDisk);
    EXPECT_TRUE(pic.undoHead->next->onDisk);
    EXPECT_TRUE(pic.undoHead->next->next->onDisk);
    EXPECT_EQ(FilesIn(folderA), 2);
}

// After a language change every window's caption and toggle hints are in
// the new language.
TEST_F(PrefsApply, RetranslatedWindowsShowTheNewLanguage)
{
    TImageForm* other = TwoWindows();
    ASSERT_NE(other, nullptr);
    LangSandbox lang;
    lang.Open(CurrentTestName());
    lang.LoadText("[Messages]\nUntitled=Sans titre\nAABtn=Lissage\nIBBtn=Pinceau direct\n");
    RetranslateImageWindows();
    for (TImageForm* f : {other, CurrentImageForm}) {
        EXPECT_EQ(f->GetCaption().Pos("Sans titre "), 1) << f->GetCaption().c_str();
        EXPECT_STREQ(f->AntiAliasBtn->GetHint().c_str(), "Lissage");
        EXPECT_STREQ(f->InstBrushBtn->GetHint().c_str(), "Pinceau direct");
    }
    lang.Close();
}
