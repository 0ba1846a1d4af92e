#include "tipform.h"

#include <cstdio>
#include <memory>
#include "appsettings.h"
#include "application.h"
#include "formbuilder.h"
#include "mainform.h"
#include "messages.h"
#include "smalldialog.h"
#include "tipfile.h"

namespace {

TDialogPlace lastPlace;

bool TipFileOpens()
{
    std::FILE* f = std::fopen(TipFilePath().c_str(), "r");
    if (!f) return false;
    std::fclose(f);
    return true;
}

}  // namespace

AnsiString TipFilePath()
{
    AnsiString name = Translate("TODFile");
    if (name == "TODFile") name = "tips.txt";
    return ProgramDir + name;
}

TTipForm::TTipForm(TComponent* AOwner) : TForm(AOwner)
{
    SetName("TipForm");
    SetCaption("Tip of the Day");
    SetBorderStyle(bsDialog);
    SetClientWidth(400);
    SetClientHeight(206);
    Cap = new TGradientCaption(this);
    Cap->SetName("Cap");

    TipPanel = New<TPanel>(this, this, 8, 8, 384, 150);
    TipPanel->SetName("TipPanel");
    TipPanel->SetBevelOuter(bvLowered);
    TipPanel->SetCaption("");
    TipPanel->SetColor(clWindow);
    DidYouKnow = NewLabel(this, TipPanel, "Did you know...", 12, 10);
    DidYouKnow->SetName("DidYouKnow");
    DidYouKnow->GetFont()->SetStyle(fsBold);
    TipText = new TLabel(this);
    TipText->SetName("TipText");
    TipText->SetAutoSize(false);
    TipText->SetWordWrap(true);
    TipText->SetShowAccelChar(false);
    TipText->SetBounds(12, 36, 360, 104);
    TipText->SetCaption("");
    TipText->SetParent(TipPanel);

    ShowTipsCB = NewCheckBox(this, this, "&Show tips at start", 8, 172, 150, 17, AppSettings.ShowTOD);
    ShowTipsCB->SetName("ShowTipsCB");
    NextTipBtn = NewButton(this, this, "&Next Tip", 164, 168, 72, 25, [this](TObject* s) { NextTipBtnClick(s); });
    NextTipBtn->SetName("NextTipBtn");
    HelpBtn = NewButton(this, this, "&Help", 242, 168, 72, 25, [this](TObject* s) { HelpBtnClick(s); });
    HelpBtn->SetName("HelpBtn");
    CloseBtn = NewButton(this, this, "&Close", 320, 168, 72, 25);
    CloseBtn->SetName("CloseBtn");
    CloseBtn->SetDefault(true);
    CloseBtn->SetCancel(true);
    CloseBtn->SetModalResult(mrOk);

    PrepareSmallDialog(this, Cap, lastPlace);
    NextTipBtnClick(this);
}

TTipForm::~TTipForm()
{
    AppSettings.ShowTOD = ShowTipsCB->GetChecked();
    RememberDialogPlace(this, lastPlace);
}

void TTipForm::NextTipBtnClick(TObject*)
{
    TipOfTheDay tip;
    hasTips_ = ReadTipOfTheDay(TipFilePath(), AppSettings.TODIndex, tip);
    if (!hasTips_) {
        TranslatedMessageBox("NoTOD", "Err", MsgIconWarning);
        return;
    }
    SetHelpContext(tip.context);
    HelpBtn->SetEnabled(tip.context != 0);
    TipText->SetCaption(tip.text);
}

void TTipForm::HelpBtnClick(TObject*)
{
    if (GetHelpContext() != 0) Application->HelpContext(GetHelpContext());
}

void RunTipOfTheDay(TComponent* owner, bool quiet)
{
    if (quiet && !TipFileOpens()) return;
    std::unique_ptr<TTipForm> form(NewForm<TTipForm>(owner));
    if (form->HasTips()) form->ShowModal();
}
