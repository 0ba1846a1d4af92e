#include "dropshadow_form.h"

#include <memory>

#include "application.h"
#include "drop_shadow.h"
#include "formbuilder.h"
#include "smalldialog.h"

namespace {
TDialogPlace lastPlace;
}  // namespace

TDropShForm::TDropShForm(TComponent* AOwner) : TForm(AOwner)
{
    SetName("DropShForm");
    SetCaption("Drop Shadow");
    SetBorderStyle(bsDialog);
    SetFormStyle(fsStayOnTop);
    SetKeyPreview(true);
    SetClientWidth(258);
    SetClientHeight(104);
    OnKeyDown = [this](TObject* s, unsigned short& key, TShiftState shift) { FormKeyDown(s, key, shift); };
    Cap = new TGradientCaption(this);
    Cap->SetName("Cap");

    ShDepthLab = NewLabel(this, this, "Depth in Points", 8, 12);
    ShDepthLab->SetName("ShDepthLab");
    ShDepth = New<TSpinEdit>(this, this, 120, 8, 70, 21);
    ShDepth->SetName("ShDepth");
    ShDepth->SetMinValue(MinShadowDepth);
    ShDepth->SetMaxValue(MaxShadowDepth);
    ShDepth->SetIncrement(1);
    ShDepth->SetValue(1);
    ShDirLab = NewLabel(this, this, "Direction", 8, 44);
    ShDirLab->SetName("ShDirLab");
    ShDir = New<TComboBox>(this, this, 120, 40, 130, 21);
    ShDir->SetName("ShDir");
    ShDir->SetStyle(csDropDownList);
    for (const char* direction : {"East", "South-East", "South", "South-West"}) ShDir->GetItems()->Add(direction);
    ShDir->SetItemIndex(ShadowEast);

    OkBtn = NewButton(this, this, "&Ok", 8, 72, 75, 25, [this](TObject* s) { OkBtnClick(s); });
    OkBtn->SetName("OkBtn");
    CancelBtn = NewButton(this, this, "&Cancel", 91, 72, 75, 25, [this](TObject* s) { CancelBtnClick(s); });
    CancelBtn->SetName("CancelBtn");
    HelpBtn = NewButton(this, this, "&Help", 174, 72, 75, 25, [this](TObject* s) { HelpBtnClick(s); });
    HelpBtn->SetName("HelpBtn");

    PrepareSmallDialog(this, Cap, lastPlace);
}

TDropShForm::~TDropShForm() { RememberDialogPlace(this, lastPlace); }

void TDropShForm::FormKeyDown(TObject*, unsigned short& Key, TShiftState)
{
    if (Key == VK_ESCAPE) {
        Key = 0;
        CancelBtnClick(this);
    } else if (Key == VK_RETURN) {
        Key = 0;
        OkBtnClick(this);
    }
}

void TDropShForm::OkBtnClick(TObject*)
{
    DropShadowBrush(int(ShDepth->GetValue()), ShDir->GetItemIndex());
    SetModalResult(mrOk);
}

void TDropShForm::CancelBtnClick(TObject*) { SetModalResult(mrCancel); }

void TDropShForm::HelpBtnClick(TObject*) { Application->HelpContext(GetHelpContext()); }

bool RunDropShadowDialog(TComponent* owner)
{
    std::unique_ptr<TDropShForm> form(NewForm<TDropShForm>(owner));
    return form->ShowModal() == mrOk;
}
