// The filter factory: the tool P_FF_filter and its dialog TFFactForm, where
// three formulas, eight sliders and a live thumbnail make a filter that is
// previewed on the picture, applied with one undo step, kept in formula
// files and built into filter components.
#ifndef KESTREL_FFACTFORM_H
#define KESTREL_FFACTFORM_H

#include "buffer.h"
#include "dialogs.h"
#include "forms.h"
#include "formula_code.h"
#include "formula_set.h"
#include "picture_document.h"
#include "stdctrls.h"
#include "tool.h"

#include <memory>

class TBuffer;

class P_FF_filter : public P_icon {
public:
    P_FF_filter();
    UDBuffer saved;                       // the untouched picture
    UDBuffer* picture = nullptr;          // the picture being filtered
    unsigned char previewUpToDate = 0;
    unsigned char restoreOnDeactivate = 0;

    void Click() override;
    void Activate() override;
    void Deactivate(P_icon* next) override;
};
extern P_FF_filter FF_filter;

// What the dialog keeps for the program's run.
FormulaSet& FilterFactorySet();

class TFFactForm : public TForm {
public:
    explicit TFFactForm(TComponent* AOwner);
    ~TFFactForm() override;

    TMemo* Channel[3];          // RedCh, GreenCh, BlueCh
    TLabel* Syntax[3];          // RedSyntax, GreenSyntax, BlueSyntax
    TEdit* Texts[4];            // Category, Title, Author, Copyright
    TEdit* SliderName[8];
    TScrollBar* Slider[8];
    TLabel* SliderValue[8];
    TBuffer* InstPreviewBuf;
    TCheckBox* InstPreview;
    TButton *OkBtn, *PreviewBtn, *CancelBtn, *LoadBtn, *SaveBtn, *MakeBtn, *HelpBtn;
    TOpenDialog* FFLoadDlg;
    TSaveDialog* FFSaveDlg;
    TSaveDialog* KSCSaveDlg;
    bool running = false;
    bool releaseAfterRun = false;  // the tool went while a run was going on
    int runs = 0;               // picture runs so far, for the tests

    void ChChange(TObject* Sender);
    void PreviewBtnClick(TObject* Sender);
    void OkBtnClick(TObject* Sender);
    void CancelBtnClick(TObject* Sender);
    void LoadBtnClick(TObject* Sender);
    void SaveBtnClick(TObject* Sender);
    void MakeBtnClick(TObject* Sender);
    void HelpBtnClick(TObject* Sender);
    void SyntaxClick(int channel);

    // Memo and edit texts into the kept set, and back.
    void StoreTexts();
    void ShowTexts();
    void BuildThumbnails();
    FormulaCode& Code() { return *code_; }
    const FormulaCompilation& Compilation() const { return compilation_; }

private:
    std::unique_ptr<FormulaCode> code_;
    FormulaCompilation compilation_{};
    Buffer thumbSource_, thumbTarget_;
    bool loading_ = false;

    void BuildSliders();
    void BuildMemos();
    void BuildTexts();
    void BuildButtons();
    void BuildFileDialogs();
    void SliderChange(int index);
    void RunThumbnail();
    void EnableControls(bool enable);
    void FormKeyDown(TObject* Sender, unsigned short& Key, TShiftState Shift);
};
extern TFFactForm* FFactForm;

#endif
