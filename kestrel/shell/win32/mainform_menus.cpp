// The main menu, built in code. Items whose commands live in units not yet
// in the program are left out rather than shown doing nothing.
#include "mainform.h"

#include "aboutpanel.h"
#include "browseform.h"
#include "customfilter.h"
#include "ffactform.h"
#include "limitcolors.h"
#include "paintkit.h"
#include "picturefiles_win32.h"
#include "tipform.h"
#include "toolmanager.h"

TMenuItem* TMainForm::NewItem(TMenuItem* parent, const char* name, const char* caption, TNotifyEvent onClick)
{
    TMenuItem* item = new TMenuItem(this);
    if (name && *name) item->SetName(name);
    item->SetCaption(caption);
    item->OnClick = onClick;
    parent->Add(item);
    return item;
}

void TMainForm::BuildMenus()
{
    MainMenu1 = new TMainMenu(this);
    MainMenu1->SetName("MainMenu1");
    TMenuItem* top = MainMenu1->GetItems();
    File1 = NewItem(top, "File1", "&File", nullptr);
    Edit1 = NewItem(top, "Edit1", "&Edit", nullptr);
    Brush1 = NewItem(top, "Brush1", "&Brush", nullptr);
    Image1 = NewItem(top, "Image1", "&Image", nullptr);
    View1 = NewItem(top, "View1", "&View", nullptr);
    Window1 = NewItem(top, "Window1", "&Window", [this](TObject* s) { WindowMenuClick(s); });
    Help1 = NewItem(top, "Help1", "&Help", nullptr);

    TMenuItem* open = NewItem(File1, "Open1", "&Open...", [this](TObject*) { OpenImageClick(this, false); });
    open->SetShortCut(ShortCut('O', ssCtrl));
    NewItem(File1, "Save1", "&Save", [this](TObject*) { SavePicture(this); });
    NewItem(File1, "SaveAs1", "Save &As...", [this](TObject*) { SavePictureAs(this, false); });
    NewItem(File1, "Browse1", "&Browse...", [this](TObject* s) { Browse1Click(s); });
    NewItem(File1, "Close1", "&Close", [](TObject* s) { Close1Click(s); });
    NewItem(File1, "CloseAll1", "C&lose All", [](TObject* s) { CloseAll1Click(s); });
    NewItem(File1, "", "-", nullptr);
    Print1 = NewItem(File1, "Print1", "&Print...", [this](TObject* s) { Print1Click(s); });
    PrinterSetup1 = NewItem(File1, "PrinterSetup1", "P&rinter Setup...", [this](TObject* s) { PrinterSetup1Click(s); });
    NewItem(File1, "", "-", nullptr);
    SelectSource1 = NewItem(File1, "SelectSource1", "Select &Source...", nullptr);
    Acquire1 = NewItem(File1, "Acquire1", "&Acquire...", nullptr);
    NewItem(File1, "", "-", nullptr);
    PrefsMenu = NewItem(File1, "PrefsMenu", "Pre&ferences...", [this](TObject* s) { PrefsMenuClick(s); });
    NewItem(File1, "", "-", nullptr);
    Exit1 = NewItem(File1, "Exit1", "E&xit", [this](TObject*) { ::Exit1Click(this); });

    BuildEditMenu();
    BuildBrushMenu();

    Crop2 = NewItem(Image1, "Crop2", "Crop to Selectio&n", [this](TObject* s) { Crop2Click(s); });
    Paint1 = NewItem(Image1, "Paint1", "&Paint", [](TObject*) {
        SetPaintModeP();
        RefreshOutline(true, true);
    });
    Color1 = NewItem(Image1, "Color1", "&Color", [](TObject*) {
        SetPaintModeC();
        RefreshOutline(true, true);
    });
    Replace1 = NewItem(Image1, "Replace1", "&Replace", [](TObject*) {
        SetPaintModeR();
        RefreshOutline(true, true);
    });
    NewItem(Image1, "", "-", nullptr);
    Rotate1 = NewItem(Image1, "Rotate1", "R&otate...", [this](TObject* s) { Rotate1Click(s); });
    StretchMirror1 =
        NewItem(Image1, "StretchMirror1", "&Stretch/Mirror...", [this](TObject* s) { StretchMirror1Click(s); });
    NewItem(Image1, "FilterFactory1", "&Filter Factory", [](TObject*) { SelectTool(&FF_filter, true, -1); })
        ->SetShortCut(ShortCut('F', ssCtrl));
    NewItem(Image1, "CustomFilter1", "C&ustom Filter", [](TObject*) { SelectTool(&CustomFilterTool, true, -1); });
    NewItem(Image1, "LimitColors1", "&Limit Colors...", [this](TObject*) { RunLimitColors(this, PaletteHolder); });

    ToolbarVisib = NewItem(View1, "ToolbarVisib", "&Tools", [this](TObject* s) { ToolbarVisibClick(s); });
    PaletteVisib = NewItem(View1, "PaletteVisib", "&Palette", [this](TObject* s) { PaletteVisibClick(s); });

    Cascade1 = NewItem(Window1, "Cascade1", "&Cascade", [this](TObject* s) { Cascade1Click(s); });
    FitToImage1 = NewItem(Window1, "FitToImage1", "&Fit to Image", [this](TObject* s) { FitToImage1Click(s); });
    PrevImage1 = NewItem(Window1, "PrevImage1", "P&revious", [this](TObject* s) { PrevImage1Click(s); });
    NextImage1 = NewItem(Window1, "NextImage1", "&Next", [this](TObject* s) { NextImage1Click(s); });
    NewItem(Window1, "", "-", nullptr);
    WindowMenuFixed = Window1->GetCount();

    Contents1 = NewItem(Help1, "Contents1", "&Contents", [this](TObject* s) { Contents1Click(s); });
    Tod1 = NewItem(Help1, "Tod1", "&Tip of the Day...", [this](TObject* s) { Tod1Click(s); });
    NewItem(Help1, "", "-", nullptr);
    Homepage = NewItem(Help1, "Homepage", "Kestrel on the &Web", [this](TObject* s) { HomepageClick(s); });
    About1 = NewItem(Help1, "About1", "&About Kestrel...", [this](TObject* s) { About1Click(s); });
    AddPictureMenuItems();
    SetMenu(MainMenu1);
}

void TMainForm::Tod1Click(TObject* Sender) { RunTipOfTheDay(this, Sender == nullptr); }

void TMainForm::HomepageClick(TObject*) { OpenHomePage(); }

void TMainForm::Browse1Click(TObject*) { RunImageBrowser(this); }

void TMainForm::About1Click(TObject*)
{
    TAboutPanel* panel = NewForm<TAboutPanel>(this);
    panel->SetPosition(poScreenCenter);
    panel->Show();
}
