// TLimitColorsForm: the modal "Limit Colors" dialog and the command that
// runs it on the active picture. Its settings are kept for the program's run.
#ifndef KESTREL_LIMITCOLORS_H
#define KESTREL_LIMITCOLORS_H

#include "buffer_view.h"
#include "extctrls.h"
#include "forms.h"
#include "gradient_caption.h"
#include "limitcolors_model.h"
#include "spinedit.h"
#include "stdctrls.h"

class TLimitColorsForm : public TForm {
public:
    // Shows the settings of the last use in this run.
    explicit TLimitColorsForm(TComponent* AOwner);
    ~TLimitColorsForm() override;
    TLimitColorsForm(const TLimitColorsForm&) = delete;
    TLimitColorsForm& operator=(const TLimitColorsForm&) = delete;

    LimitColorsSettings Settings();

    TGradientCaption* Cap;
    TLabel* LimitLabel;
    TSpinEdit* ColorLimit;
    TCheckBox *DitherCB, *SaveBgndCB;
    TRadioGroup* Operation;
    TButton *OkBtn, *CancelBtn, *HelpBtn;
    unsigned char Palette[768];
};

// The Image menu's "Limit Colors" command: the dialog, then on OK the
// chosen operation on CurrentPicture and the palette bar (held by holder).
void RunLimitColors(TComponent* owner, TBuffer* holder);
// The work of OK, without the dialog.
void ApplyLimitColors(const LimitColorsSettings& s, TBuffer* holder);

#endif
