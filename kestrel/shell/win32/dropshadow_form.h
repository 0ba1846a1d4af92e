// TDropShForm: the drop-shadow dialog. The user picks a depth and one of
// four directions; OK (or Enter) gives the brush its shadow, Cancel (or
// Escape) leaves it alone. The dialog opens where it was last left in the
// run.
#ifndef KESTREL_DROPSHADOW_FORM_H
#define KESTREL_DROPSHADOW_FORM_H

#include "forms.h"
#include "gradient_caption.h"
#include "spinedit.h"
#include "stdctrls.h"

class TDropShForm : public TForm {
public:
    // Built, translated and placed (what the form's OnCreate does).
    explicit TDropShForm(TComponent* AOwner);
    // Keeps the dialog's place for the next opening.
    ~TDropShForm() override;
    TDropShForm(const TDropShForm&) = delete;
    TDropShForm& operator=(const TDropShForm&) = delete;

    void FormKeyDown(TObject* Sender, unsigned short& Key, TShiftState Shift);
    void OkBtnClick(TObject* Sender);
    void CancelBtnClick(TObject* Sender);
    void HelpBtnClick(TObject* Sender);

    TGradientCaption* Cap;
    TLabel *ShDepthLab, *ShDirLab;
    TSpinEdit* ShDepth;
    TComboBox* ShDir;
    TButton *OkBtn, *CancelBtn, *HelpBtn;
};

// Shows the dialog modally; true when it closed with OK.
bool RunDropShadowDialog(TComponent* owner);

#endif
