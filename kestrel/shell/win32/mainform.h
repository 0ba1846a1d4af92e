// TMainForm: the program's main window, a slim top-level bar with the main
// menu, the tool and palette windows, the option and grid bars and a bottom
// dock. Pictures live in top-level image windows of their own; the main
// window reaches them through the image-window list (imageform.h) and the
// services it installs for them. Start-up and shut-down are
// mainform_startup.cpp, the private messages mainform_messages.cpp, the
// progress hooks mainform_progress.cpp, the zoom helpers mainform_zoom.cpp.
#ifndef KESTREL_MAINFORM_H
#define KESTREL_MAINFORM_H

#include <functional>
#include <vector>

#include "comctrls.h"
#include "extctrls.h"
#include "font.h"
#include "forms.h"
#include "gradient_caption.h"
#include "menus.h"
#include "mruflist.h"
#include "spinedit.h"
#include "stdctrls.h"
#include "toolbar_button.h"
#include "dock.h"
#include "toolbar.h"
#include "buffer_view.h"
#include "timer.h"
#include "treescan.h"
#include "toolbox_host.h"
#include "imagekeys.h"

class TImageForm;
class TBitmap;
class TOptionBarView;
class TTimerDragTimer;

class TMainForm : public TForm {
public:
    explicit TMainForm(TComponent* AOwner);
    ~TMainForm() override;
    TMainForm(const TMainForm&) = delete;
    TMainForm& operator=(const TMainForm&) = delete;

    // --- menus (mainform_menus.cpp) ---
    TMainMenu* MainMenu1;
    TMenuItem *File1, *Edit1, *Image1, *View1, *Window1, *Help1;
    TMenuItem *PrefsMenu, *Exit1, *ToolbarVisib, *PaletteVisib, *Cascade1, *FitToImage1, *PrevImage1, *NextImage1, *Crop2;
    TMenuItem *Paint1, *Color1, *Replace1, *Contents1, *Tod1, *About1, *Homepage;
    TMenuItem *SelectSource1, *Acquire1;
    TMenuItem *Undo1, *Redo1, *Paste1;
    // The Window menu's image items follow this many fixed items.
    int WindowMenuFixed = 0;
    // Help menu. Tod1Click with a null Sender is the tip at start, which
    // says nothing when there is no tip file.
    void Tod1Click(TObject* Sender);

    // Edit menu (mainform_edit.cpp).
    void Edit1Click(TObject* Sender);
    void Undo1Click(TObject* Sender);
    void Redo1Click(TObject* Sender);
    void ClearSel1Click(TObject* Sender);
    void InvertSel1Click(TObject* Sender);
    void Copy1Click(TObject* Sender);
    void Cut1Click(TObject* Sender);
    void Delete1Click(TObject* Sender);
    void Paste1Click(TObject* Sender);
    void EditKey(ImageKey key);
    void HomepageClick(TObject* Sender);
    // File > Browse: the image browser (browseform.h).
    void Browse1Click(TObject* Sender);
    void About1Click(TObject* Sender);

    // Brush menu (mainform_brush.cpp).
    TMenuItem *Brush1, *UndoBrush1, *RedoBrush1, *GetSelection1;
    void Brush1Click(TObject* Sender);
    void UndoBrush1Click(TObject* Sender), RedoBrush1Click(TObject* Sender);
    void GetAll1Click(TObject* Sender), GetSelection1Click(TObject* Sender);
    void Conv2Image1Click(TObject* Sender);
    void Outline1Click(TObject* Sender);
    void Both1Click(TObject* Sender), Width1Click(TObject* Sender), Height1Click(TObject* Sender);
    void Both2Click(TObject* Sender), Width2Click(TObject* Sender), Height2Click(TObject* Sender);
    void Both3Click(TObject* Sender), Width3Click(TObject* Sender), Height3Click(TObject* Sender);
    void LefttoRight1Click(TObject* Sender), ToptoBottom1Click(TObject* Sender);
    void N90Degrees1Click(TObject* Sender), N180Degrees1Click(TObject* Sender), AnyAngle1Click(TObject* Sender);
    void UpandDown1Click(TObject* Sender), LeftandRight1Click(TObject* Sender);
    void UpandDown2Click(TObject* Sender), LeftandRight2Click(TObject* Sender);
    void DropShadow1Click(TObject* Sender);
    void Center1Click(TObject* Sender), LTCorner1Click(TObject* Sender), RTCorner1Click(TObject* Sender);
    void RBCorner1Click(TObject* Sender), LBCorner1Click(TObject* Sender);
    void LoadBrushClick(TObject* Sender), SaveBrushClick(TObject* Sender);
    // The reset hook of the brush's undo and the picture windows' reset key.
    void LinkBrushCommands();

    // --- bars ---
    TDock* Dock;  // bottom: the option bar and the grid bar
    TToolbar* Toolbar;
    TPanel* ToolPanel;
    TToolbarButton *UndoBtn, *RedoBtn;
    TPopupMenu* DummyPopup;
    TImage* ZoomIcon;
    TLabel* ZoomLabel;
    TUpDown* Zoom;
    TToolbar* Palettebar;
    TShape *DrawCol, *BackCol;
    TBuffer* PaletteHolder;
    TToolbar* OptionToolbar;
    TLabel* OptionToolbarLabel;
    TOptionBarView* OptionView;
    TToolbar* GridBar;
    TSpinEdit *GridDx, *GridDy, *GridPx, *GridPy;
    TSpeedButton* GridOriginBtn = nullptr;  // selects the grid origin tool
    TSpeedButton* GridBrushBtn = nullptr;   // spaces the grid by the brush's size
    TGradientCaption* Cap;
    TMRUFileList* MRUFileList1;
    TTreeScanner* TreeScanner;
    TTimer* ActivityTimer;
    TTimer* DragTimer;

    // --- program-wide state ---
    bool Closing = false;  // shut-down accepted: no new blank picture
    int NewWidth = 416, NewHeight = 312;
    int ActivityTicks = 0;  // 0..2: every third tick advances the ants

    // --- start-up and shut-down (mainform_startup.cpp) ---
    void FormCreate(TObject* Sender);
    // False when no picture could be opened: the program ends.
    bool StartUp(int argc, char** argv);
    void ShutDownRequest(TObject* Sender, bool& CanClose);
    void LoadSettings();
    void SaveSettings();
    // Once started (UM_STARTED): the tool windows' stored places.
    void RestoreToolbarPositions();

    // --- messages (mainform_messages.cpp) ---
    void WndProc(TMessage& Message) override;
    void StartMessage(TMessage& Message);
    void ComponentMessage(TMessage& Message);
    void WMGetMinMaxInfo(TMessage& Message);
    void WMMoving(TMessage& Message);
    // Image windows hidden when the program was minimised come back.
    void ApplicationMinimized(bool minimized);

    // --- zoom (mainform_zoom.cpp) ---
    double GetZoom() const;
    void SetZoom(double factor);
    unsigned long GetZoomCode() const;
    void ZoomClick(TObject* Sender, TUDBtnType Button);
    void UpdateView();
    void ShowZoomPosition(int position);

    // --- window menu and forwarding handlers (mainform_window.cpp) ---
    void WindowMenuClick(TObject* Sender);
    void ActivateImageMenuItem(TObject* Sender);
    void PrevImage1Click(TObject* Sender);
    void NextImage1Click(TObject* Sender);
    void Cascade1Click(TObject* Sender);
    void FitToImage1Click(TObject* Sender);
    void ToolbarVisibClick(TObject* Sender);
    void PaletteVisibClick(TObject* Sender);
    void Contents1Click(TObject* Sender);
    void FitMainWindowToDock();
    void SetToolbarsFloatingMode(bool onTopOfMainForm);
    // OnMove of the floating tool windows: snaps them to the screen's edges,
    // under the main window and beside the image windows.
    void ToolPanelMove(TObject* Sender);
    // The option bars' service for the grid bar: shown in the bottom dock's
    // second row with the controls the user level reaches; hidden, it and
    // its controls are disabled.
    void ShowGridBar(bool shown);
    void ActivateIconFunc(TObject* Sender);

    // --- spray, pipette and grid (mainform_toolbox.cpp) ---
    void ResizeSprayClick(TObject* Sender);
    void SetGridOrigin(TObject* Sender);
    void SetGridDeltaFromBrush(TObject* Sender);
    TSpeedButton* GridBarButton(const char* name, int left);
    void TranslateGridBar();
    GridSettings GetGridSettings();
    // The origin button on the grid bar, and the services of toolbox_host.h.
    void InstallToolBoxServices();
    void UninstallToolBoxServices();  // they reach this window
    // --- the tools' option handlers (mainform_toolhandlers.cpp) ---
    // A line, curve or outline option changed: the feedback follows it.
    void LineParamChange(TObject* Sender);
    // The pattern fill's origin button: the next click places the origin.
    void SetFillOrigin(TObject* Sender);
    void BindToolOptionHandler(int index, int handler);
    // --- the fixed cut rectangle's size controls (mainform_cut.cpp) ---
    void ResetSizeClick(TObject* Sender);
    void CutSizeChanged(TObject* Sender);
    void DoubleAreaClick(TObject* Sender);
    void HalveAreaClick(TObject* Sender);

    // --- rotate and stretch the picture (mainform_xform.cpp) ---
    TMenuItem *Rotate1 = nullptr, *StretchMirror1 = nullptr;
    void Rotate1Click(TObject* Sender);
    void StretchMirror1Click(TObject* Sender);
    void FilterPreviewBtnClick(TObject* Sender);
    void FilterOkBtnClick(TObject* Sender);
    void StretchXChange(TObject* Sender);
    void StretchYChange(TObject* Sender);
    void StretchPercXChange(TObject* Sender);
    void StretchPercYChange(TObject* Sender);
    // False for a handler that is not one of these.
    bool BindTransformOptionHandler(int index, int handler);

    // --- printing (mainform_print.cpp) ---
    TMenuItem *Print1 = nullptr, *PrinterSetup1 = nullptr;
    void Print1Click(TObject* Sender);
    void PrinterSetup1Click(TObject* Sender);

    // --- preferences (mainform_prefs.cpp) ---
    void PrefsMenuClick(TObject* Sender);
    // A plug-in filter's menu item: its tag is the filter's index.
    void AdobePlugInClick(TObject* Sender);
    void RescanAdobePlugIns();
    // Filter components (mainform_components.cpp): the scan when "UseKSC"
    // is on and none has run, else showing or hiding their menus.
    void RescanComponents();
    void ComponentMenuClick(TObject* Sender);
    void ComponentBrowseClick(TObject* Sender);
    // After a language change: the width for the menu bar, the image
    // windows' captions and toggle hints, the grid bar's button.
    void RetranslateMenus();

    // --- new picture, information, scanning, palette files and desktop
    // pictures (newform.cpp, infoform.cpp, scanning.cpp,
    // palette_commands.cpp, desktop_images.cpp, mainform_infomenus.cpp) ---
    TMenuItem *New1, *Info1, *LoadPalette, *SavePalette, *Desktop1;
    TMenuItem *Import1, *Import2, *Import3, *Import4;
    void New1Click(TObject* Sender);
    // A window for a picture of NewWidth x NewHeight in the background
    // colour, shown; EAbort when none could be made ("NoMem" was shown).
    TImageForm* NewImageWindow();
    // Image > Crop: the selection as a new picture.
    void Crop2Click(TObject* Sender);
    void Info1Click(TObject* Sender);
    void SelectSource1Click(TObject* Sender);
    void Acquire1Click(TObject* Sender);
    void LoadPaletteClick(TObject* Sender);
    void SavePaletteClick(TObject* Sender);
    // The submenu opens: each Import item is enabled when its file reads.
    void Desktop1Click(TObject* Sender);
    void Import1Click(TObject* Sender);
    void Export1Click(TObject* Sender);
    void Import2Click(TObject* Sender);
    void Export2Click(TObject* Sender);
    void Import3Click(TObject* Sender);
    void Export3Click(TObject* Sender);
    void Import4Click(TObject* Sender);
    void Export4Click(TObject* Sender);

private:
    void AddPictureMenuItems();

    void BuildMenus();
    void BuildEditMenu();
    void BuildBrushMenu();
    void LinkEditCommands();
    void DeleteSelection(const char* stepName);
    bool EditKeysTaken();
    TToolbar* NewToolWindow(const char* name, const char* caption, TMenuItem* TMainForm::*viewItem);
    void BuildToolbar();
    void BuildPalettebar();
    void BuildOptionBars();
    void LayOutToolPanel();
    void SizeToMenuBar();
    void InstallLinks();
    void OpenFirstPictures(int argc, char** argv);
    // A blank picture of the new-picture size in the background colour,
    // shown and marked fresh; null when none could be made.
    TImageForm* OpenBlankPicture();
    void GatherMainBars(TImageForm* f);
    void PlaceBarsUnderMainWindow();
    // The tool and palette windows float above the main window.
    void FloatMainBars();
    TMenuItem* NewItem(TMenuItem* parent, const char* name, const char* caption, TNotifyEvent onClick);
    void KeepHiddenWindows(bool minimized);

    std::vector<HWND> hiddenOnMinimize_;
    TTimerDragTimer* dragTimer_ = nullptr;
    bool fitting_ = false;
    bool snappingTool_ = false;
    bool formCreated_ = false;
};

extern TMainForm* MainForm;
// The program's folder, with its separator (from argv[0]).
extern AnsiString ProgramDir;
extern TFont* SharedFont;
extern RECT WorkArea;
extern int CaptionHeight;
extern TColor CaptionEndColors[2];
// The browser's folder pictures, from the program's resources (empty
// bitmaps in a program without them).
extern TBitmap* FolderGlyph;
extern TBitmap* ParentFolderGlyph;

// The TWAIN wrapper, looked for at run time (mainform_twain.cpp): false
// when the DLL or its export is missing.
bool TwainAvailable();
// Test seam: the DLL name looked for.
extern const char* TwainLibraryName;

// Progress of long operations (mainform_progress.cpp). Cancel flag: 1 while
// idle, 0 while an operation runs, 1 again when it is cancelled or ends.
extern unsigned char ProgressCancelFlag;
void BeginProgress(int max);
void StepProgress(int pos);
void EndProgress();
// Pixmill's hooks.
void InstallProgressHooks();

#endif
