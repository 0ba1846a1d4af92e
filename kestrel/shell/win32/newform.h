// TNewForm: the size of a new picture, 1 to 16384 pixels each way.
#ifndef KESTREL_NEWFORM_H
#define KESTREL_NEWFORM_H

#include "forms.h"
#include "gradient_caption.h"
#include "spinedit.h"
#include "stdctrls.h"

const int NewHelpContext = 1110;
const int NewPictureMaxSide = 16384;

class TNewForm : public TForm {
public:
    explicit TNewForm(TComponent* AOwner);
    ~TNewForm() override;
    TNewForm(const TNewForm&) = delete;
    TNewForm& operator=(const TNewForm&) = delete;

    void HelpBtnClick(TObject* Sender);

    TGradientCaption* Cap;
    TLabel *WidthLabel, *HeightLabel;
    TSpinEdit *SizeX, *SizeY;
    TButton *OkBtn, *CancelBtn, *HelpBtn;
};

#endif
