// The preferences command. The dialog's own unit applies what belongs to
// the settings (file types, language, switches, undo folder and limits);
// here the main window follows them.
#include "mainform.h"

#include "messages.h"
#include "mruflist.h"
#include "optionbar.h"
#include "palettebar.h"
#include "preferences.h"
#include "tbctrls.h"
#include "toolbuttons.h"
#include "toolmanager.h"

void TMainForm::PrefsMenuClick(TObject* /*Sender*/)
{
    SelectDefaultTool(true);
    TPreferencesResult result = RunPreferences(AppSettings, ProgramDir);
    if (!result.accepted) return;
    if (result.languageChanged) SizeToMenuBar();
    if (result.levelChanged || result.languageChanged) {
        // Rebuilt from the new language's description at the new level.
        HideOptionBar(CurrentTool, nullptr);
        ShowOptionBar(CurrentTool);
        FitMainWindowToDock();
    }
    MRUFileList1->SetMaximum(AppSettings.MRUFiles);
    // Applying the preferences resets the palette bar to the default colours.
    BuildPalette(PaletteHolder, AppSettings.Palette, true);
    if (result.flatIconsChanged) {
        if (ToolButtons) ToolButtons->SetFlat(AppSettings.FlatIcons);
        UndoBtn->SetFlat(AppSettings.FlatIcons);
        RedoBtn->SetFlat(AppSettings.FlatIcons);
    }
}
