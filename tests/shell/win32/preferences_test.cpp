// The preferences dialog under Xvfb: its pages show the settings, OK
// applies and stores them (file types, language, undo folder), Cancel
// changes nothing.
#include <gtest/gtest.h>

#include <functional>
#include "../../gui/win32/gui_fixture.h"
#include "../../gui/win32/timed_step.h"
#include "../lang_fixture.h"
#include "fileassoc.h"
#include "mainform.h"
#include "preferences.h"
#include "registry_fixture.h"
#include "settings_registry.h"

namespace {

using gui::Later;

TPreferences* OpenDialog()
{
    return gui::OpenForm<TPreferences>();
}

// Keys of this suite's own: tests of other suites run at the same time.
const char* const PrefsKey = "Software\\Corvane\\KSTestPrefs\\";

const std::vector<TFormatEntry> TestFormats = {{"Windows Bitmap", "*.KSBMP;*.KSRLE"}, {"Test Format", "*.KSTST"}};

class PreferencesTest : public GuiTest, protected LangSandbox {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        Open(CurrentTestName());
        ClearRegistry();
        RegSetString(HKEY_CLASSES_ROOT, ".ksrle", "", "ksrlefile");
        TRegistry reg;
        reg.SetRootKey(HKEY_CLASSES_ROOT);
        reg.CreateKey(KestrelProgId);
        ASSERT_TRUE(Associate(".ksbmp"));
        settings.UndoDir = SystemTempPath();
        settings.UndoMem = 100 * 1024;
        settings.UndoDisk = 200 * 1024;
        settings.Palette = 64;
        settings.Level = 1;
        settings.Clipping = true;
        settings.MRUFiles = 10;
        settings.AdobeLoc = "C:\\plugins\\";
    }
    void TearDown() override
    {
        ClearRegistry();
        Lang = nullptr;
        Close();
        GuiTest::TearDown();
    }
    static void ClearRegistry()
    {
        for (const char* ext : {".ksbmp", ".ksrle", ".kstst"}) RemoveKey(HKEY_CLASSES_ROOT, ext);
        RemoveKey(HKEY_CURRENT_USER, "Software\\Corvane\\KSTestPrefs");
    }
    TPreferences* NewDialog()
    {
        TPreferences* dialog = new TPreferences(app.get());
        dialog->LoadFrom(settings, TestFormats, languages.get(), nullptr);
        dialog->BrowseForFolder = nullptr;
        return dialog;
    }
    TModalResult Press(TPreferences* dialog, TButton* button)
    {
        Later([button] { PostMessageA(button->GetHandle(), BM_CLICK, 0, 0); });
        return dialog->ShowModal();
    }

    TAppSettings settings;
    std::unique_ptr<TStringList> languages{new TStringList};
};

TEST_F(PreferencesTest, PagesShowTheSettings)
{
    TColor ends[2] = {CaptionEndColors[0], CaptionEndColors[1]};
    CaptionEndColors[0] = clLime;
    CaptionEndColors[1] = clNavy;
    std::unique_ptr<TPreferences> d(NewDialog());
    CaptionEndColors[0] = ends[0];
    CaptionEndColors[1] = ends[1];
    EXPECT_EQ(d->GradCaption->GetActiveEndColor(), clLime);
    EXPECT_EQ(d->GradCaption->GetInactiveEndColor(), clNavy);
    ASSERT_EQ(d->Pages->GetPageCount(), 7);
    const char* captions[] = {"General", "Interface", "Files", "Plug-Ins", "Language", "Extensions", "Undo"};
    for (int i = 0; i < 7; i++) EXPECT_STREQ(d->Pages->GetPages(i)->GetCaption().c_str(), captions[i]);
    EXPECT_TRUE(d->ClippingCB->GetChecked());
    EXPECT_FALSE(d->AntiAliasCB->GetChecked());
    EXPECT_EQ(d->Level->GetItemIndex(), 1);
    EXPECT_TRUE(d->ShowTODCB->GetChecked());
    EXPECT_EQ(static_cast<int>(d->PalEntries->GetValue()), 64);
    EXPECT_EQ(static_cast<int>(d->FileListLength->GetValue()), 10);
    EXPECT_STREQ(d->AdobeLocEdit->GetText().c_str(), "C:\\plugins\\");
    EXPECT_EQ(static_cast<int>(d->UndoMemEdit->GetValue()), 100);
    EXPECT_EQ(static_cast<int>(d->UndoDiskEdit->GetValue()), 200);
    EXPECT_STREQ(d->UndoDirEdit->GetText().c_str(), settings.UndoDir.c_str());
    AnsiString space = d->SpaceOnDiskNum->GetCaption();
    EXPECT_EQ(space.Pos(" MB"), space.Length() - 2) << space.c_str();
    EXPECT_EQ(d->SpaceOnDiskNum->GetLeft(), d->SpaceOnDiskLabel->GetLeft() + d->SpaceOnDiskLabel->GetWidth() + 8);
    EXPECT_EQ(d->ExtensBox->GetState(0), cbGrayed);  // .ksbmp ours, .ksrle not
    EXPECT_EQ(d->ExtensBox->GetState(1), cbUnchecked);
}

TEST_F(PreferencesTest, OkAppliesAndStores)
{
    std::unique_ptr<TPreferences> d(NewDialog());
    d->AntiAliasCB->SetChecked(true);
    d->Level->SetItemIndex(0);
    d->PalEntries->SetValue(128);
    d->UndoMemEdit->SetValue(50);
    d->AdobeLocEdit->SetText("D:\\filters");
    d->ExtensBox->SetState(1, cbChecked);
    ASSERT_EQ(Press(d.get(), d->OkBtn), mrOk);
    TPreferencesResult r = ApplyPreferences(*d, settings, dir_.c_str(), PrefsKey);
    EXPECT_TRUE(r.levelChanged);
    EXPECT_TRUE(r.adobeLocChanged);
    EXPECT_FALSE(r.languageChanged);
    EXPECT_TRUE(settings.AntiAlias);
    EXPECT_EQ(settings.Level, 0);
    EXPECT_EQ(settings.Palette, 128);
    EXPECT_EQ(settings.UndoMem, 50 * 1024);
    EXPECT_STREQ(settings.AdobeLoc.c_str(), "D:\\filters\\");
    EXPECT_TRUE(IsAssociated(".kstst"));
    // The grey format was left alone: both its extensions as they were.
    EXPECT_EQ(RegDefault(HKEY_CLASSES_ROOT, ".ksbmp"), "Kestrel");
    EXPECT_EQ(RegDefault(HKEY_CLASSES_ROOT, ".ksrle"), "ksrlefile");
    EXPECT_TRUE(shown_.empty());
}

TEST_F(PreferencesTest, ClickTurningGreyBecomesChecked)
{
    std::unique_ptr<TPreferences> d(NewDialog());
    d->ExtensBox->SetState(1, cbGrayed);  // what the click cycle does to an unchecked entry
    d->ExtensBox->OnClickCheck(d->ExtensBox);
    EXPECT_EQ(d->ExtensBox->GetState(1), cbChecked);
    d->ExtensBox->SetState(0, cbGrayed);  // started grey: grey stays
    d->ExtensBox->OnClickCheck(d->ExtensBox);
    EXPECT_EQ(d->ExtensBox->GetState(0), cbGrayed);
}

TEST_F(PreferencesTest, CancelChangesNothing)
{
    TAppSettings before = settings;
    Later([] {
        TPreferences* d = OpenDialog();
        ASSERT_NE(d, nullptr);
        d->ClippingCB->SetChecked(false);
        d->UndoMemEdit->SetValue(1);
        PostMessageA(d->CancelBtn->GetHandle(), BM_CLICK, 0, 0);
    });
    TPreferencesResult r = RunPreferences(settings, dir_.c_str());
    EXPECT_FALSE(r.accepted);
    EXPECT_TRUE(settings.Clipping);
    EXPECT_EQ(settings.UndoMem, before.UndoMem);
    EXPECT_EQ(OpenDialog(), nullptr);
}

TEST_F(PreferencesTest, MissingUndoFolderIsRefused)
{
    std::unique_ptr<TPreferences> d(NewDialog());
    d->UndoDirEdit->SetText("C:\\no\\such\\folder");
    EXPECT_STREQ(d->SpaceOnDiskNum->GetCaption().c_str(), BuiltInText("N/A"));
    AnsiString old = settings.UndoDir;
    TPreferencesResult r = ApplyPreferences(*d, settings, dir_.c_str(), PrefsKey);
    EXPECT_FALSE(r.undoDirChanged);
    EXPECT_STREQ(settings.UndoDir.c_str(), old.c_str());
    ASSERT_EQ(shown_.size(), 1u);
    EXPECT_EQ(shown_[0].text, BuiltInText("NoSuchDir"));
    EXPECT_EQ(shown_[0].flags, MsgIconWarning);
}

TEST_F(PreferencesTest, ChosenLanguageIsLoadedAndWrittenAtOnce)
{
    WriteLng("Test", EncodeLng("[Messages]\r\nNoSuchDir=Kein Ordner\r\n[Preferences]\r\nOkBtn.Caption=Gut\r\n"
                               "UndoSheet.Caption=Zurueck\r\n"));
    Lang = lang_;
    languages->Add("Test");
    languages->Add("Missing");
    std::unique_ptr<TPreferences> d(NewDialog());
    d->Langs->SetItemIndex(1);
    ApplyPreferences(*d, settings, dir_.c_str(), PrefsKey);
    ASSERT_EQ(shown_.size(), 1u);
    EXPECT_EQ(shown_[0].text, BuiltInText("CantFindLngFile"));
    EXPECT_TRUE(settings.Language.IsEmpty());

    d->Langs->SetItemIndex(0);
    TPreferencesResult r = ApplyPreferences(*d, settings, dir_.c_str(), PrefsKey);
    EXPECT_TRUE(r.languageChanged);
    EXPECT_STREQ(settings.Language.c_str(), "Test");
    EXPECT_EQ(T("NoSuchDir"), "Kein Ordner");
    EXPECT_EQ(RegDefault(HKEY_CURRENT_USER, "Software\\Corvane\\KSTestPrefs\\Preferences", "Language"), "Test");
    // A dialog made now speaks the language.
    d.reset();
    std::unique_ptr<TPreferences> again(NewDialog());
    EXPECT_STREQ(again->OkBtn->GetCaption().c_str(), "Gut");
    EXPECT_STREQ(again->UndoSheet->GetCaption().c_str(), "Zurueck");
}

TEST_F(PreferencesTest, LanguageThatCannotBeLoadedIsNotStored)
{
    WriteLng("Good", EncodeLng("[Messages]\r\nNoSuchDir=Kein Ordner\r\n"));
    Bytes damaged = EncodeLng("[Messages]\r\nNoSuchDir=Pas de dossier\r\n");
    damaged.resize(damaged.size() - 3);  // readable, but it cannot be expanded
    WriteLng("Damaged", damaged);
    Lang = lang_;
    languages->Add("Good");
    languages->Add("Damaged");
    std::unique_ptr<TPreferences> d(NewDialog());
    d->Langs->SetItemIndex(0);
    ApplyPreferences(*d, settings, dir_.c_str(), PrefsKey);
    ASSERT_STREQ(settings.Language.c_str(), "Good");

    d->Langs->SetItemIndex(1);
    TPreferencesResult r = ApplyPreferences(*d, settings, dir_.c_str(), PrefsKey);
    EXPECT_FALSE(r.languageChanged);
    ASSERT_EQ(shown_.size(), 1u);
    EXPECT_EQ(shown_[0].caption, Translate("Error").c_str());
    // The working choice stays, in force and stored, for the next start.
    EXPECT_STREQ(settings.Language.c_str(), "Good");
    EXPECT_EQ(T("NoSuchDir"), "Kein Ordner");
    EXPECT_EQ(RegDefault(HKEY_CURRENT_USER, "Software\\Corvane\\KSTestPrefs\\Preferences", "Language"), "Good");
}

}  // namespace
