// Creation of the main window, the start-up sequence once the first forms
// exist, and the shut-down request when the main window is closed.
#include "mainform.h"

#include "aboutpanel.h"
#include "application.h"
#include "bitmap.h"
#include "debuglog.h"
#include "drawtools_common.h"
#include "brush_commands.h"
#include "help.h"
#include "brushes_tools.h"
#include "cut_tools.h"
#include "colorsel.h"
#include "dragtimer_win32.h"
#include "imageform.h"
#include "imagewindow_host.h"
#include "lang.h"
#include "messages.h"
#include "optionbar.h"
#include "optionbar_view.h"
#include "paintkit.h"
#include "paintkit_host.h"
#include "palettebar.h"
#include "picturefiles_win32.h"
#include "pictureview.h"
#include "programpictures.h"
#include "screen.h"
#include "settings_registry.h"
#include "startupsteps.h"
#include "textform.h"
#include "saved_positions.h"
#include "toolbuttons.h"
#include "tool_host.h"
#include "toolgroups.h"
#include "toolmanager.h"
#include "mainmessages.h"

AnsiString ProgramDir;
TFont* SharedFont = nullptr;
RECT WorkArea = {0, 0, 0, 0};
int CaptionHeight = 0;
TColor CaptionEndColors[2] = {0, 0};
TBitmap* FolderGlyph = nullptr;
TBitmap* ParentFolderGlyph = nullptr;

namespace {

const char* const ToolbarsKey = "Software\\Corvane\\KS\\Toolbars";

// Cursor numbers -49 .. -37, in this order.
const char* const CursorNames[13] = {"CROSS", "CROSSPLU", "CROSSMIN", "CROSSOK", "FILL",    "HAND",   "ROTATE",
                                     "SPRAY", "AIRBRUSH", "WAND",     "WANDPLU", "WANDMIN", "PIPETTE"};

void TakeCaptionColours()
{
    BOOL gradients = FALSE;
    if (!SystemParametersInfoA(0x1008 /* SPI_GETGRADIENTCAPTIONS */, 0, &gradients, 0)) {
        CaptionEndColors[0] = CaptionEndColors[1] = 0;
    } else if (gradients) {
        CaptionEndColors[0] = static_cast<TColor>(GetSysColor(27));
        CaptionEndColors[1] = static_cast<TColor>(GetSysColor(28));
    } else {
        CaptionEndColors[0] = clActiveCaption;
        CaptionEndColors[1] = clInactiveCaption;
    }
}

// Only the program carries the folder pictures, not a test executable: the
// browser then shows folders without them.
void LoadFolderGlyphs(HINSTANCE instance)
{
    // A main form made again takes the glyphs over.
    delete FolderGlyph;
    delete ParentFolderGlyph;
    FolderGlyph = new TBitmap();
    ParentFolderGlyph = new TBitmap();
    if (FindResourceA(instance, "FOLDER", RT_BITMAP)) FolderGlyph->LoadFromResourceName(instance, "FOLDER");
    if (FindResourceA(instance, "PARENTF", RT_BITMAP)) ParentFolderGlyph->LoadFromResourceName(instance, "PARENTF");
}

// The position store names the dock a bar sits in.
void NameImageDocks(TImageForm* f)
{
    if (f->LeftDock->GetName().IsEmpty()) f->LeftDock->SetName("LeftDock");
    if (f->RightDock->GetName().IsEmpty()) f->RightDock->SetName("RightDock");
}

// Maximised while hidden: without a window manager, a shown window that is
// asked to maximise waits for one to do it, and stays as it was (measured
// under Wine with managed windows); one mapped maximised stays so.
void MaximiseShownForm(TCustomForm* form)
{
    bool shown = form->GetVisible();
    if (shown) form->Hide();
    form->SetWindowState(wsMaximized);
    if (shown) form->Show();
}

}  // namespace

void TMainForm::FormCreate(TObject*)
{
    if (formCreated_) return;
    formCreated_ = true;
    MainForm = this;
    Closing = false;
    // Wired before the resources are loaded, which may fail.
    Toolbar->OnMove = [this](TObject* s) { ToolPanelMove(s); };
    Palettebar->OnMove = [this](TObject* s) { ToolPanelMove(s); };
    OptionBarView.showGridBar = [this](bool shown) { ShowGridBar(shown); };
    InstallToolBoxServices();
    OptionHandlerBinder = [](int index, MainOptionHandler handler) {
        if (MainForm) MainForm->BindToolOptionHandler(index, handler);
    };
    HINSTANCE instance = GetModuleHandleA(nullptr);
    for (int i = 0; i < 13; ++i) {
        HCURSOR cursor = LoadCursorA(instance, CursorNames[i]);
        if (cursor) Screen->SetCursors(-49 + i, cursor);
    }
    LoadFolderGlyphs(instance);
}

void TMainForm::InstallLinks()
{
    LinkEditCommands();
    LinkBrushCommands();
    InstallImageWindowServices();
    SetDragTimer(dragTimer_);
    ImageWindowHost.mainWindowBounds = [this](int& left, int& top, int& height) {
        left = GetLeft();
        top = GetTop();
        height = GetHeight();
        return true;
    };
    ImageWindowHost.showZoomStep = [this](int step) { ShowZoomPosition(step); };
    ImageWindowHost.clearActiveControl = [this] { SetActiveControl(nullptr); };
    ImageWindowHost.mainControlFocused = [this] {
        HWND focus = GetFocus();
        return focus && (focus == GetHandle() || IsChild(GetHandle(), focus));
    };
    ImageWindowHost.focusedOptionTag = [this] {
        HWND focus = GetFocus();
        for (int i = 0; i < OptionView->GetValueControlCount(); ++i) {
            TWinControl* c = dynamic_cast<TWinControl*>(OptionView->GetValueControl(i));
            if (c && c->HandleAllocated() && c->GetHandle() == focus) return c->GetTag();
        }
        return -1;
    };
    ImageWindowHost.postNewImage = [this] { PostMessageA(GetHandle(), UM_NEWIMAGE, 0, 0); };
    ImageWindowHost.closeMainWindow = [this] { Close(); };
    ImageWindowHost.operationRunning = [] { return ProgressCancelFlag == 0; };
    ImageWindowHost.cancelOperation = [] { ProgressCancelFlag = 1; };
    ImageWindowHost.registerDockForm = [this](TCustomForm* form, bool dockable) {
        for (TToolbar* bar : {Toolbar, Palettebar}) {
            if (dockable) bar->AddDockForm(form);
            else bar->RemoveDockForm(form);
        }
    };
    // Image window arrangement: the main bars follow the current window.
    ImageWindowHost.dockMainBars = [this](TCustomForm* form) {
        if (auto* f = dynamic_cast<TImageForm*>(form)) GatherMainBars(f);
    };
    ImageWindowHost.floatMainBars = [this] {
        POINT at = {GetLeft(), GetTop() + GetHeight()};
        for (TToolbar* bar : {Palettebar, Toolbar}) {
            if (!bar->IsFloating()) continue;
            bar->SetFloatingPosition(at);
            at.y += bar->GetHeight();
        }
    };
    ImageWindowHost.maximiseMainWindow = [this] { MaximiseShownForm(this); };
    ImageWindowHost.captionEndColors = [](int& activeEnd, int& inactiveEnd) {
        activeEnd = CaptionEndColors[0];
        inactiveEnd = CaptionEndColors[1];
    };
    ToolHost.setHelpContext = [this](int context) { SetHelpContext(context); };
    ToolHost.holdBarLayout = [this](bool hold) {
        if (hold) Dock->BeginUpdate();
        else Dock->EndUpdate();
    };
    ToolHost.fitMainWindowToDock = [this] { FitMainWindowToDock(); };
    PictureViews.activityTimer = [this](bool on) { ActivityTimer->SetEnabled(on); };
    InstallPictureFileLinks(this);
    // Through the global: the hook outlives a main window made again.
    PictureFileLinks.toolWindowsOnTop = [] {
        if (MainForm) MainForm->SetToolbarsFloatingMode(false);
    };
    RecentFiles = MRUFileList1;
}

void TMainForm::LoadSettings()
{
    LoadAppSettings(AppSettings);
    ClampAppSettings(AppSettings);
    ApplySettingsToCore(AppSettings);
    Clipping = AppSettings.Clipping;
    AntiAlias = AppSettings.AntiAlias;
    OptimBrush = AppSettings.OptimBrush;
    // A first run has no place stored: the top-left corner, and the tool
    // windows under the bar once it has its size (PlaceBarsUnderMainWindow).
    if (AppSettings.PlacementKnown) SetBounds(AppSettings.Left, AppSettings.Top, GetWidth(), GetHeight());
    else SetBounds(0, 0, GetWidth(), GetHeight());
}

void TMainForm::SaveSettings()
{
    AppSettings.Maximized = GetWindowState() == wsMaximized;
    if (!AppSettings.Maximized) {
        AppSettings.Left = GetLeft();
        AppSettings.Top = GetTop();
    }
    AppSettings.PlacementKnown = true;
    AppSettings.Clipping = Clipping;
    AppSettings.AntiAlias = AntiAlias;
    SaveAppSettings(AppSettings);
    try {
        // Stored floating: an image window's dock is gone at the next start,
        // so a place in it could not be restored; the floating spot can.
        FloatMainBars();
        SaveToolbarPositions(this, ToolbarsKey);
    } catch (...) {
        // The other keys are written; the positions keep their last values.
    }
}

void TMainForm::FloatMainBars()
{
    for (TToolbar* bar : {Toolbar, Palettebar})
        if (!bar->IsFloating()) bar->SetParent(this);
}

// First run: the palette window at the main window's left edge just below
// it, the tool window just below the palette window, both shown.
void TMainForm::PlaceBarsUnderMainWindow()
{
    POINT at = {GetLeft(), GetTop() + GetHeight()};
    Palettebar->SetFloatingPosition(at);
    Palettebar->SetVisible(true);
    at.y += Palettebar->GetHeight();
    Toolbar->SetFloatingPosition(at);
    Toolbar->SetVisible(true);
}

// Stored places first; then the image window takes the bars again when it
// should, and no option bar stays up without its tool.
void TMainForm::RestoreToolbarPositions()
{
    LoadToolbarPositions(this, ToolbarsKey);
    if (AppSettings.AlwaysDock && CurrentImageForm) GatherMainBars(CurrentImageForm);
    HideOptionBars();
    FitMainWindowToDock();
    ToolbarVisib->SetChecked(Toolbar->GetVisible());
    PaletteVisib->SetChecked(Palettebar->GetVisible());
}

void TMainForm::SizeToMenuBar()
{
    int width = 0;
    TMenuItem* top = MainMenu1->GetItems();
    for (int i = 0; i < top->GetCount(); ++i) {
        RECT r;
        if (GetMenuItemRect(GetHandle(), MainMenu1->GetHandle(), static_cast<UINT>(i), &r))
            width += r.right - r.left + 1;
    }
    SetWidth(width + (GetWidth() - GetClientWidth()) + 32);
}

void TMainForm::LayOutToolPanel()
{
    int top = ToolPanelButtonsHeight(ToolGroupCount() - 1, AppSettings.UseKSC);
    UndoBtn->SetTop(top);
    RedoBtn->SetTop(top);
    ZoomIcon->SetTop(top + 32);
    ZoomLabel->SetTop(top + 32);
    Zoom->SetTop(top + 30);
    ToolPanel->SetHeight(top + Zoom->GetHeight() + 30);
    UndoBtn->SetFlat(AppSettings.FlatIcons);
    RedoBtn->SetFlat(AppSettings.FlatIcons);
}

TImageForm* TMainForm::OpenBlankPicture()
{
    TImageForm* f = CreateImageWindow(NewWidth, NewHeight, "");
    if (!f) return nullptr;
    f->Picture.Box(Rect{f->Picture.left, f->Picture.top, f->Picture.right, f->Picture.bottom}, BackColour());
    f->Fresh = true;
    f->UpdateCaption(0);
    if (AppSettings.AlwaysDock) GatherMainBars(f);
    f->FitToPicture();
    f->Show();
    return f;
}

// Docks the floating tool bar into the window's left dock and the palette
// bar into its right one.
void TMainForm::GatherMainBars(TImageForm* f)
{
    NameImageDocks(f);
    if (Toolbar->GetVisible() && Toolbar->IsFloating()) Toolbar->SetDockedTo(f->LeftDock);
    if (Palettebar->GetVisible() && Palettebar->IsFloating()) Palettebar->SetDockedTo(f->RightDock);
}

void TMainForm::OpenFirstPictures(int argc, char** argv)
{
    if (argc <= 1) {
        OpenBlankPicture();
        return;
    }
    for (int i = 1; i < argc; ++i)
        if (LoadPictureFile(nullptr, argv[i], 0, false) != 0) break;
}

bool TMainForm::StartUp(int argc, char** argv)
{
    // The constructor makes the window (its tool windows float on it), and
    // with it the creation event passes before the handler is assigned.
    FormCreate(this);
    RouteMessagesToApplication();  // before anything can go wrong
    LoadSettings();
    Lang = new TLang(ProgramDir);
    LoadLanguage(AppSettings);
    SetMainHelpFile();
    DebugLogFolder = ProgramDir;
    CreateSplash(this);
    WorkArea = RECT{0, 0, 0, 0};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &WorkArea, 0);
    SizeToMenuBar();
    FitMainWindowToDock();  // the image windows open under the bar
    Show();  // the floating bars show only above a shown main window
    CaptionHeight = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYBORDER) + 4;
    ShowSplash();
    TakeCaptionColours();
    Cap->SetActiveEndColor(CaptionEndColors[0]);
    Cap->SetInactiveEndColor(CaptionEndColors[1]);
    // The colour selector was made before the colours were known.
    if (ColorSel) ColorSel->ApplyCaptionColours(CaptionEndColors[0], CaptionEndColors[1]);
    InstallProgressHooks();
    SharedFont = new TFont();
    InstallTextDialog(this, SharedFont);
    InstallLinks();
    InitPaintKit();
    SetStartTool(&PenBrushTools().penCont);
    BuildToolButtons(ToolPanel, GetModuleHandleA(nullptr));
    BuildPalette(PaletteHolder, AppSettings.Palette, true);
    ConnectPaletteBar(PaletteHolder, DrawCol, BackCol);
    LayOutToolPanel();
    // The bars have their sizes now.
    if (!AppSettings.PlacementKnown) PlaceBarsUnderMainWindow();
    OpenFirstPictures(argc, argv);
    if (ImageFormCount() == 0) {
        // Nothing to paint on (the user was told why): end the program.
        CloseSplash();
        return false;
    }
    if (CurrentImageForm) {
        ShowZoomPosition(CurrentImageForm->ZoomStep);
        UpdateView();
    }
    if (AppSettings.StartMax) {
        MaximiseShownForm(this);
        MaximiseShownForm(CurrentImageForm);
        NameImageDocks(CurrentImageForm);
        Toolbar->SetDockedTo(CurrentImageForm->LeftDock);
        Palettebar->SetDockedTo(CurrentImageForm->LeftDock);
    }
    StartCutTools();
    NewWidth = NewPictureWidth;
    NewHeight = NewPictureHeight;
    SelectTool(&PenBrushTools().penCont, true, -1);
    ResetBrush();
    bool twain = TwainAvailable();
    SelectSource1->SetEnabled(twain);
    Acquire1->SetEnabled(twain);
    MRUFileList1->SetMaximum(AppSettings.MRUFiles);
    TreeScanner->SetInitialDirectory(ProgramDir);
    TreeScanner->SetFileMask("*.lng");
    TreeScanner->SetRecursive(false);
    TreeScanner->OnFileFound = [this](TObject*) { Lang->AddLanguageName(TreeScanner->GetFileFound()); };
    TreeScanner->Execute();
    RescanComponents();
    RescanAdobePlugIns();
    FitMainWindowToDock();
    PostMessageA(GetHandle(), UM_STARTED, 0, 0);
    CloseSplash();
    if (AppSettings.ShowTOD) PostMessageA(GetHandle(), UM_SHOWTIP, 0, 0);
    return true;
}

void TMainForm::ShutDownRequest(TObject*, bool& CanClose)
{
    if (!CloseAllImageWindows()) {
        CanClose = false;
        return;
    }
    try {
        CurrentTool->Deactivate(nullptr);
        try {
            SaveSettings();
        } catch (...) {
        }
    } catch (...) {
        // A tool that fails to let go loses the settings of this run.
    }
    Application->HelpCommand(HELP_QUIT, 0);
    delete Lang;
    Lang = nullptr;
    CanClose = true;
    Closing = true;
    DebugLog("Application closed.");
}
