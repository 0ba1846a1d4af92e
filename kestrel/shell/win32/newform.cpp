// The new-picture dialog, the File menu's New and the window every new
// picture (new, scanned) opens in.
#include "newform.h"

#include <memory>

#include "application.h"
#include "appsettings.h"
#include "formbuilder.h"
#include "imageform.h"
#include "imagetitle.h"
#include "mainform.h"
#include "paintkit_host.h"
#include "smalldialog.h"
#include "toolmanager.h"

namespace {

TDialogPlace lastPlace;

TSpinEdit* SizeEdit(TNewForm* form, const char* name, int y)
{
    TSpinEdit* edit = New<TSpinEdit>(form, form, 90, y, 90, 22);
    edit->SetName(name);
    edit->SetMinValue(1);
    edit->SetMaxValue(NewPictureMaxSide);
    return edit;
}

}  // namespace

TNewForm::TNewForm(TComponent* AOwner) : TForm(AOwner)
{
    SetName("NewForm");
    SetCaption("New Picture");
    SetBorderStyle(bsDialog);
    SetClientWidth(282);
    SetClientHeight(84);
    Cap = new TGradientCaption(this);
    Cap->SetName("Cap");
    WidthLabel = NewLabel(this, this, "&Width:", 8, 12);
    WidthLabel->SetName("WidthLabel");
    HeightLabel = NewLabel(this, this, "H&eight:", 8, 46);
    HeightLabel->SetName("HeightLabel");
    SizeX = SizeEdit(this, "SizeX", 8);
    SizeY = SizeEdit(this, "SizeY", 42);
    WidthLabel->SetFocusControl(SizeX);
    HeightLabel->SetFocusControl(SizeY);
    OkBtn = NewButton(this, this, "OK", 196, 6, 78, 23);
    OkBtn->SetName("OkBtn");
    OkBtn->SetDefault(true);  // Enter confirms
    OkBtn->SetModalResult(mrOk);
    CancelBtn = NewButton(this, this, "Cancel", 196, 32, 78, 23);
    CancelBtn->SetName("CancelBtn");
    CancelBtn->SetCancel(true);  // Escape cancels
    CancelBtn->SetModalResult(mrCancel);
    HelpBtn = NewButton(this, this, "&Help", 196, 58, 78, 23, [this](TObject* s) { HelpBtnClick(s); });
    HelpBtn->SetName("HelpBtn");
    SetHelpContext(NewHelpContext);
    PrepareSmallDialog(this, Cap, lastPlace);
}

TNewForm::~TNewForm() { RememberDialogPlace(this, lastPlace); }

void TNewForm::HelpBtnClick(TObject*) { Application->HelpContext(GetHelpContext()); }

void TMainForm::New1Click(TObject*)
{
    SuspendTool();
    try {
        std::unique_ptr<TNewForm> form(NewForm<TNewForm>(this));
        form->SizeX->SetValue(NewWidth);
        form->SizeY->SetValue(NewHeight);
        if (form->ShowModal() == mrOk) {
            NewWidth = static_cast<int>(form->SizeX->GetValue());
            NewHeight = static_cast<int>(form->SizeY->GetValue());
            form.reset();
            NewImageWindow();
        }
    } catch (Exception&) {
        // A window that could not be made has told the user why.
    }
    ResumeTool();
}

TImageForm* TMainForm::NewImageWindow()
{
    bool wasMaximised = CurrentImageForm && CurrentImageForm->GetWindowState() == wsMaximized;
    TImageForm* f = CreateImageWindow(NewWidth, NewHeight, "");
    if (!f) throw EAbort();  // "NoMem" was shown
    f->Picture.Box(f->Picture.GetRect(), BackColour());
    UpdateView();
    if (wasMaximised) {
        f->SetWindowState(wsMaximized);
        GatherMainBars(f);
        // Bars docked in the old window would be hidden behind the new one.
        if (Toolbar->GetVisible() && Toolbar->GetDockedTo()) Toolbar->SetDockedTo(f->LeftDock);
        if (Palettebar->GetVisible() && Palettebar->GetDockedTo()) Palettebar->SetDockedTo(f->RightDock);
    }
    f->UpdateCaption(CaptionAuto);
    f->Show();
    return f;
}
