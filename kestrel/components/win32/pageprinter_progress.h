// TPPPrnPrgDlg: the page printer's progress dialog while pages go to the
// printer, with a Cancel button that asks the page printer to stop.
#ifndef KESTREL_PAGEPRINTER_PROGRESS_H
#define KESTREL_PAGEPRINTER_PROGRESS_H

#include "comctrls.h"
#include "extctrls.h"
#include "forms.h"
#include "stdctrls.h"

class TPagePrinter;

class TPPPrnPrgDlg : public TForm {
public:
    TPPPrnPrgDlg(TComponent* AOwner, TPagePrinter* printer);

    TBevel* Bevel1;
    TLabel* lblStatus;
    TLabel* lblPageNumber;
    TProgressBar* ProgBar;
    TButton* btnCancel;

    void btnCancelClick(TObject* Sender);
    // Without a Cancel button the dialog is shorter.
    void HideCancel();

private:
    TPagePrinter* printer_;
};

// "Page 2", and when the range starts at page 1 " of 3" and, with several
// copies, " x 2 Copies".
AnsiString ProgressPageText(int page, int first, int last, int copies);

#endif
