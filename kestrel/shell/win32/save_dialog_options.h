// TSavePlus: the save dialog's options (depth, quality, interlace, colour
// limit, dither, transparency), shown inside SavePicDlg and set up for the
// file type chosen there.
#ifndef KESTREL_SAVE_DIALOG_OPTIONS_H
#define KESTREL_SAVE_DIALOG_OPTIONS_H

#include "comctrls.h"
#include "extctrls.h"
#include "forms.h"
#include "gfxfile.h"
#include "picturefiles.h"
#include "spinedit.h"
#include "stdctrls.h"
#include "file_dialog_with_controls.h"
#include "picture_document.h"

class TSavePlus : public TForm {
public:
    explicit TSavePlus(TComponent* AOwner);

    TSaveDialogEx* SavePicDlg;
    TPanel* OptionsPanel;  // the one windowed control the dialog hosts
    TRadioButton* TC24RB;
    TRadioButton* HC16RB;
    TRadioButton* HC15RB;
    TRadioButton* B8RB;
    TRadioButton* B4RB;
    TRadioButton* GSRB;
    TRadioButton* MCRB;
    TRadioButton* ADRB;
    TLabel* QualityLab;
    TTrackBar* Quality;
    TLabel* QualityVal;
    TCheckBox* MultiPass;
    TCheckBox* LimitColsCB;
    TSpinEdit* LimitCols;
    TCheckBox* Dither;
    TCheckBox* Transparent;

    // The picture being saved: its parameters seed the options.
    UDBuffer* Picture = nullptr;
    // Set by SavePicDlgFileOk: the caller shows the dialog again, with
    // FoundIndex (when not 0) as the type.
    bool ShowAgain = false;
    int FoundIndex = 0;

    void SavePicDlgTypeChange(TObject* Sender);
    void BPPClick(TObject* Sender);
    void LimitColsCBClick(TObject* Sender);
    void QualityChange(TObject* Sender);
    bool SavePicDlgFileOk(TObject* Sender);

    TRadioButton* DepthButton(SaveDepth depth) const;
    // The checked depth button; DepthCount when none is.
    SaveDepth CheckedDepth() const;
    // The selected type (1-based among writable formats).
    int SelectedType() const;
    // The parameters the options say, on top of base.
    GFXSaveParams ReadParams(const GFXSaveParams& base) const;

private:
    void BuildControls();
    TRadioButton* AddDepth(const char* name, const char* caption, int left, int top);
    void SetUpFor(GFXFile* format);
};

extern TSavePlus* SavePlus;

#endif
