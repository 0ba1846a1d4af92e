// The preferences command. The dialog's own unit applies what belongs to
// the settings (file types, language, switches, undo folder and limits);
// here the main window follows them, and the image windows and pictures
// through preferences_follow.
#include "mainform.h"

#include "mruflist.h"
#include "optionbar.h"
#include "palettebar.h"
#include "preferences.h"
#include "preferences_follow.h"
#include "tbctrls.h"
#include "toolbuttons.h"
#include "toolmanager.h"

void TMainForm::RetranslateMenus()
{
    SizeToMenuBar();
    RetranslateImageWindows();
}

void TMainForm::PrefsMenuClick(TObject* /*Sender*/)
{
    SelectDefaultTool(true);
    TPreferencesResult result = RunPreferences(AppSettings, ProgramDir, [this](TPreferences& d) {
        TryPreferencesOnImageWindows(d);
        // The recent-file list follows its length and is cleared at once.
        d.OnFileListLengthChange = [this, &d](TObject*) {
            MRUFileList1->SetMaximum(static_cast<int>(d.FileListLength->GetValue()));
        };
        d.OnClearFileList = [this](TObject*) { MRUFileList1->Clear(); };
    });
    if (result.languageChanged) RetranslateMenus();
    if (result.levelChanged || result.languageChanged) {
        // Rebuilt from the new language's description at the new level.
        HideOptionBar(CurrentTool, nullptr);
        ShowOptionBar(CurrentTool);
        FitMainWindowToDock();
    }
    FollowPreferencesInPictures(result);
    // The length tried in the dialog stays only when it was stored.
    MRUFileList1->SetMaximum(AppSettings.MRUFiles);
    if (!result.accepted) return;
    // Applying the preferences resets the palette bar to the default colours.
    BuildPalette(PaletteHolder, AppSettings.Palette, true);
    if (result.flatIconsChanged) {
        if (ToolButtons) ToolButtons->SetFlat(AppSettings.FlatIcons);
        UndoBtn->SetFlat(AppSettings.FlatIcons);
        RedoBtn->SetFlat(AppSettings.FlatIcons);
    }
}
