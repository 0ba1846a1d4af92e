// TInfoForm: facts about the current picture and the brush (name, sizes,
// the file's size and date) and, on request, how many distinct colours
// either holds.
#ifndef KESTREL_INFOFORM_H
#define KESTREL_INFOFORM_H

#include "file_name_label.h"
#include "forms.h"
#include "gradient_caption.h"
#include "stdctrls.h"

class UDBuffer;

const int InfoHelpContext = 1150;

class TInfoForm : public TForm {
public:
    // Filled from the current picture (none: its labels stay at ": -").
    explicit TInfoForm(TComponent* AOwner);
    ~TInfoForm() override;
    TInfoForm(const TInfoForm&) = delete;
    TInfoForm& operator=(const TInfoForm&) = delete;

    void ImgColCntClick(TObject* Sender);
    void BrshColCntClick(TObject* Sender);
    void HelpBtnClick(TObject* Sender);
    // Where the dialog was left is where it opens next.
    void FormDeactivate(TObject* Sender);

    TGradientCaption* Cap;
    TLabel* NameLabel;  // component Name "Name": the language files know it so
    TFileLabel* ImageName;
    TLabel *ImageDim, *ImageCol, *ImageSize, *ImageDate;
    TLabel *BrushDim, *BrushCol;
    TButton *ImgColCnt, *BrshColCnt, *HelpBtn, *OkBtn;

private:
    void ShowPicture(const UDBuffer* pic);
    void ShowCount(TLabel* label, const UDBuffer& pic);
};

// ": " and the value, or ": -" for none.
AnsiString InfoValue(const AnsiString& key, const AnsiString& value);

#endif
