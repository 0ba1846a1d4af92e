// File > Print and File > Printer Setup.
#include "mainform.h"

#include <memory>
#include "dialogs.h"
#include "lang.h"
#include "messages.h"
#include "pictureview.h"
#include "printer.h"
#include "printform.h"
#include "toolmanager.h"

namespace {

// A printer that can take the picture as a stretched bitmap. A printer
// that cannot even be opened counts as none.
bool PrinterCanPrintPictures()
{
    TPrinter* printer = Printer();
    if (!printer->HasPrinter()) return false;
    try {
        return (printer->GetDeviceCaps(RASTERCAPS) & RC_STRETCHDIB) != 0;
    } catch (const EPrinter&) {
        return false;
    }
}

}  // namespace

void TMainForm::Print1Click(TObject*)
{
    if (!PrinterCanPrintPictures()) {
        TranslatedMessageBox("NoPrinter", "Err", MsgIconWarning);
        return;
    }
    if (!CurrentPicture) return;
    std::unique_ptr<TPrintForm> form(new TPrintForm(this, CurrentPicture));
    form->SetCaption(Translate("PrintImg") + " " + Printer()->GetPrinterName());
    HideOutline();
    form->ShowModal();
    ShowOutline();
}

void TMainForm::PrinterSetup1Click(TObject*)
{
    if (!Printer()->HasPrinter()) {
        TranslatedMessageBox("NoPrinter", "Err", MsgIconWarning);
        return;
    }
    TPrinterSetupDialog dialog(this);
    try {
        dialog.Execute();
    } catch (const EPrinter&) {
        TranslatedMessageBox("NoPrinter", "Err", MsgIconWarning);
    }
}
