// The preferences command. The dialog's own unit applies what belongs to
// the settings (file types, language, switches, undo folder and limits);
// here the main window follows them, and the image windows and pictures
// through preferences_follow.
#include "mainform.h"

#include "adobe_plugins.h"
#include "messages.h"
#include "mruflist.h"
#include "optionbar.h"
#include "palettebar.h"
#include "preferences.h"
#include "preferences_follow.h"
#include "toolbar_button.h"
#include "toolbuttons.h"
#include "component_scan.h"
#include "toolmanager.h"

void TMainForm::RetranslateMenus()
{
    SizeToMenuBar();
    RetranslateImageWindows();
    RetranslateComponentMenus();
    TranslateGridBar();
}

void TMainForm::PrefsMenuClick(TObject* /*Sender*/)
{
    SelectDefaultTool(true);
    // The recent-file list is trimmed or cleared only with OK: entries gone
    // at once would be lost to a Cancel.
    bool clearRecentFiles = false;
    TPreferencesResult result = RunPreferences(AppSettings, ProgramDir, [&clearRecentFiles](TPreferences& d) {
        TryPreferencesOnImageWindows(d);
        d.OnClearFileList = [&clearRecentFiles](TObject*) { clearRecentFiles = true; };
        for (const AnsiString& name : FailedAdobePlugIns) d.PluginList->GetItems()->Add(name);
    });
    if (result.languageChanged) RetranslateMenus();
    if (result.levelChanged || result.languageChanged) {
        // Rebuilt from the new language's description at the new level.
        HideOptionBar(CurrentTool, nullptr);
        ShowOptionBar(CurrentTool);
        FitMainWindowToDock();
    }
    FollowPreferencesInPictures(result);
    if (!result.accepted) return;
    if (clearRecentFiles) MRUFileList1->Clear();
    if (result.useKSCChanged) RescanComponents();
    if (result.useAdobeChanged || result.adobeLocChanged) RescanAdobePlugIns();
    MRUFileList1->SetMaximum(AppSettings.MRUFiles);
    // Applying the preferences resets the palette bar to the default colours.
    BuildPalette(PaletteHolder, AppSettings.Palette, true);
    if (result.flatIconsChanged) {
        if (ToolButtons) ToolButtons->SetFlat(AppSettings.FlatIcons);
        UndoBtn->SetFlat(AppSettings.FlatIcons);
        RedoBtn->SetFlat(AppSettings.FlatIcons);
    }
}
