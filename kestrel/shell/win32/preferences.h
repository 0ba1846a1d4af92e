// The preferences dialog: seven pages that show AppSettings, and the part
// of applying them that belongs to the settings themselves (file types,
// language, switches, undo folder and limits). What OK means for the main
// window (menus, option bar, tool buttons, rescans) TMainForm does with
// the changes reported in TPreferencesResult.
#ifndef KESTREL_PREFERENCES_H
#define KESTREL_PREFERENCES_H

#include <functional>
#include <vector>
#include "appsettings.h"
#include "floattabs.h"
#include "forms.h"
#include "listctls.h"
#include "gradient_caption.h"
#include "settings_registry.h"
#include "spinedit.h"
#include "stdctrls.h"
#include "extctrls.h"
#include "tooledit.h"

// An image format as the Extensions page lists it.
struct TFormatEntry {
    AnsiString name;
    AnsiString masks;  // "*.BMP;*.RLE"
};

// Pixmill's formats, in registration order.
std::vector<TFormatEntry> LibraryFormats();

class TPreferences : public TForm {
public:
    // Translates itself from "[Preferences]"; reopens on the page and at
    // the place it was last closed.
    explicit TPreferences(TComponent* AOwner);
    ~TPreferences() override;

    // Step 1 of the dialog's use: every control from the settings, the
    // formats with their association state, the language names.
    void LoadFrom(const TAppSettings& s, const std::vector<TFormatEntry>& formats, TStrings* languages,
                  TStrings* failedPlugins);
    // The switches and numbers as the controls show them (undo sizes in
    // kilobytes); folders and language are applied apart.
    void StoreTo(TAppSettings& s);

    // The format's starting state on the Extensions page.
    TCheckBoxState StartState(int Index) const { return startStates_[static_cast<std::size_t>(Index)]; }
    const std::vector<TFormatEntry>& Formats() const { return formats_; }

    TGradientCaption* GradCaption;
    TFloatPageControl* Pages;
    TFloatTabSheet *GeneralSheet, *InterfaceSheet, *FilesSheet, *PlugInsSheet, *LanguageSheet, *ExtensionsSheet,
        *UndoSheet;
    // General
    TCheckBox *ClippingCB, *OptimBrushCB, *InstBrushCB, *AntiAliasCB, *FixRefreshCB;
    TRadioGroup* Level;
    // Interface
    TCheckBox *ShowTODCB, *ResizeNeighCB, *AlwaysDockCB, *FlatIconsCB, *StartMaxCB;
    TLabel* PalEntriesLabel;
    TSpinEdit* PalEntries;
    // Files
    TCheckBox *BackupFilesCB, *AutoLoadPaletteCB, *AutoReloadCB, *CacheThumbsCB;
    TLabel* FileListLabel;
    TSpinEdit* FileListLength;
    TButton* ClrFListBtn;
    // Plug-Ins
    TCheckBox *UseKSCCB, *UseAdobeCB;
    TLabel *AdobeLocLabel, *PluginListLabel;
    TComboEdit* AdobeLocEdit;
    TListBox* PluginList;
    // Language
    TListBox* Langs;
    // Extensions
    TStateCheckListBox* ExtensBox;
    TButton* SetDefBtn;
    TLabel* DefFormatLabel;
    // Undo
    TLabel *UndoDirLabel, *SpaceOnDiskLabel, *SpaceOnDiskNum, *UndoMemLabel, *UndoDiskLabel;
    TComboEdit* UndoDirEdit;
    TSpinEdit *UndoMemEdit, *UndoDiskEdit;

    TButton *OkBtn, *CancelBtn, *HelpBtn;

    // Tried at once on the image windows; the main window assigns them.
    TNotifyEvent OnAntiAliasTry, OnInstBrushTry, OnClippingTry, OnFileListLengthChange, OnClearFileList;
    // The chosen folder, or empty when the user cancelled; tests replace it.
    std::function<AnsiString(const AnsiString& title)> BrowseForFolder;

    int DefFileExt = 0;

private:
    void BuildGeneral();
    void BuildInterface();
    void BuildFiles();
    void BuildPlugIns();
    void BuildLanguage();
    void BuildExtensions();
    void BuildUndo();
    TFloatTabSheet* NewSheet(const char* name, const char* caption);
    TCheckBox* NewCheck(TWinControl* parent, const char* name, const char* caption, int y);
    void ExtensBoxClickCheck();
    void UndoDirEditChange();
    void ShowDefaultFormat();
    void Browse(TComboEdit* edit, const char* titleKey);

    std::vector<TFormatEntry> formats_;
    std::vector<TCheckBoxState> startStates_;
};

// What applying the dialog changed, for the main window's own steps.
struct TPreferencesResult {
    bool accepted = false;
    bool languageChanged = false;
    bool levelChanged = false;
    bool useKSCChanged = false;
    bool useAdobeChanged = false;
    bool adobeLocChanged = false;
    bool flatIconsChanged = false;
    bool undoDirChanged = false;
};

// Shows the dialog over the settings and applies it on OK (with the
// hourglass); Cancel changes nothing (accepted false). prepare runs once the
// controls show the settings, before the dialog opens: the caller hooks
// what the dialog tries at once.
TPreferencesResult RunPreferences(TAppSettings& settings, const AnsiString& programDir,
                                  const std::function<void(TPreferences&)>& prepare = nullptr);

// Applies an accepted dialog to settings: file types of changed formats
// (a grey entry changes nothing), the language (loaded and written to the
// registry at once), switches and numbers, the plug-in and undo folders
// (a missing undo folder gives "NoSuchDir" and keeps the old one), and
// pushes the undo limits to the painting core.
TPreferencesResult ApplyPreferences(TPreferences& dialog, TAppSettings& settings, const AnsiString& programDir,
                                    const AnsiString& settingsKey = SettingsBaseKey);

#endif
