// The custom filter: the tool P_custom_filter and its dialog TCFilterForm,
// a 5x5 grid of weights with a divisor and a bias. Preview convolves the
// picture (or its selection) in place from an untouched copy; OK keeps the
// result as one undo step, Cancel puts the copy back.
#ifndef KESTREL_CUSTOMFILTER_H
#define KESTREL_CUSTOMFILTER_H

#include "convolve.h"
#include "dialogs.h"
#include "forms.h"
#include "gradient_caption.h"
#include "picture_document.h"
#include "spinedit.h"
#include "stdctrls.h"
#include "tool.h"

class TCFilterForm : public TForm {
public:
    explicit TCFilterForm(TComponent* AOwner);
    TCFilterForm(const TCFilterForm&) = delete;
    TCFilterForm& operator=(const TCFilterForm&) = delete;

    // The grid (empty edits are 0) and the spin edits, Div kept in range.
    ConvolveKernel Kernel();
    // The weights into the edits (0 as empty), Div and Bias into the spins.
    void ShowKernel(const ConvolveKernel& k);

    void PreviewBtnClick(TObject* Sender);
    void OkBtnClick(TObject* Sender);
    void CancelBtnClick(TObject* Sender);
    void LoadBtnClick(TObject* Sender);
    void SaveBtnClick(TObject* Sender);

    TGradientCaption* Cap;
    TEdit* Weights[25];
    TLabel *DivLabel, *BiasLabel;
    TSpinEdit *DivFactor, *Bias;
    TButton *OkBtn, *PreviewBtn, *CancelBtn, *LoadBtn, *SaveBtn, *HelpBtn;
    TOpenDialog* FilterLoadDlg;
    TSaveDialog* FilterSaveDlg;

    bool Running = false;
    bool PreviewUpToDate = false;
    bool LastClipping = false;

private:
    void WeightChange(TObject* Sender);
    void WeightExit(TObject* Sender);
    void WeightKeyDown(TObject* Sender, unsigned short& Key, TShiftState Shift);
    void EnableControls(bool on);
    void RunPreview();
};

class P_custom_filter : public P_icon {
public:
    P_custom_filter();
    unsigned char previewDone = 0;          // kept for its place; the form's own flag is the one read
    unsigned char restoreOnDeactivate = 0;  // Cancel: the saved picture goes back
    UDBuffer saved;                         // the picture as it was at activation

    void Click() override;
    void Activate() override;
    void Deactivate(P_icon* next) override;

    TCFilterForm* Form() const { return form_; }

private:
    TCFilterForm* form_ = nullptr;
};

extern P_custom_filter CustomFilterTool;

#endif
