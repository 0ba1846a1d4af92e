#include "mainform.h"

#include "cut_tools.h"

#include "dragtimer_win32.h"
#include "imageform.h"
#include "optionbar_view.h"
#include "picturefiles_win32.h"
#include "textform.h"
#include "undo_history.h"
#include "undoform.h"

TMainForm* MainForm = nullptr;

namespace {
// The glyph from the program's bitmap resource, when it has it, and the hint
// that names the button until the pointer over it names the step.
void GiveStepButtonLook(TToolbarButton* button, const char* glyphRes, bool redo)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    if (FindResourceA(instance, glyphRes, RT_BITMAP)) {
        TBitmap glyph;
        glyph.LoadFromResourceName(instance, glyphRes);
        button->SetGlyph(&glyph);
    }
    button->SetHint(UndoButtonHint(nullptr, redo));
    button->SetShowHint(true);
}
}  // namespace

TMainForm::TMainForm(TComponent* AOwner) : TForm(AOwner)
{
    SetName("MainForm");
    SetCaption("Kestrel");
    SetKeyPreview(true);
    Cap = new TGradientCaption(this);
    Cap->SetName("Cap");
    ActivityTimer = new TTimer(this);
    ActivityTimer->SetName("ActivityTimer");
    ActivityTimer->SetInterval(50);
    ActivityTimer->OnTimer = [this](TObject* s) { ActivateIconFunc(s); };
    DragTimer = new TTimer(this);
    DragTimer->SetName("DragTimer");
    DragTimer->SetEnabled(false);
    DragTimer->SetInterval(300);
    dragTimer_ = new TTimerDragTimer(DragTimer);
    TreeScanner = new TTreeScanner(this);
    TreeScanner->SetName("TreeScanner");
    BuildMenus();
    MRUFileList1 = new TMRUFileList(this);
    MRUFileList1->SetName("MRUFileList1");
    MRUFileList1->SetMaximum(8);
    MRUFileList1->SetRemoveOnClick(false);
    MRUFileList1->SetSubmenuName("Reopen");
    MRUFileList1->SetAutoSaveName("\\Software\\Corvane\\KS");
    MRUFileList1->SetAutoSaveKey("MRU Items");
    MRUFileList1->SetFileMenu(File1);
    MRUFileList1->OnMRUItemClick = [](TObject* s, const AnsiString& entry) { MRUFileList1MRUItemClick(s, entry); };
    Dock = new TDock(this);
    Dock->SetName("Dock");
    Dock->SetParent(this);
    Dock->SetPosition(dpBottom);
    // Its bars belong to the current tool: not dragged out, nor stored by dock.
    Dock->SetAllowDrag(false);
    BuildToolbar();
    BuildPalettebar();
    BuildOptionBars();
    // Keys pressed while the main window has the focus paint as in a picture.
    OnKeyDown = [](TObject* s, WORD& key, TShiftState shift) {
        if (CurrentImageForm) CurrentImageForm->HotKeys(s, key, shift);
    };
    OnKeyUp = [](TObject* s, WORD& key, TShiftState shift) {
        if (CurrentImageForm) CurrentImageForm->FormKeyUp(s, key, shift);
    };
    // No OnCreate: the window was made above, for the tool windows, so
    // StartUp runs FormCreate itself.
    OnCloseQuery = [this](TObject* s, bool& canClose) { ShutDownRequest(s, canClose); };
}

TMainForm::~TMainForm()
{
    UninstallToolBoxServices();
    GetSelectionEnabler = nullptr;
    delete dragTimer_;
    InstallTextDialog(nullptr, nullptr);
    delete SharedFont;
    SharedFont = nullptr;
    if (MainForm == this) MainForm = nullptr;
}

// A tool window that floats until a picture window or the saved positions
// dock it; closing it unchecks its View item.
TToolbar* TMainForm::NewToolWindow(const char* name, const char* caption, TMenuItem* TMainForm::*viewItem)
{
    TToolbar* bar = new TToolbar(this);
    bar->SetName(name);
    bar->SetCaption(caption);
    bar->SetCloseButton(true);
    // Tall bars: they dock at the sides only, and float above every window.
    bar->SetDockableTo(DockableBit(dpLeft) | DockableBit(dpRight));
    bar->SetFloatingMode(fmOnTopOfAllForms);
    bar->OnClose = [this, viewItem](TObject*) { (this->*viewItem)->SetChecked(false); };
    bar->SetParent(this);
    bar->SetVisible(true);
    return bar;
}

void TMainForm::BuildToolbar()
{
    Toolbar = NewToolWindow("Toolbar", "Tools", &TMainForm::ToolbarVisib);
    ToolPanel = new TPanel(this);
    ToolPanel->SetName("ToolPanel");
    ToolPanel->SetBevelOuter(bvNone);
    ToolPanel->SetCaption("");
    ToolPanel->SetBounds(0, 0, 56, 140);
    ToolPanel->SetParent(Toolbar);
    DummyPopup = new TPopupMenu(this);
    DummyPopup->SetName("DummyPopup");
    UndoBtn = new TToolbarButton(this);
    UndoBtn->SetName("UndoBtn");
    UndoBtn->SetBounds(0, 56, 28, 28);
    UndoBtn->SetParent(ToolPanel);
    RedoBtn = new TToolbarButton(this);
    RedoBtn->SetName("RedoBtn");
    RedoBtn->SetBounds(28, 56, 28, 28);
    RedoBtn->SetParent(ToolPanel);
    UndoBtn->SetDropdownMenu(DummyPopup);
    RedoBtn->SetDropdownMenu(DummyPopup);
    GiveStepButtonLook(UndoBtn, "UNDO", false);
    GiveStepButtonLook(RedoBtn, "REDO", true);
    UndoBtn->OnMouseMove = [this](TObject*, TShiftState, int, int) { UndoBtnMouseMove(UndoBtn); };
    RedoBtn->OnMouseMove = [this](TObject*, TShiftState, int, int) { RedoBtnMouseMove(RedoBtn); };
    DummyPopup->OnPopup = [this](TObject*) { DummyPopupPopup(DummyPopup, UndoBtn, RedoBtn); };
    ZoomIcon = new TImage(this);
    ZoomIcon->SetName("ZoomIcon");
    ZoomIcon->SetBounds(2, 88, 16, 16);
    ZoomIcon->SetParent(ToolPanel);
    ZoomLabel = new TLabel(this);
    ZoomLabel->SetName("ZoomLabel");
    ZoomLabel->SetBounds(18, 89, 22, 14);
    ZoomLabel->SetCaption("1");
    ZoomLabel->SetParent(ToolPanel);
    Zoom = new TUpDown(this);
    Zoom->SetName("Zoom");
    Zoom->SetBounds(40, 86, 15, 20);
    Zoom->SetMin(-4);
    Zoom->SetMax(32);
    Zoom->SetPosition(1);
    Zoom->SetParent(ToolPanel);
    Zoom->OnClick = [this](TObject* s, TUDBtnType b) { ZoomClick(s, b); };
}

void TMainForm::BuildPalettebar()
{
    Palettebar = NewToolWindow("Palettebar", "Palette", &TMainForm::PaletteVisib);
    DrawCol = new TShape(this);
    DrawCol->SetName("DrawCol");
    DrawCol->SetBounds(0, 0, 24, 24);
    DrawCol->GetBrush()->SetColor(0x000000);
    DrawCol->SetParent(Palettebar);
    BackCol = new TShape(this);
    BackCol->SetName("BackCol");
    BackCol->SetBounds(24, 0, 24, 24);
    BackCol->GetBrush()->SetColor(0xFFFFFF);
    BackCol->SetParent(Palettebar);
    PaletteHolder = new TBuffer(this);
    PaletteHolder->SetName("PaletteHolder");
    PaletteHolder->SetBounds(48, 0, 64, 24);
    PaletteHolder->SetParent(Palettebar);
}

void TMainForm::BuildOptionBars()
{
    OptionToolbar = new TToolbar(this);
    OptionToolbar->SetName("OptionToolbar");
    OptionToolbar->SetParent(Dock);
    OptionToolbarLabel = new TLabel(this);
    OptionToolbarLabel->SetName("OptionToolbarLabel");
    OptionToolbarLabel->SetCaption("");
    OptionToolbarLabel->SetParent(OptionToolbar);
    OptionView = new TOptionBarView(this, OptionToolbar, OptionToolbarLabel);
    // Up only while a tool with a description is current.
    OptionToolbar->SetVisible(false);
    OptionToolbar->SetEnabled(false);
    GridBar = new TToolbar(this);
    GridBar->SetName("GridBar");
    GridBar->SetParent(Dock);
    TSpinEdit** edits[4] = {&GridDx, &GridDy, &GridPx, &GridPy};
    const char* names[4] = {"GridDx", "GridDy", "GridPx", "GridPy"};
    for (int i = 0; i < 4; ++i) {
        TSpinEdit* e = new TSpinEdit(this);
        e->SetName(names[i]);
        e->SetBounds(i * 50, 0, 46, 21);
        e->SetMinValue(i < 2 ? 1 : 0);
        e->SetMaxValue(16384);
        e->SetValue(i < 2 ? 8 : 0);
        e->SetParent(GridBar);
        *edits[i] = e;
    }
    GridBar->SetVisible(false);
}
