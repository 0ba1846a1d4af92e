#include "pageprinter_progress.h"

#include "formbuilder.h"
#include "pageprinter.h"
#include "screen.h"
#include "sysutils.h"

namespace {

TLabel* CentredLabel(TComponent* owner, TWinControl* parent, int top)
{
    TLabel* label = new TLabel(owner);
    label->SetAutoSize(false);
    label->SetAlignment(taCenter);
    label->SetBounds(16, top, 261, 16);
    label->SetCaption("");
    label->SetParent(parent);
    return label;
}

}  // namespace

TPPPrnPrgDlg::TPPPrnPrgDlg(TComponent* AOwner, TPagePrinter* printer) : TForm(AOwner), printer_(printer)
{
    SetName("PPPrnPrgDlg");
    SetCaption("Print Progress");
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientWidth(293);
    SetClientHeight(133);
    Bevel1 = New<TBevel>(this, this, 8, 8, 277, 82);
    lblStatus = CentredLabel(this, this, 18);
    lblPageNumber = CentredLabel(this, this, 40);
    ProgBar = New<TProgressBar>(this, this, 16, 64, 261, 16);
    ProgBar->SetStep(1);
    btnCancel = NewButton(this, this, "&Cancel", 109, 100, 75, 25, [this](TObject* s) { btnCancelClick(s); });
    btnCancel->SetDefault(true);
    btnCancel->SetCancel(true);
}

void TPPPrnPrgDlg::btnCancelClick(TObject*)
{
    printer_->cancelled_ = true;
}

void TPPPrnPrgDlg::HideCancel()
{
    btnCancel->SetEnabled(false);
    btnCancel->SetVisible(false);
    int ppi = Screen ? Screen->GetPixelsPerInch() : 96;
    SetClientHeight(98 * ppi / 96);
}

AnsiString ProgressPageText(int page, int first, int last, int copies)
{
    AnsiString text = "Page " + IntToStr(page);
    if (first != 1) return text;
    text += " of " + IntToStr(last - first + 1);
    if (copies > 1) text += " x " + IntToStr(copies) + " Copies";
    return text;
}
