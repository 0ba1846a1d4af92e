#include "preferences.h"

#include <shlobj.h>
#include "fileassoc.h"
#include "formbuilder.h"
#include <memory>
#include "application.h"
#include "gfxfile.h"
#include "screen.h"
#include "lang.h"
#include "messages.h"
#include "publishedprops.h"
#include "settings_registry.h"
#include "smalldialog.h"
#include "sysutils.h"

namespace {

// Remembered for the run: the dialog reopens where it was closed, on the
// page it was closed on.
TDialogPlace lastPlace;
int lastPage = 0;

const int SheetWidth = 392;

void PublishSheetCaptions()
{
    static bool done = false;
    if (done) return;
    done = true;
    PublishString<TFloatTabSheet>("Caption", [](TFloatTabSheet* c, const AnsiString& v) { c->SetCaption(v); });
}

TSpinEdit* NewSpin(TComponent* owner, TWinControl* parent, const char* name, int x, int y, int minValue,
                   int maxValue, int increment)
{
    TSpinEdit* spin = New<TSpinEdit>(owner, parent, x, y, 70, 21);
    spin->SetName(name);
    spin->SetMinValue(minValue);
    spin->SetMaxValue(maxValue);
    spin->SetIncrement(increment);
    return spin;
}

TLabel* NamedLabel(TComponent* owner, TWinControl* parent, const char* name, const char* caption, int x, int y)
{
    TLabel* label = NewLabel(owner, parent, caption, x, y);
    label->SetName(name);
    return label;
}

TComboEdit* NewFolderEdit(TComponent* owner, TWinControl* parent, const char* name, int x, int y, int w)
{
    TComboEdit* edit = New<TComboEdit>(owner, parent, x, y, w, 21);
    edit->SetName(name);
    return edit;
}

// The association state of a format's extensions: all, some or none.
TCheckBoxState AssociationState(const AnsiString& masks)
{
    int associated = 0, total = 0;
    AnsiString list = masks;
    while (!list.IsEmpty()) {
        AnsiString ext = SplitExtensionList(list);
        if (ext.IsEmpty()) continue;
        total++;
        if (IsAssociated(ext)) associated++;
    }
    if (associated == 0) return cbUnchecked;
    return associated == total ? cbChecked : cbGrayed;
}

void SetAssociation(const AnsiString& masks, bool on)
{
    AnsiString list = masks;
    while (!list.IsEmpty()) {
        AnsiString ext = SplitExtensionList(list);
        if (ext.IsEmpty()) continue;
        if (on)
            Associate(ext);
        else
            Unassociate(ext);
    }
}

AnsiString ShellBrowseForFolder(HWND owner, const AnsiString& title)
{
    char path[MAX_PATH] = "";
    BROWSEINFOA info = {};
    info.hwndOwner = owner;
    info.pszDisplayName = path;
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    HRESULT com = CoInitialize(nullptr);
    LPITEMIDLIST list = SHBrowseForFolderA(&info);
    AnsiString chosen;
    if (list) {
        if (SHGetPathFromIDListA(list, path)) chosen = path;
        CoTaskMemFree(list);
    }
    if (SUCCEEDED(com)) CoUninitialize();
    return chosen;
}

bool LanguageFileReadable(const AnsiString& path)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file) std::fclose(file);
    return file != nullptr;
}

}  // namespace

std::vector<TFormatEntry> LibraryFormats()
{
    std::vector<TFormatEntry> formats;
    for (GFXFile* f = GFXFile::Formats(); f; f = f->next) formats.push_back({f->name, f->masks});
    return formats;
}

TPreferences::TPreferences(TComponent* AOwner) : TForm(AOwner)
{
    SetName("Preferences");
    SetCaption("Preferences");
    SetBorderStyle(bsDialog);
    SetClientWidth(416);
    SetClientHeight(350);
    GradCaption = new TGradientCaption(this);
    Pages = New<TFloatPageControl>(this, this, 8, 8, 400, 300);
    Pages->SetName("Pages");
    BuildGeneral();
    BuildInterface();
    BuildFiles();
    BuildPlugIns();
    BuildLanguage();
    BuildExtensions();
    BuildUndo();
    OkBtn = NewButton(this, this, "OK", 170, 318, 75, 25);
    OkBtn->SetName("OkBtn");
    OkBtn->SetDefault(true);
    OkBtn->SetModalResult(mrOk);
    CancelBtn = NewButton(this, this, "Cancel", 252, 318, 75, 25);
    CancelBtn->SetName("CancelBtn");
    CancelBtn->SetCancel(true);
    CancelBtn->SetModalResult(mrCancel);
    HelpBtn = NewButton(this, this, "Help", 334, 318, 75, 25);
    HelpBtn->SetName("HelpBtn");
    BrowseForFolder = [this](const AnsiString& title) { return ShellBrowseForFolder(GetHandle(), title); };

    if (Lang) PublishSheetCaptions();
    PrepareSmallDialog(this, GradCaption, lastPlace);
    SpaceOnDiskNum->SetLeft(SpaceOnDiskLabel->GetLeft() + SpaceOnDiskLabel->GetWidth() + 8);
    if (lastPage >= 0 && lastPage < Pages->GetPageCount()) Pages->SetActivePage(Pages->GetPages(lastPage));
}

TPreferences::~TPreferences()
{
    RememberDialogPlace(this, lastPlace);
    lastPage = Pages->GetActivePageIndex();
}

TFloatTabSheet* TPreferences::NewSheet(const char* name, const char* caption)
{
    TFloatTabSheet* sheet = new TFloatTabSheet(this);
    sheet->SetName(name);
    sheet->SetCaption(caption);
    sheet->SetPageControl(Pages);
    return sheet;
}

TCheckBox* TPreferences::NewCheck(TWinControl* parent, const char* name, const char* caption, int y)
{
    TCheckBox* box = NewCheckBox(this, parent, caption, 12, y, SheetWidth - 24, 17);
    box->SetName(name);
    return box;
}

void TPreferences::BuildGeneral()
{
    GeneralSheet = NewSheet("GeneralSheet", "General");
    ClippingCB = NewCheck(GeneralSheet, "ClippingCB", "Draw only in the visible part of the picture", 12);
    ClippingCB->OnClick = [this](TObject* sender) {
        if (OnClippingTry) OnClippingTry(sender);
    };
    OptimBrushCB = NewCheck(GeneralSheet, "OptimBrushCB", "Optimise brushes", 34);
    InstBrushCB = NewCheck(GeneralSheet, "InstBrushCB", "Instant brush", 56);
    InstBrushCB->OnClick = [this](TObject* sender) {
        if (OnInstBrushTry) OnInstBrushTry(sender);
    };
    AntiAliasCB = NewCheck(GeneralSheet, "AntiAliasCB", "Anti-aliasing", 78);
    AntiAliasCB->OnClick = [this](TObject* sender) {
        if (OnAntiAliasTry) OnAntiAliasTry(sender);
    };
    FixRefreshCB = NewCheck(GeneralSheet, "FixRefreshCB", "Alternative screen refresh", 100);
    Level = NewRadioGroup(this, GeneralSheet, "User level", 12, 130, 200, 70, {"Novice", "Expert"}, 0);
    Level->SetName("Level");
}

void TPreferences::BuildInterface()
{
    InterfaceSheet = NewSheet("InterfaceSheet", "Interface");
    ShowTODCB = NewCheck(InterfaceSheet, "ShowTODCB", "Show tips at start-up", 12);
    ResizeNeighCB = NewCheck(InterfaceSheet, "ResizeNeighCB", "Resize neighbouring windows", 34);
    AlwaysDockCB = NewCheck(InterfaceSheet, "AlwaysDockCB", "Dock tool windows into the image window", 56);
    FlatIconsCB = NewCheck(InterfaceSheet, "FlatIconsCB", "Flat tool buttons", 78);
    StartMaxCB = NewCheck(InterfaceSheet, "StartMaxCB", "Start maximised", 100);
    PalEntriesLabel = NamedLabel(this, InterfaceSheet, "PalEntriesLabel", "Palette bar cells:", 12, 134);
    PalEntries = NewSpin(this, InterfaceSheet, "PalEntries", 160, 130, 8, 256, 4);
}

void TPreferences::BuildFiles()
{
    FilesSheet = NewSheet("FilesSheet", "Files");
    BackupFilesCB = NewCheck(FilesSheet, "BackupFilesCB", "Keep a backup when saving over a file", 12);
    AutoLoadPaletteCB = NewCheck(FilesSheet, "AutoLoadPaletteCB", "Load a picture's palette into the palette bar", 34);
    AutoReloadCB = NewCheck(FilesSheet, "AutoReloadCB", "Reload a picture after saving it with loss", 56);
    CacheThumbsCB = NewCheck(FilesSheet, "CacheThumbsCB", "Keep a thumbnail cache for the browser", 78);
    FileListLabel = NamedLabel(this, FilesSheet, "FileListLabel", "Recent files listed:", 12, 112);
    FileListLength = NewSpin(this, FilesSheet, "FileListLength", 160, 108, 0, 16, 1);
    FileListLength->OnChange = [this](TObject* sender) {
        if (OnFileListLengthChange) OnFileListLengthChange(sender);
    };
    ClrFListBtn = NewButton(this, FilesSheet, "Clear list", 240, 106, 90, 25, [this](TObject* sender) {
        if (OnClearFileList) OnClearFileList(sender);
    });
    ClrFListBtn->SetName("ClrFListBtn");
}

void TPreferences::BuildPlugIns()
{
    PlugInsSheet = NewSheet("PlugInsSheet", "Plug-Ins");
    UseKSCCB = NewCheck(PlugInsSheet, "UseKSCCB", "Load filter components", 12);
    UseAdobeCB = NewCheck(PlugInsSheet, "UseAdobeCB", "Load Photoshop-compatible plug-ins", 34);
    AdobeLocLabel = NamedLabel(this, PlugInsSheet, "AdobeLocLabel", "Plug-in folder:", 12, 62);
    AdobeLocEdit = NewFolderEdit(this, PlugInsSheet, "AdobeLocEdit", 12, 80, SheetWidth - 24);
    AdobeLocEdit->OnButtonClick = [this](TObject*) { Browse(AdobeLocEdit, "BrowseAdobeDir"); };
    PluginListLabel = NamedLabel(this, PlugInsSheet, "PluginListLabel", "Plug-ins that failed to load:", 12, 112);
    PluginList = New<TListBox>(this, PlugInsSheet, 12, 130, SheetWidth - 24, 120);
    PluginList->SetName("PluginList");
}

void TPreferences::BuildLanguage()
{
    LanguageSheet = NewSheet("LanguageSheet", "Language");
    Langs = New<TListBox>(this, LanguageSheet, 12, 12, 200, 220);
    Langs->SetName("Langs");
}

void TPreferences::BuildExtensions()
{
    ExtensionsSheet = NewSheet("ExtensionsSheet", "Extensions");
    ExtensBox = New<TStateCheckListBox>(this, ExtensionsSheet, 12, 12, 240, 230);
    ExtensBox->SetName("ExtensBox");
    ExtensBox->SetAllowGrayed(true);
    ExtensBox->OnClickCheck = [this](TObject*) { ExtensBoxClickCheck(); };
    SetDefBtn = NewButton(this, ExtensionsSheet, "Default", 264, 12, 110, 25, [this](TObject*) {
        int index = ExtensBox->GetItemIndex();
        if (index >= 0) DefFileExt = index;
        ShowDefaultFormat();
    });
    SetDefBtn->SetName("SetDefBtn");
    DefFormatLabel = NamedLabel(this, ExtensionsSheet, "DefFormatLabel", "", 264, 44);
}

void TPreferences::BuildUndo()
{
    UndoSheet = NewSheet("UndoSheet", "Undo");
    UndoDirLabel = NamedLabel(this, UndoSheet, "UndoDirLabel", "Folder for undo files:", 12, 12);
    UndoDirEdit = NewFolderEdit(this, UndoSheet, "UndoDirEdit", 12, 30, SheetWidth - 24);
    UndoDirEdit->OnButtonClick = [this](TObject*) { Browse(UndoDirEdit, "BrowseUndoDir"); };
    UndoDirEdit->OnChange = [this](TObject*) { UndoDirEditChange(); };
    UndoDirEdit->OnExit = [this](TObject*) { UndoDirEditChange(); };
    SpaceOnDiskLabel = NamedLabel(this, UndoSheet, "SpaceOnDiskLabel", "Free space:", 12, 60);
    SpaceOnDiskNum = NamedLabel(this, UndoSheet, "SpaceOnDiskNum", "", 100, 60);
    UndoMemLabel = NamedLabel(this, UndoSheet, "UndoMemLabel", "Memory for undo (MB):", 12, 94);
    UndoMemEdit = NewSpin(this, UndoSheet, "UndoMemEdit", 200, 90, 0, 512, 1);
    UndoDiskLabel = NamedLabel(this, UndoSheet, "UndoDiskLabel", "Disk space for undo (MB):", 12, 124);
    UndoDiskEdit = NewSpin(this, UndoSheet, "UndoDiskEdit", 200, 120, 0, 512, 1);
}

void TPreferences::Browse(TComboEdit* edit, const char* titleKey)
{
    if (!BrowseForFolder) return;
    AnsiString chosen = BrowseForFolder(Translate(titleKey));
    if (!chosen.IsEmpty()) edit->SetText(chosen);
}

void TPreferences::UndoDirEditChange()
{
    AnsiString dir = UndoDirEdit->GetText().Trim();
    long long free = FreeDiskBytes(dir.IsEmpty() ? SystemTempPath() : WithTrailingSeparator(dir));
    SpaceOnDiskNum->SetCaption(FreeSpaceText(free));
}

// The check list's click goes unchecked -> grey -> checked; grey means
// "leave as it is", which only a format that started grey can be.
void TPreferences::ExtensBoxClickCheck()
{
    for (int i = 0; i < ExtensBox->GetItems()->GetCount() && i < static_cast<int>(startStates_.size()); i++)
        if (ExtensBox->GetState(i) == cbGrayed && startStates_[static_cast<std::size_t>(i)] != cbGrayed)
            ExtensBox->SetState(i, cbChecked);
}

void TPreferences::ShowDefaultFormat()
{
    DefFormatLabel->SetCaption(DefFileExt >= 0 && DefFileExt < static_cast<int>(formats_.size())
                                   ? formats_[static_cast<std::size_t>(DefFileExt)].name
                                   : AnsiString());
}

void TPreferences::LoadFrom(const TAppSettings& s, const std::vector<TFormatEntry>& formats, TStrings* languages,
                            TStrings* failedPlugins)
{
    formats_ = formats;
    startStates_.clear();
    ExtensBox->GetItems()->Clear();
    for (const TFormatEntry& format : formats_) {
        ExtensBox->GetItems()->Add(format.name);
        startStates_.push_back(AssociationState(format.masks));
        ExtensBox->SetState(ExtensBox->GetItems()->GetCount() - 1, startStates_.back());
    }
    DefFileExt = s.DefFileExt;
    ShowDefaultFormat();

    Langs->GetItems()->Clear();
    if (languages) Langs->GetItems()->Assign(languages);
    Langs->SetItemIndex(s.Language.IsEmpty() ? -1 : Langs->GetItems()->IndexOf(s.Language));
    PluginList->GetItems()->Clear();
    if (failedPlugins) PluginList->GetItems()->Assign(failedPlugins);

    ClippingCB->SetChecked(s.Clipping);
    OptimBrushCB->SetChecked(s.OptimBrush);
    InstBrushCB->SetChecked(s.InstBrush);
    AntiAliasCB->SetChecked(s.AntiAlias);
    FixRefreshCB->SetChecked(s.FixRefresh);
    Level->SetItemIndex(s.Level);
    ShowTODCB->SetChecked(s.ShowTOD);
    ResizeNeighCB->SetChecked(s.ResizeNeigh);
    AlwaysDockCB->SetChecked(s.AlwaysDock);
    FlatIconsCB->SetChecked(s.FlatIcons);
    StartMaxCB->SetChecked(s.StartMax);
    PalEntries->SetValue(s.Palette);
    BackupFilesCB->SetChecked(s.BackupFiles);
    AutoLoadPaletteCB->SetChecked(s.AutoLoadPalette);
    AutoReloadCB->SetChecked(s.AutoReload);
    CacheThumbsCB->SetChecked(s.CacheThumbs);
    FileListLength->SetValue(s.MRUFiles);
    UseKSCCB->SetChecked(s.UseKSC);
    UseAdobeCB->SetChecked(s.UseAdobe);
    AdobeLocEdit->SetText(s.AdobeLoc);
    UndoDirEdit->SetText(s.UndoDir);
    UndoMemEdit->SetValue(static_cast<long double>(s.UndoMem / 1024));
    UndoDiskEdit->SetValue(static_cast<long double>(s.UndoDisk / 1024));
}

void TPreferences::StoreTo(TAppSettings& s)
{
    s.Clipping = ClippingCB->GetChecked();
    s.OptimBrush = OptimBrushCB->GetChecked();
    s.InstBrush = InstBrushCB->GetChecked();
    s.AntiAlias = AntiAliasCB->GetChecked();
    s.FixRefresh = FixRefreshCB->GetChecked();
    s.Level = Level->GetItemIndex() < 0 ? s.Level : Level->GetItemIndex();
    s.ShowTOD = ShowTODCB->GetChecked();
    s.ResizeNeigh = ResizeNeighCB->GetChecked();
    s.AlwaysDock = AlwaysDockCB->GetChecked();
    s.FlatIcons = FlatIconsCB->GetChecked();
    s.StartMax = StartMaxCB->GetChecked();
    s.Palette = static_cast<int>(PalEntries->GetValue());
    s.BackupFiles = BackupFilesCB->GetChecked();
    s.AutoLoadPalette = AutoLoadPaletteCB->GetChecked();
    s.AutoReload = AutoReloadCB->GetChecked();
    s.CacheThumbs = CacheThumbsCB->GetChecked();
    s.MRUFiles = static_cast<int>(FileListLength->GetValue());
    s.UseKSC = UseKSCCB->GetChecked();
    s.UseAdobe = UseAdobeCB->GetChecked();
    s.DefFileExt = DefFileExt;
    s.UndoMem = static_cast<long long>(UndoMemEdit->GetValue()) * 1024;
    s.UndoDisk = static_cast<long long>(UndoDiskEdit->GetValue()) * 1024;
    ClampAppSettings(s);
}

namespace {

void ApplyAssociations(TPreferences& d)
{
    for (int i = 0; i < static_cast<int>(d.Formats().size()); i++) {
        TCheckBoxState now = d.ExtensBox->GetState(i);
        if (now == d.StartState(i) || now == cbGrayed) continue;
        SetAssociation(d.Formats()[static_cast<std::size_t>(i)].masks, now == cbChecked);
    }
}

bool ApplyLanguage(TPreferences& d, TAppSettings& s, const AnsiString& programDir, const AnsiString& settingsKey)
{
    int index = d.Langs->GetItemIndex();
    if (index < 0) return false;
    AnsiString name = d.Langs->GetItems()->GetStrings(index);
    if (!LanguageFileReadable(programDir + name + ".lng")) {
        TranslatedMessageBox("CantFindLngFile", "Err", MsgIconWarning);
        return false;
    }
    if (name == s.Language) return false;
    // Stored only once it loaded: a stored language that cannot be loaded
    // would fail every later start, and the working one would be lost.
    TAppSettings tried = s;
    tried.Language = name;
    if (!LoadLanguage(tried)) return false;
    s.Language = name;
    SaveLanguageSetting(s, settingsKey);
    return true;
}

bool ApplyUndoDir(TPreferences& d, TAppSettings& s)
{
    AnsiString dir = d.UndoDirEdit->GetText().Trim();
    dir = dir.IsEmpty() ? SystemTempPath() : WithTrailingSeparator(dir);
    if (!DirectoryExists(ExcludeTrailingBackslash(dir))) {
        TranslatedMessageBox("NoSuchDir", "Err", MsgIconWarning);
        return false;
    }
    if (dir == s.UndoDir) return false;
    s.UndoDir = dir;
    return true;
}

}  // namespace

TPreferencesResult RunPreferences(TAppSettings& settings, const AnsiString& programDir,
                                  const std::function<void(TPreferences&)>& prepare)
{
    std::unique_ptr<TPreferences> dialog(NewForm<TPreferences>(Application));
    dialog->LoadFrom(settings, LibraryFormats(), LanguageNames, nullptr);
    if (prepare) prepare(*dialog);
    if (dialog->ShowModal() != mrOk) return TPreferencesResult();
    Screen->SetCursor(crHourGlass);
    TPreferencesResult result;
    try {
        result = ApplyPreferences(*dialog, settings, programDir);
    } catch (...) {
        Screen->SetCursor(crDefault);
        throw;
    }
    Screen->SetCursor(crDefault);
    return result;
}

TPreferencesResult ApplyPreferences(TPreferences& d, TAppSettings& s, const AnsiString& programDir,
                                    const AnsiString& settingsKey)
{
    TPreferencesResult r;
    r.accepted = true;
    ApplyAssociations(d);
    TAppSettings before = s;
    d.StoreTo(s);
    AnsiString adobe = WithTrailingSeparator(d.AdobeLocEdit->GetText().Trim());
    r.adobeLocChanged = adobe != s.AdobeLoc;
    s.AdobeLoc = adobe;
    r.languageChanged = ApplyLanguage(d, s, programDir, settingsKey);
    r.undoDirChanged = ApplyUndoDir(d, s);
    r.levelChanged = s.Level != before.Level;
    r.useKSCChanged = s.UseKSC != before.UseKSC;
    r.useAdobeChanged = s.UseAdobe != before.UseAdobe;
    r.flatIconsChanged = s.FlatIcons != before.FlatIcons;
    ApplySettingsToCore(s);
    return r;
}
